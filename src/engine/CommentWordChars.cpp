#include "engine/CommentWordChars.h"

namespace tw {
namespace {

bool isContinuation(char16_t unit) {
    return unit >= 0x80 && unit <= 0xBF;
}

/// The code point of the UTF-8 sequence that the byte units at `i` begin, and its length; a
/// length of 0 when they begin none (a lone, overlong or surrogate sequence).
std::size_t decodeUtf8(std::u16string_view text, std::size_t i, std::size_t end,
                       char32_t& codePoint) {
    const char16_t lead = text[i];
    std::size_t length = 0;
    char32_t low = 0x80;
    char32_t high = 0xBF;  // bounds of the second byte, narrower after some leads
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (end - i < length || text[i + 1] < low || text[i + 1] > high) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (!isContinuation(text[i + k])) {
            return 0;
        }
        codePoint = (codePoint << 6) | (text[i + k] & 0x3F);
    }
    return length;
}

/// Combining marks: they belong to the letter before them (e followed by U+0301 is one é).
bool isCombiningMark(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
           (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) ||
           (c >= 0xFE20 && c <= 0xFE2F);
}

CommentChar classify(char32_t c, std::size_t length) {
    if (isCombiningMark(c)) {
        return {length, true, true};
    }
    const bool letterOrDigit = isLetterOrDigitCodePoint(c);
    return {length, letterOrDigit, letterOrDigit};
}

}  // namespace

UnitForm unitFormOf(TextEncoding encoding) {
    return encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE ? UnitForm::Utf16
                                                                                  : UnitForm::Bytes;
}

CommentChar wideCommentCharAt(std::u16string_view text, std::size_t i, std::size_t end,
                              UnitForm form) {
    const char16_t unit = text[i];
    if (form == UnitForm::Bytes) {
        char32_t codePoint = 0;
        if (unit <= 0xFF) {
            if (const std::size_t length = decodeUtf8(text, i, end, codePoint)) {
                return classify(codePoint, length);
            }
        }
        return classify(unit, 1);
    }
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < end && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
        return classify(0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[i + 1] - 0xDC00), 2);
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) {
        return {1, false, false};
    }
    return classify(unit, 1);
}

}  // namespace tw
