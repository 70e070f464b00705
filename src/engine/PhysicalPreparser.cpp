#include "engine/PhysicalPreparser.h"

#include "engine/MatchCounter.h"
#include "engine/TextScan.h"
#include "engine/WideChar.h"

namespace tw {

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

void blankLiteral(std::u16string& text, std::size_t from, std::size_t to) {
    overwriteSpan(text, from, to + 1, u'_');
}

std::int64_t findDirectiveEnd(SourceText& text, std::size_t hash, FileCount& record) {
    std::u16string& chars = text.chars;
    const std::size_t n = chars.size();
    const auto lastPosition = static_cast<std::int64_t>(n) - 1;
    char16_t last = u'#';
    std::size_t i = hash + 1;
    while (i < n) {
        const char16_t c = chars[i];
        const char16_t d = i + 1 < n ? chars[i + 1] : u'\0';
        if (c == u'/' && d == u'/') {
            // A line comment: its characters, a final backslash included, leave `last` alone.
            const std::size_t lineFeed = findUnit(chars.data(), i + 2, n, u'\n');
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
            const std::int64_t end = findLiteralEnd(chars, i, c);
            if (end < 0) {
                record.remarks =
                    u"Unterminated string or character literal within compiler directive";
                record.errorLine = lineOfPosition(text, static_cast<std::int64_t>(hash));
                return -1;
            }
            blankLiteral(chars, i, static_cast<std::size_t>(end));
            last = c;
            i = static_cast<std::size_t>(end) + 1;
            continue;
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
            const std::int64_t end = findLiteralEnd(chars, i, c);
            if (end < 0) {
                record.remarks = u"Unclosed character or string literal";
                record.errorLine = lineOfPosition(text, static_cast<std::int64_t>(i));
                return false;
            }
            blankLiteral(chars, i, static_cast<std::size_t>(end));
            i = static_cast<std::size_t>(end) + 1;
        } else if (d == u'/') {
            const std::size_t lineFeed = findUnit(chars.data(), i + 2, n, u'\n');
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
