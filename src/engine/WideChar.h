#pragma once

#include <array>

namespace tw {

/// Lower case of one UTF-16 code unit by the C library's wide mapping under a UTF-8 locale;
/// surrogates and units without a lower case stay as they are.
char16_t toLowerUnit(char16_t unit);

/// Upper case of one UTF-16 code unit, as `toLowerUnit` but the other way.
char16_t toUpperUnit(char16_t unit);

/// Letter or digit as the C library classifies wide characters under a UTF-8 locale.
bool isLetterOrDigit(char16_t unit);

/// The same for any code point, beyond the basic plane too.
bool isLetterOrDigitCodePoint(char32_t codePoint);

/// A letter, a digit or '_': the characters of an identifier.
inline bool isIdentifierChar(char16_t unit) {
    return unit == u'_' || isLetterOrDigit(unit);
}

/// Space, tab, carriage return or line feed: the blank characters of the line rules.
inline bool isBlankChar(char16_t unit) {
    return unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\n';
}

/// White space of C, C++ and Java lines: the blank characters, vertical tab and form feed. A
/// line of nothing else is blank.
inline bool isWhiteSpaceChar(char16_t unit) {
    return isBlankChar(unit) || unit == u'\v' || unit == u'\f';
}

/// The ASCII units of the pattern class \w, looked up: comment words and banners test every
/// character of every comment.
inline constexpr std::array<bool, 128> kWordChars = [] {
    std::array<bool, 128> table{};
    for (char16_t unit = 0; unit < 128; ++unit) {
        table[unit] = (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
                      (unit >= u'0' && unit <= u'9') || unit == u'_';
    }
    return table;
}();

/// The pattern class \w: ASCII letters, digits and '_'.
inline bool isWordChar(char16_t unit) {
    return unit < 128 && kWordChars[unit];
}

}  // namespace tw
