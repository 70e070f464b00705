#include "engine/SourceReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tw {

TextEncoding detectEncoding(const SourceFile& file) {
    unsigned char bom[3] = {0, 0, 0};
    return encodingOfByteOrderMark(bom, file.readAt(0, bom, 3));
}

TextEncoding encodingOfByteOrderMark(const unsigned char* bom, std::size_t got) {
    if (got >= 2 && bom[0] == 0xFE && bom[1] == 0xFF) {
        return TextEncoding::Utf16BE;
    }
    if (got >= 2 && bom[0] == 0xFF && bom[1] == 0xFE) {
        return TextEncoding::Utf16LE;
    }
    if (got >= 3 && bom[0] == 0xEF && bom[1] == 0xBB && bom[2] == 0xBF) {
        return TextEncoding::Utf8;
    }
    return TextEncoding::Ansi;
}

namespace {

/// Decodes a file's bytes into code units, written one after another into the text's own
/// storage: either as the bytes come, piece by piece, or over the bytes themselves once the
/// whole file was read into the end of that storage (`readWhole`). No copy of the whole
/// file is ever held beside the text.
class TextDecoder {
  public:
    TextDecoder(TextEncoding encoding, SourceText& text)
        : encoding_(encoding), chars_(text.chars), lineFeeds_(text.lineFeeds) {
        lineFeeds_.clear();
        switch (encoding) {
            case TextEncoding::Utf8:
                skip_ = 3;
                break;
            case TextEncoding::Utf16LE:
            case TextEncoding::Utf16BE:
                skip_ = 2;
                break;
            case TextEncoding::Ansi:
                break;
            default:
                noText_ = true;  // an encoding the reader does not know gives no text
                break;
        }
    }

    /// Takes the next bytes; false when the encoding gives no text, so that the rest of the file
    /// no longer matters.
    bool feed(const unsigned char* bytes, std::size_t count) {
        const std::size_t skipped = std::min(skip_, count);
        skip_ -= skipped;
        bytes += skipped;
        count -= skipped;
        if (noText_ || count == 0) {
            return !noText_;
        }
        if (encoding_ == TextEncoding::Utf16LE || encoding_ == TextEncoding::Utf16BE) {
            feedWide(bytes, count);
        } else {
            ++feeds_;
            feedBytes(bytes, count);
        }
        return !noText_;
    }

    /// Ends the text with its end mark and indexes its line feeds, unless the decoding did.
    void finishText(SourceText& text) {
        finish();
        chars_.resize(size_);
        chars_.push_back(kEndMark);
        if (!(indexing() && encoding_ != TextEncoding::Utf16LE &&
              encoding_ != TextEncoding::Utf16BE)) {
            text.indexLineFeeds();
        }
    }

    /// Ends the file: an odd last byte of little-endian UTF-16 stands for 0xFF00 + byte;
    /// big-endian drops it.
    void finish() {
        if (!noText_ && pending_ >= 0 && encoding_ == TextEncoding::Utf16LE) {
            makeRoom(1);
            take(static_cast<char16_t>(0xFF00 + pending_));
        }
        pending_ = -1;
    }

  private:
    /// Bytes map to code units one for one; UTF-8 sequences are not combined. A zero byte is a
    /// character like any other, and a byte can never be the end mark. The line feeds are
    /// indexed on the way
    /// while the text comes in one piece, the common case: the index then takes exactly its
    /// room without a pass of its own. A text of several pieces is indexed once it is whole.
    void feedBytes(const unsigned char* from, std::size_t count) {
        makeRoom(count);
        char16_t* to = chars_.data() + size_;
        std::uint32_t* lineFeed = nullptr;
        if (indexing()) {
            lineFeeds_.resize(countLineFeeds(from, count));
            lineFeed = lineFeeds_.data();
        } else {
            lineFeeds_.clear();
        }
        std::size_t length = 0;
        if (std::memchr(from, '\r', count) == nullptr) {
            std::size_t i = 0;
#if defined(__SSE2__)
            // Sixteen bytes at a time: widened to code units, line feeds noted from a mask.
            const __m128i zeroes = _mm_setzero_si128();
            const __m128i lineFeeds = _mm_set1_epi8('\n');
            for (; i + 16 <= count; i += 16) {
                const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i),
                                 _mm_unpacklo_epi8(block, zeroes));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i + 8),
                                 _mm_unpackhi_epi8(block, zeroes));
                if (lineFeed != nullptr) {
                    auto mask =
                        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lineFeeds)));
                    while (mask != 0) {
                        *lineFeed++ = static_cast<std::uint32_t>(i + __builtin_ctz(mask));
                        mask &= mask - 1;
                    }
                }
            }
#endif
            for (; i < count; ++i) {
                to[i] = from[i];
                if (lineFeed != nullptr && from[i] == '\n') {
                    *lineFeed++ = static_cast<std::uint32_t>(i);
                }
            }
            length = count;
        } else {
            for (std::size_t i = 0; i < count; ++i) {
                to[length] = from[i];
                if (lineFeed != nullptr && from[i] == '\n') {
                    *lineFeed++ = static_cast<std::uint32_t>(length);
                }
                length += from[i] != '\r';
            }
        }
        size_ += length;
    }

    /// The line feeds among `count` bytes.
    static std::size_t countLineFeeds(const unsigned char* from, std::size_t count) {
        std::size_t lineFeeds = 0;
        std::size_t i = 0;
#if defined(__SSE2__)
        // Each byte lane counts its hits, summed before it could overflow.
        const __m128i lineFeed = _mm_set1_epi8('\n');
        const __m128i zeroes = _mm_setzero_si128();
        while (i + 16 <= count) {
            __m128i lanes = zeroes;
            const std::size_t stop = std::min(count, i + 16 * 255);
            for (; i + 16 <= stop; i += 16) {
                const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
                lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(block, lineFeed));
            }
            const __m128i sums = _mm_sad_epu8(lanes, zeroes);
            lineFeeds += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                         static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
        }
#endif
        for (; i < count; ++i) {
            lineFeeds += from[i] == '\n' ? 1 : 0;
        }
        return lineFeeds;
    }

    /// Line feeds are indexed while decoding: the text has come in one piece so far.
    bool indexing() const {
        return feeds_ <= 1;
    }

    void feedWide(const unsigned char* from, std::size_t count) {
        const bool little = encoding_ == TextEncoding::Utf16LE;
        const auto unitOf = [little](unsigned first, unsigned second) {
            return little ? static_cast<char16_t>(first | (second << 8))
                          : static_cast<char16_t>((first << 8) | second);
        };
        makeRoom(count / 2 + 1);
        std::size_t i = 0;
        if (pending_ >= 0) {
            const char16_t unit = unitOf(static_cast<unsigned>(pending_), from[0]);
            pending_ = -1;
            i = 1;
            take(unit);
        }
        for (; i + 1 < count; i += 2) {
            take(unitOf(from[i], from[i + 1]));
        }
        if (i < count) {
            pending_ = from[i];
        }
    }

    /// Appends one decoded unit. U+FFFF, which no text holds, would pose as the end mark: it
    /// becomes the replacement character, so that nothing after it is lost.
    void take(char16_t unit) {
        if (unit == kEndMark) {
            unit = kReplacementCharacter;
        }
        if (unit != u'\r') {
            chars_[size_++] = unit;
        }
    }

    /// Storage for `units` more code units. Never moves the storage of a text read whole into
    /// it: that holds at least as many units as the file has bytes.
    void makeRoom(std::size_t units) {
        if (chars_.size() < size_ + units) {
            chars_.resize(size_ + units);
        }
    }

    TextEncoding encoding_;
    std::u16string& chars_;
    std::vector<std::uint32_t>& lineFeeds_;
    /// Code units decoded so far; the storage beyond them is room, or bytes still to decode.
    std::size_t size_ = 0;
    /// Pieces taken so far.
    std::size_t feeds_ = 0;
    std::size_t skip_ = 0;
    int pending_ = -1;
    bool noText_ = false;
};

/// Code units a text has room for from its first file on, so that files up to this many bytes
/// are read into it without growing it. The system takes the pages only as they are written.
constexpr std::size_t kTextRoom = kLargestKeptBuffer / sizeof(char16_t);

/// How much of a file that grew while it was read is read at a time.
constexpr std::size_t kReadPiece = 1024 * 1024;

enum class ReadOutcome { Read, Failed, TooLarge, Grew };

/// Reads the file's `length` bytes in one read into the upper half of the text's storage, sized
/// to as many code units as the file has bytes, and decodes them there: each code unit lands no
/// further on than the byte it comes from, so the bytes pass through memory once and need no
/// buffer of their own. One byte more than `length` is asked for, to find a file that grew.
ReadOutcome readWhole(FileCount& record, const SourceFile& file, std::uint64_t length,
                      SourceText& text, EncodingSource encodingSource) {
    const auto room = static_cast<std::size_t>(length) + 1;
    text.chars.reserve(std::max(kTextRoom, room));
    text.chars.resize(room);
    unsigned char* const bytes = reinterpret_cast<unsigned char*>(text.chars.data()) + room;
    const std::int64_t got = file.readSome(0, bytes, room, length);
    if (got < 0) {
        return ReadOutcome::Failed;
    }
    if (static_cast<std::uint64_t>(got) > length) {
        return ReadOutcome::Grew;
    }
    if (encodingSource == EncodingSource::ByteOrderMark) {
        record.encoding = encodingOfByteOrderMark(bytes, static_cast<std::size_t>(got));
    }
    TextDecoder decoder(record.encoding, text);
    decoder.feed(bytes, static_cast<std::size_t>(got));
    decoder.finishText(text);
    return ReadOutcome::Read;
}

/// Reads a file that grew while it was read: one piece at a time, each decoded straight into
/// the text, until the file ends.
ReadOutcome readInPieces(FileCount& record, const SourceFile& file, SourceText& text,
                         EncodingSource encodingSource) {
    thread_local std::unique_ptr<unsigned char[]> piece(new unsigned char[kReadPiece]);
    text.chars.clear();
    std::int64_t got = file.readSome(0, piece.get(), kReadPiece);
    if (got >= 0 && encodingSource == EncodingSource::ByteOrderMark) {
        record.encoding = encodingOfByteOrderMark(piece.get(), static_cast<std::size_t>(got));
    }
    TextDecoder decoder(record.encoding, text);
    std::uint64_t offset = 0;
    for (;;) {
        if (got < 0) {
            return ReadOutcome::Failed;
        }
        offset += static_cast<std::uint64_t>(got);
        // A file that grew past the limit while it was read is too large as well.
        if (offset > kLargestSourceFile) {
            return ReadOutcome::TooLarge;
        }
        if (got == 0 || !decoder.feed(piece.get(), static_cast<std::size_t>(got)) ||
            static_cast<std::size_t>(got) < kReadPiece) {
            break;
        }
        got = file.readSome(offset, piece.get(), kReadPiece);
    }
    decoder.finishText(text);
    return ReadOutcome::Read;
}

}  // namespace

void decodeSourceText(std::string_view bytes, TextEncoding encoding, SourceText& text) {
    text.chars.clear();
    TextDecoder decoder(encoding, text);
    decoder.feed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    decoder.finishText(text);
}

bool readSourceText(FileCount& record, const SourceFile& file, SourceText& text,
                    EncodingSource encodingSource) {
    ReadOutcome outcome = ReadOutcome::Failed;
    if (file.isOpen()) {
        const std::uint64_t length = file.byteLength();
        outcome = length > kLargestSourceFile
                      ? ReadOutcome::TooLarge
                      : readWhole(record, file, length, text, encodingSource);
        if (outcome == ReadOutcome::Grew) {
            outcome = readInPieces(record, file, text, encodingSource);
        }
    }
    if (outcome != ReadOutcome::Read) {
        if (encodingSource == EncodingSource::ByteOrderMark && file.isOpen()) {
            record.encoding = detectEncoding(file);
        }
        text.chars.clear();
        text.lineFeeds.clear();
        releaseIfHuge(text.chars);
        record.remarks =
            outcome == ReadOutcome::TooLarge ? u"File too large to count." : u"Invalid input file.";
        if (outcome == ReadOutcome::Failed) {
            record.readError = file.error() != 0 ? file.error() : EIO;
        }
        return false;
    }
    return true;
}

bool readSourceText(FileCount& record, SourceText& text) {
    SourceFile file;
    if (!file.open(record.diskPath)) {
        text.chars.clear();
        text.lineFeeds.clear();
        record.remarks = u"Invalid input file.";
        record.readError = file.error();
        return false;
    }
    return readSourceText(record, file, text);
}

}  // namespace tw
