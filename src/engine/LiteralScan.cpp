#include "engine/LiteralScan.h"

#include <optional>

#include "engine/Language.h"
#include "engine/TextScan.h"
#include "engine/WideChar.h"

namespace tw {
namespace {

/// The longest delimiter a raw string may have.
constexpr std::size_t kMaxRawDelimiter = 16;

bool isDigit(char16_t unit) {
    return unit >= u'0' && unit <= u'9';
}

bool isAsciiLetterOrDigit(char16_t unit) {
    return isDigit(unit) || (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}

/// Whether `unit` can be part of a name, so that a prefix after it is only the end of a
/// longer name. Any unit beyond ASCII counts, so that names in any encoding keep their
/// letters together.
bool continuesName(char16_t unit) {
    return isWordChar(unit) || unit == u'$' || unit >= 0x80;
}

/// A quote between two letters or digits of a number (1'000, 0xFF'FF, 0b1010'1010,
/// 1'000.5f). The token before it must begin like a number: with a digit, or with a point
/// followed by a digit; u8'x' and L'x' are character literals.
bool isDigitSeparator(const std::u16string& text, std::size_t quote) {
    if (quote == 0 || quote + 1 >= text.size() || !isAsciiLetterOrDigit(text[quote - 1]) ||
        !isAsciiLetterOrDigit(text[quote + 1])) {
        return false;
    }
    std::size_t start = quote - 1;
    while (start > 0) {
        const char16_t unit = text[start - 1];
        // The text before is scanned already: a quote still standing in the same token is a
        // separator of this number, found before. Stopping there keeps a long run of
        // separators linear.
        if (unit == u'\'') {
            return true;
        }
        if (!isAsciiLetterOrDigit(unit) && unit != u'.') {
            break;
        }
        --start;
    }
    return isDigit(text[start]) || (text[start] == u'.' && isDigit(text[start + 1]));
}

/// Whether a raw string prefix (R, u8R, uR, UR, LR) stands just before the double quote at
/// `quote` as a token of its own, not as the end of a longer name (FOOR"x" is no raw string).
bool hasRawStringPrefix(const std::u16string& text, std::size_t quote) {
    if (quote == 0 || text[quote - 1] != u'R') {
        return false;
    }
    std::size_t start = quote - 1;
    if (start >= 1 &&
        (text[start - 1] == u'u' || text[start - 1] == u'U' || text[start - 1] == u'L')) {
        start -= 1;
    } else if (start >= 2 && text[start - 1] == u'8' && text[start - 2] == u'u') {
        start -= 2;
    }
    return start == 0 || !continuesName(text[start - 1]);
}

/// Characters a raw string delimiter may hold: printable ASCII but space, parentheses and
/// backslash.
bool isRawDelimiterChar(char16_t unit) {
    return unit > u' ' && unit < 0x7F && unit != u'(' && unit != u')' && unit != u'\\';
}

/// End of the raw string whose double quote is at `quote`: the position of the quote after
/// ")delim", or -1 when the text ends first. None when no valid delimiter and '(' follow
/// the quote.
std::optional<std::int64_t> rawStringEnd(const std::u16string& text, std::size_t quote) {
    const std::size_t size = text.size();
    const std::size_t delimiter = quote + 1;
    std::size_t open = delimiter;
    for (;; ++open) {
        if (open >= size) {
            return std::nullopt;
        }
        if (text[open] == u'(') {
            break;
        }
        if (open - delimiter == kMaxRawDelimiter || !isRawDelimiterChar(text[open])) {
            return std::nullopt;
        }
    }
    const std::size_t length = open - delimiter;
    // No escapes inside: the first ')' followed by the delimiter and a double quote closes.
    for (std::size_t i = open + 1;; ++i) {
        i = findUnit(text.data(), i, size, u')');
        if (i + length + 1 >= size) {
            return -1;
        }
        if (text[i + length + 1] == u'"' &&
            text.compare(i + 1, length, text, delimiter, length) == 0) {
            return static_cast<std::int64_t>(i + length + 1);
        }
    }
}

/// End of the text block whose first double quote is at `quote`: the position of the last
/// quote of the closing """, or -1 when the text ends first. None unless three double quotes
/// and a line break, with only blanks between, open it.
std::optional<std::int64_t> textBlockEnd(const std::u16string& text, std::size_t quote) {
    const char16_t* units = text.data();
    const std::size_t size = text.size();
    if (quote + 2 >= size || units[quote + 1] != u'"' || units[quote + 2] != u'"') {
        return std::nullopt;
    }
    std::size_t i = quote + 3;
    while (i < size && (units[i] == u' ' || units[i] == u'\t' || units[i] == u'\f')) {
        ++i;
    }
    if (i >= size || units[i] != u'\n') {
        return std::nullopt;
    }
    for (++i;;) {
        i = findAnyOf(units, i, size, u'"', u'\\', u'"', u'\\');
        if (i >= size) {
            return -1;
        }
        if (units[i] == u'\\') {
            std::size_t run = 0;
            while (i < size && units[i] == u'\\') {
                ++run;
                ++i;
            }
            if (run % 2 == 1 && i < size && units[i] == u'"') {
                ++i;  // an escaped quote: it can begin no closing """
            }
            continue;
        }
        if (i + 2 < size && units[i + 1] == u'"' && units[i + 2] == u'"') {
            return static_cast<std::int64_t>(i + 2);
        }
        ++i;
    }
}

}  // namespace

std::int64_t findLiteralEnd(const std::u16string& text, std::size_t open, char16_t quote) {
    const char16_t* units = text.data();
    const std::size_t size = text.size();
    // Only quotes and backslashes matter; anything else between them resets the run.
    for (std::size_t i = open + 1;;) {
        i = findAnyOf(units, i, size, quote, u'\\', quote, u'\\');
        if (i >= size) {
            return -1;
        }
        if (units[i] == quote) {
            return static_cast<std::int64_t>(i);
        }
        std::size_t run = 0;
        while (i < size && units[i] == u'\\') {
            ++run;
            ++i;
        }
        if (i < size && units[i] == quote) {
            if (run % 2 == 0) {
                return static_cast<std::int64_t>(i);
            }
            ++i;  // an escaped quote
        }
    }
}

std::size_t findLineEnd(const char16_t* text, std::size_t from, std::size_t size, bool spliced) {
    std::size_t lineFeed = findUnit(text, from, size, u'\n');
    while (spliced && lineFeed < size && lineFeed > from && text[lineFeed - 1] == u'\\') {
        lineFeed = findUnit(text, lineFeed + 1, size, u'\n');
    }
    return lineFeed;
}

Literal literalAt(const std::u16string& text, std::size_t quote, FileType type) {
    const char16_t unit = text[quote];
    const Language& language = languageOf(type);
    if (language.digitSeparators && unit == u'\'' && isDigitSeparator(text, quote)) {
        return {LiteralForm::DigitSeparator, static_cast<std::int64_t>(quote)};
    }
    if (language.rawStrings && unit == u'"' && hasRawStringPrefix(text, quote)) {
        if (const auto end = rawStringEnd(text, quote)) {
            return {LiteralForm::RawString, *end};
        }
    }
    if (language.textBlocks && unit == u'"') {
        if (const auto end = textBlockEnd(text, quote)) {
            return {LiteralForm::TextBlock, *end};
        }
    }
    return {LiteralForm::Quoted, findLiteralEnd(text, quote, unit)};
}

}  // namespace tw
