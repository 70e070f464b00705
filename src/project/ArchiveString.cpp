#include "project/ArchiveString.h"

#include <cstdint>
#include <limits>

namespace tw {
namespace {

constexpr std::uint8_t kByteEscape = 0xFF;
constexpr std::uint16_t kWideTag = 0xFFFE;
constexpr std::uint16_t kWordEscape = 0xFFFF;
constexpr std::uint32_t kDoubleWordEscape = 0xFFFFFFFF;
constexpr std::uint64_t kLongestString = std::numeric_limits<std::int32_t>::max();

void writeLength(ByteWriter& out, std::uint64_t length) {
    if (length < kByteEscape) {
        out.writeU8(static_cast<std::uint8_t>(length));
        return;
    }
    out.writeU8(kByteEscape);
    if (length < kWideTag) {
        out.writeU16(static_cast<std::uint16_t>(length));
        return;
    }
    out.writeU16(kWordEscape);
    if (length < kDoubleWordEscape) {
        out.writeU32(static_cast<std::uint32_t>(length));
        return;
    }
    out.writeU32(kDoubleWordEscape);
    out.writeU64(length);
}

/// The 16-bit step of a length and what follows it.
ReadStatus readLongLength(ByteReader& in, std::uint16_t word, std::uint64_t& length) {
    if (word < kWordEscape) {
        length = word;
        return ReadStatus::Ok;
    }
    std::uint32_t doubleWord = 0;
    if (!in.readU32(doubleWord)) {
        return ReadStatus::EndOfData;
    }
    if (doubleWord < kDoubleWordEscape) {
        length = doubleWord;
        return ReadStatus::Ok;
    }
    return in.readU64(length) ? ReadStatus::Ok : ReadStatus::EndOfData;
}

ReadStatus readLength(ByteReader& in, bool& wide, std::uint64_t& length) {
    wide = false;
    std::uint8_t byte = 0;
    if (!in.readU8(byte)) {
        return ReadStatus::EndOfData;
    }
    if (byte < kByteEscape) {
        length = byte;
        return ReadStatus::Ok;
    }
    std::uint16_t word = 0;
    if (!in.readU16(word)) {
        return ReadStatus::EndOfData;
    }
    if (word == kWideTag) {
        // The length of a wide string starts over; a second tag is read as a length.
        wide = true;
        if (!in.readU8(byte)) {
            return ReadStatus::EndOfData;
        }
        if (byte < kByteEscape) {
            length = byte;
            return ReadStatus::Ok;
        }
        if (!in.readU16(word)) {
            return ReadStatus::EndOfData;
        }
    }
    return readLongLength(in, word, length);
}

}  // namespace

char16_t windows1252ToUtf16(unsigned char byte) {
    static constexpr char16_t kHighControls[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char16_t{byte};
}

void writeArchiveString(ByteWriter& out, std::u16string_view text) {
    out.writeU8(kByteEscape);
    out.writeU16(kWideTag);
    writeLength(out, text.size());
    for (const char16_t unit : text) {
        out.writeU16(unit);
    }
}

ReadStatus readArchiveString(ByteReader& in, std::u16string& text) {
    bool wide = false;
    std::uint64_t length = 0;
    if (const ReadStatus status = readLength(in, wide, length); status != ReadStatus::Ok) {
        return status;
    }
    if (length > kLongestString) {
        return ReadStatus::Invalid;
    }
    const std::uint64_t byteCount = wide ? length * 2 : length;
    std::string_view bytes;
    if (byteCount > in.remaining() || !in.readBytes(static_cast<std::size_t>(byteCount), bytes)) {
        return ReadStatus::EndOfData;
    }
    text.clear();
    text.reserve(static_cast<std::size_t>(length));
    if (wide) {
        for (std::size_t i = 0; i < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8));
        }
    } else {
        for (const char byte : bytes) {
            text.push_back(windows1252ToUtf16(static_cast<unsigned char>(byte)));
        }
    }
    return ReadStatus::Ok;
}

}  // namespace tw
