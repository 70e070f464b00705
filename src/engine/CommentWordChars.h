#pragma once

#include <cstddef>
#include <string_view>

#include "engine/TextEncoding.h"
#include "engine/WideChar.h"

namespace tw {

/// How the code units of a source text stand for characters. Files read byte by byte (ANSI and
/// UTF-8) hold one unit per byte, so a UTF-8 character spans several units; UTF-16 files hold
/// their own units.
enum class UnitForm { Bytes, Utf16 };

UnitForm unitFormOf(TextEncoding encoding);

/// One character of a comment as words see it.
struct CommentChar {
    std::size_t length;  ///< code units it takes
    bool word;           ///< part of a word: a letter or digit of any script, a mark, or '_'
    bool letterOrDigit;  ///< part of a word and not '_'
};

/// The character beyond ASCII at `text[i]` (i < end): a UTF-8 sequence among byte units (a byte
/// that begins none is the Latin-1 character of its value), or a surrogate pair.
CommentChar wideCommentCharAt(std::u16string_view text, std::size_t i, std::size_t end,
                              UnitForm form);

/// The character at `text[i]` (i < end), letters and digits classified as Unicode does.
inline CommentChar commentCharAt(std::u16string_view text, std::size_t i, std::size_t end,
                                 UnitForm form) {
    const char16_t unit = text[i];
    if (unit < 0x80) {
        const bool word = kWordChars[unit];
        return {1, word, word && unit != u'_'};
    }
    return wideCommentCharAt(text, i, end, form);
}

}  // namespace tw
