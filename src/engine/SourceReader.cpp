#include "engine/SourceReader.h"

#include <algorithm>
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

/// Decodes a file's bytes into code units as they come, piece by piece, straight into the
/// text: no copy of the whole file is ever held beside the text.
class TextDecoder {
  public:
    TextDecoder(TextEncoding encoding, SourceText& text, std::uint64_t byteLength)
        : encoding_(encoding), chars_(text.chars), lineFeeds_(text.lineFeeds) {
        chars_.clear();
        lineFeeds_.clear();
        const bool wide = encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
        // Two bytes of UTF-16, or one of any other encoding, give at most one code unit.
        const std::uint64_t units = wide ? byteLength / 2 : byteLength;
        chars_.reserve(
            static_cast<std::size_t>(std::min<std::uint64_t>(units, kLargestSourceFile)) + 1);
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
                cut_ = true;  // an encoding the reader does not know gives no text
                break;
        }
    }

    /// Takes the next bytes; false once the text is cut (U+0000 or U+FFFF), when the rest of
    /// the file no longer matters.
    bool feed(const unsigned char* bytes, std::size_t count) {
        const std::size_t skipped = std::min(skip_, count);
        skip_ -= skipped;
        bytes += skipped;
        count -= skipped;
        if (cut_ || count == 0) {
            return !cut_;
        }
        if (encoding_ == TextEncoding::Utf16LE || encoding_ == TextEncoding::Utf16BE) {
            feedWide(bytes, count);
        } else {
            ++feeds_;
            feedBytes(bytes, count);
        }
        return !cut_;
    }

    /// Ends the text with its end mark and indexes its line feeds, unless the decoding did.
    void finishText(SourceText& text) {
        finish();
        chars_.push_back(kEndMark);
        if (!(indexing() && encoding_ != TextEncoding::Utf16LE &&
              encoding_ != TextEncoding::Utf16BE)) {
            text.indexLineFeeds();
        }
    }

    /// Ends the file: an odd last byte of little-endian UTF-16 stands for 0xFF00 + byte;
    /// big-endian drops it.
    void finish() {
        if (!cut_ && pending_ >= 0 && encoding_ == TextEncoding::Utf16LE) {
            take(static_cast<char16_t>(0xFF00 + pending_));
        }
        pending_ = -1;
    }

  private:
    /// Bytes map to code units one for one; UTF-8 sequences are not combined. A byte can never
    /// be U+FFFF, so only a zero byte cuts the text. The line feeds are indexed on the way
    /// while the text comes in one piece, the common case: the index then takes exactly its
    /// room without a pass of its own. A text of several pieces is indexed once it is whole.
    void feedBytes(const unsigned char* from, std::size_t count) {
        if (const void* zero = std::memchr(from, 0, count)) {
            count = static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - from);
            cut_ = true;
        }
        const std::size_t start = chars_.size();
        chars_.resize(start + count);
        char16_t* to = chars_.data() + start;
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
        chars_.resize(start + length);
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
        std::size_t i = 0;
        if (pending_ >= 0) {
            const char16_t unit = unitOf(static_cast<unsigned>(pending_), from[0]);
            pending_ = -1;
            i = 1;
            if (!take(unit)) {
                return;
            }
        }
        for (; i + 1 < count; i += 2) {
            if (!take(unitOf(from[i], from[i + 1]))) {
                return;
            }
        }
        if (i < count) {
            pending_ = from[i];
        }
    }

    /// Appends one decoded unit; false once the text is cut.
    bool take(char16_t unit) {
        if (unit == 0 || unit == kEndMark) {
            cut_ = true;
            return false;
        }
        if (unit != u'\r') {
            chars_.push_back(unit);
        }
        return true;
    }

    TextEncoding encoding_;
    std::u16string& chars_;
    std::vector<std::uint32_t>& lineFeeds_;
    /// Pieces taken so far.
    std::size_t feeds_ = 0;
    std::size_t skip_ = 0;
    int pending_ = -1;
    bool cut_ = false;
};

/// How much of a file is read at a time.
constexpr std::size_t kReadPiece = 1024 * 1024;

}  // namespace

void decodeSourceText(std::string_view bytes, TextEncoding encoding, SourceText& text) {
    TextDecoder decoder(encoding, text, bytes.size());
    decoder.feed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    decoder.finishText(text);
}

bool readSourceText(FileCount& record, const SourceFile& file, SourceText& text,
                    EncodingSource encodingSource) {
    // One piece of the file at a time, decoded straight into the text.
    thread_local std::unique_ptr<unsigned char[]> piece(new unsigned char[kReadPiece]);
    const std::uint64_t length = file.isOpen() ? file.byteLength() : 0;
    bool tooLarge = length > kLargestSourceFile;
    bool failed = !file.isOpen() || tooLarge;
    if (!failed) {
        // Each read asks for one byte more than the file held when it was opened, so that a
        // file read whole ends with that one read; a file that grew meanwhile reads on.
        const auto wanted = [length](std::uint64_t offset) {
            return static_cast<std::size_t>(
                offset < length ? std::min<std::uint64_t>(kReadPiece, length - offset + 1)
                                : kReadPiece);
        };
        std::size_t want = wanted(0);
        std::int64_t got = file.readSome(0, piece.get(), want, length);
        if (got >= 0 && encodingSource == EncodingSource::ByteOrderMark) {
            record.encoding = encodingOfByteOrderMark(piece.get(), static_cast<std::size_t>(got));
        }
        TextDecoder decoder(record.encoding, text, length);
        std::uint64_t offset = 0;
        for (;;) {
            if (got < 0) {
                failed = true;
                break;
            }
            offset += static_cast<std::uint64_t>(got);
            // A file that grew past the limit while it was read is too large as well.
            if (offset > kLargestSourceFile) {
                failed = tooLarge = true;
                break;
            }
            if (got == 0 || !decoder.feed(piece.get(), static_cast<std::size_t>(got)) ||
                static_cast<std::size_t>(got) < want) {
                break;
            }
            want = wanted(offset);
            got = file.readSome(offset, piece.get(), want, length);
        }
        if (!failed) {
            decoder.finishText(text);
        }
    }
    if (failed) {
        if (encodingSource == EncodingSource::ByteOrderMark && file.isOpen()) {
            record.encoding = detectEncoding(file);
        }
        text.chars.clear();
        text.lineFeeds.clear();
        releaseIfHuge(text.chars);
        record.remarks = tooLarge ? u"File too large to count." : u"Invalid input file.";
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
        return false;
    }
    return readSourceText(record, file, text);
}

}  // namespace tw
