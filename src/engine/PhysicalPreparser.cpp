#include "engine/PhysicalPreparser.h"

#include "engine/MatchCounter.h"
#include "engine/WideChar.h"

namespace tw {

std::int64_t findLiteralEnd(const std::u16string& text, std::size_t open, char16_t quote) {
    std::size_t backslashes = 0;
    for (std::size_t i = open + 1; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\\') {
            ++backslashes;
        } else if (c == quote && backslashes % 2 == 0) {
            return static_cast<std::int64_t>(i);
        } else {
            backslashes = 0;
        }
    }
    return -1;
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
            const std::size_t lineFeed = chars.find(u'\n', i + 2);
            if (lineFeed == std::u16string::npos) {
                return lastPosition;
            }
            i = lineFeed;
            continue;
        }
        if (c == u'/' && d == u'*') {
            const std::size_t close = chars.find(u"*/", i + 2);
            if (close == std::u16string::npos) {
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
        } else if (c == u'/' && d == u'/') {
            const std::size_t lineFeed = chars.find(u'\n', i + 2);
            if (lineFeed == std::u16string::npos) {
                break;
            }
            i = lineFeed + 1;
        } else if (c == u'/' && d == u'*') {
            const std::size_t close = chars.find(u"*/", i + 2);
            if (close == std::u16string::npos) {
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
