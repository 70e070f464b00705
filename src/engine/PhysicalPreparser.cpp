#include "engine/PhysicalPreparser.h"

#include "engine/Language.h"
#include "engine/MatchCounter.h"
#include "engine/TextScan.h"
#include "engine/WideChar.h"

namespace tw {

namespace {

/// Blanks the literal that the quote at `open` opens. Its line feeds stay, noted in the text,
/// so that each line of a literal that spans lines (a raw string, a text block, a string
/// continued by backslashes) stays a line of its own.
void blankFoundLiteral(SourceText& text, std::size_t open, const Literal& literal) {
    const auto end = static_cast<std::size_t>(literal.end);
    for (std::size_t i = open; i <= end; ++i) {
        if (text.chars[i] == u'\n') {
            text.literalLineFeeds.push_back(static_cast<std::uint32_t>(i));
        } else {
            text.chars[i] = u'_';
        }
    }
}

/// Whether the directive whose '#' is at `hash` is #error or #warning. Their text is a message,
/// not code: an apostrophe there (don't) opens no literal.
bool isMessageDirective(const std::u16string& chars, std::size_t hash) {
    std::size_t i = hash + 1;
    while (i < chars.size() && (chars[i] == u' ' || chars[i] == u'\t')) {
        ++i;
    }
    const std::u16string_view rest = std::u16string_view(chars).substr(i);
    for (const std::u16string_view name :
         {std::u16string_view(u"error"), std::u16string_view(u"warning")}) {
        if (rest.substr(0, name.size()) == name &&
            (rest.size() == name.size() || !isWordChar(rest[name.size()]))) {
            return true;
        }
    }
    return false;
}

}  // namespace

void blankLiteral(std::u16string& text, std::size_t from, std::size_t to) {
    overwriteSpan(text, from, to + 1, u'_');
}

std::int64_t findDirectiveEnd(SourceText& text, std::size_t hash, FileCount& record) {
    std::u16string& chars = text.chars;
    const std::size_t n = chars.size();
    const auto lastPosition = static_cast<std::int64_t>(n) - 1;
    const bool spliced = languageOf(record.fileType).splicesLines;
    const bool message = isMessageDirective(chars, hash);
    char16_t last = u'#';
    std::size_t i = hash + 1;
    while (i < n) {
        const char16_t c = chars[i];
        const char16_t d = i + 1 < n ? chars[i + 1] : u'\0';
        if (c == u'/' && d == u'/') {
            // A line comment: its characters, a final backslash included, leave `last` alone.
            const std::size_t lineFeed = findLineEnd(chars.data(), i + 2, n, spliced);
            if (lineFeed >= n) {
                return lastPosition;
            }
            i = lineFeed;
            continue;
        }
        if (c == u'/' && d == u'*') {
            const std::size_t close = findCommentClose(chars.data(), i + 2, n);
            if (close >= n) {
                record.remarks = u"Unclosed C-style comment within compiler directive.";
                record.errorLine = lineOfPosition(text, static_cast<std::int64_t>(hash));
                return -1;
            }
            i = close + 2;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            const Literal literal = literalAt(chars, i, record.fileType);
            // In a message a quote that does not close on its own line is an ordinary
            // character, as compilers read it.
            const bool quotes =
                literal.form != LiteralForm::DigitSeparator &&
                !(message && (literal.end < 0 || static_cast<std::size_t>(literal.end) >
                                                     findLineEnd(chars.data(), i, n, spliced)));
            if (quotes) {
                if (literal.end < 0) {
                    record.remarks =
                        u"Unterminated string or character literal within compiler directive";
                    record.errorLine = lineOfPosition(text, static_cast<std::int64_t>(hash));
                    return -1;
                }
                blankFoundLiteral(text, i, literal);
                last = c;
                i = static_cast<std::size_t>(literal.end) + 1;
                continue;
            }
        }
        if (c == u'\n') {
            if (last != u'\\') {
                return static_cast<std::int64_t>(i);
            }
        } else if (!isBlankChar(c)) {
            last = c;
        }
        ++i;
    }
    return lastPosition;
}

bool preparsePhysical(SourceText& text, FileCount& record) {
    std::u16string& chars = text.chars;
    const std::size_t n = chars.size();
    text.literalLineFeeds.clear();
    const bool spliced = languageOf(record.fileType).splicesLines;
    std::size_t i = 0;
    while (i < n) {
        i = findAnyOf(chars.data(), i, n, u'#', u'"', u'\'', u'/');
        if (i >= n) {
            break;
        }
        const char16_t c = chars[i];
        const char16_t d = i + 1 < n ? chars[i + 1] : u'\0';
        if (c == u'#') {
            const std::int64_t end = findDirectiveEnd(text, i, record);
            if (end < 0) {
                record.remarks = u"Failed to find end of compiler directive: " + record.remarks;
                return false;
            }
            i = static_cast<std::size_t>(end) + 1;
        } else if (c == u'"' || c == u'\'') {
            const Literal literal = literalAt(chars, i, record.fileType);
            if (literal.form == LiteralForm::DigitSeparator) {
                ++i;
                continue;
            }
            if (literal.end < 0) {
                record.remarks = u"Unclosed character or string literal";
                record.errorLine = lineOfPosition(text, static_cast<std::int64_t>(i));
                return false;
            }
            blankFoundLiteral(text, i, literal);
            i = static_cast<std::size_t>(literal.end) + 1;
        } else if (d == u'/') {
            const std::size_t lineFeed = findLineEnd(chars.data(), i + 2, n, spliced);
            if (lineFeed >= n) {
                break;
            }
            i = lineFeed + 1;
        } else if (d == u'*') {
            const std::size_t close = findCommentClose(chars.data(), i + 2, n);
            if (close >= n) {
                record.remarks = u"Unclosed comment";
                record.errorLine = lineOfPosition(text, static_cast<std::int64_t>(i));
                return false;
            }
            i = close + 2;
        } else {
            ++i;
        }
    }
    return true;
}

}  // namespace tw
