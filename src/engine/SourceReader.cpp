#include "engine/SourceReader.h"

namespace tw {

TextEncoding detectEncoding(const SourceFile& file) {
    unsigned char bom[3] = {0, 0, 0};
    const std::size_t got = file.readAt(0, bom, 3);
    if (got >= 2 && bom[0] == 0xFE && bom[1] == 0xFF) {
        return TextEncoding::Utf16BE;
    }
    if (got >= 2 && bom[0] == 0xFF && bom[1] == 0xFE) {
        return TextEncoding::Utf16LE;
    }
    if (got == 3 && bom[0] == 0xEF && bom[1] == 0xBB && bom[2] == 0xBF) {
        return TextEncoding::Utf8;
    }
    return TextEncoding::Ansi;
}

namespace {

/// Appends one decoded unit; false once the text is cut (U+0000 or U+FFFF).
inline bool take(std::u16string& chars, char16_t unit) {
    if (unit == 0 || unit == kEndMark) {
        return false;
    }
    if (unit != u'\r') {
        chars.push_back(unit);
    }
    return true;
}

}  // namespace

void decodeSourceText(std::string_view bytes, TextEncoding encoding, SourceText& text) {
    std::u16string& chars = text.chars;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    switch (encoding) {
        case TextEncoding::Ansi:
        case TextEncoding::Utf8: {
            // Bytes map to code units one for one; UTF-8 sequences are not combined. A byte
            // can never be U+FFFF, so only a zero byte cuts the text.
            const std::size_t first = encoding == TextEncoding::Utf8 ? 3 : 0;
            if (bytes.size() <= first) {
                chars.clear();
                break;
            }
            const std::string_view body = bytes.substr(first, bytes.find('\0', first) - first);
            const auto* from = reinterpret_cast<const unsigned char*>(body.data());
            const std::size_t count = body.size();
            chars.resize(count + 1);
            char16_t* to = chars.data();
            std::size_t length = 0;
            if (body.find('\r') == std::string_view::npos) {
                for (std::size_t i = 0; i < count; ++i) {
                    to[i] = from[i];
                }
                length = count;
            } else {
                for (std::size_t i = 0; i < count; ++i) {
                    to[length] = from[i];
                    length += from[i] != '\r';
                }
            }
            chars.resize(length);
            break;
        }
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE: {
            chars.clear();
            const bool little = encoding == TextEncoding::Utf16LE;
            chars.reserve(bytes.size() > 2 ? bytes.size() / 2 + 1 : 1);
            std::size_t i = 2;
            for (; i + 1 < bytes.size(); i += 2) {
                const char16_t unit = little
                                          ? static_cast<char16_t>(byte(i) | (byte(i + 1) << 8))
                                          : static_cast<char16_t>((byte(i) << 8) | byte(i + 1));
                if (!take(chars, unit)) {
                    i = bytes.size();
                    break;
                }
            }
            // An odd last byte: little-endian keeps it as 0xFF00 + byte, big-endian drops it.
            if (little && i + 1 == bytes.size()) {
                take(chars, static_cast<char16_t>(0xFF00 + byte(i)));
            }
            break;
        }
        default:
            chars.clear();
            break;
    }
    chars.push_back(kEndMark);
    text.indexLineFeeds();
}

bool readSourceText(FileCount& record, const SourceFile& file, SourceText& text) {
    // The bytes of the last file read on this thread stay as the buffer for the next one.
    thread_local std::string bytes;
    bool tooLarge = file.isOpen() && file.byteLength() > kLargestSourceFile;
    if (!file.isOpen() || tooLarge || !file.readAll(bytes, kLargestSourceFile)) {
        // A file that grew past the limit while it was read is too large as well.
        tooLarge = tooLarge || bytes.size() > kLargestSourceFile;
        bytes.clear();
        releaseIfHuge(bytes);
        text.chars.clear();
        text.lineFeeds.clear();
        record.remarks = tooLarge ? u"File too large to count." : u"Invalid input file.";
        return false;
    }
    decodeSourceText(bytes, record.encoding, text);
    releaseIfHuge(bytes);
    return true;
}

bool readSourceText(FileCount& record, SourceText& text) {
    SourceFile file;
    if (!file.open(record.diskPath)) {
        text.chars.clear();
        text.lineFeeds.clear();
        record.remarks = u"Invalid input file.";
        return false;
    }
    return readSourceText(record, file, text);
}

}  // namespace tw
