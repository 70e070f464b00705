#include "engine/LogicalPreparser.h"

#include "engine/CountSettings.h"
#include "engine/MatchCounter.h"
#include "engine/Pattern.h"
#include "engine/PhysicalPreparser.h"
#include "engine/WideChar.h"

namespace tw {
namespace {

namespace patterns = logicalPreparserPatterns;

const Pattern& numbersPattern() {
    static const Pattern pattern(patterns::kNumbers);
    return pattern;
}
const Pattern& commentWordsPattern() {
    static const Pattern pattern(patterns::kCommentWords);
    return pattern;
}
const Pattern& cppArrayInitialiserPattern() {
    static const Pattern pattern(patterns::kCppArrayInitialiser);
    return pattern;
}
const Pattern& javaEmptyBracketsPattern() {
    static const Pattern pattern(patterns::kJavaEmptyBrackets);
    return pattern;
}
const Pattern& javaInitialiserPattern() {
    static const Pattern pattern(patterns::kJavaInitialiser);
    return pattern;
}
const Pattern& javaImportPattern() {
    static const Pattern pattern(patterns::kJavaImport);
    return pattern;
}
const Pattern& javaPackagePattern() {
    static const Pattern pattern(patterns::kJavaPackage);
    return pattern;
}
const Pattern& javaAnnotationTypePattern() {
    static const Pattern pattern(patterns::kJavaAnnotationType);
    return pattern;
}
const Pattern& javaAnnotationPattern() {
    static const Pattern pattern(patterns::kJavaAnnotation);
    return pattern;
}

/// Searches `text` from `position`, taken as the start of a text; positions in `match` are
/// made absolute. False when there is no match or the pattern engine gave up (`failed` set).
bool searchFrom(const Pattern& pattern, const std::u16string& text, std::size_t position,
                PatternMatch& match, bool& failed) {
    if (position > text.size()) {
        return false;
    }
    const MatchStatus status =
        pattern.search(std::u16string_view(text).substr(position), match);
    if (status == MatchStatus::Error) {
        failed = true;
    }
    if (status != MatchStatus::Found) {
        return false;
    }
    match.begin += position;
    match.end += position;
    match.groupBegin += position;
    match.groupEnd += position;
    return true;
}

/// Position of the brace, bracket or parenthesis that closes an opening one, scanning from
/// `from` with a depth of 1; npos when the text ends first.
std::size_t findClosing(const std::u16string& text, std::size_t from, char16_t open,
                        char16_t close) {
    int depth = 1;
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == open) {
            ++depth;
        } else if (text[i] == close && --depth == 0) {
            return i;
        }
    }
    return std::u16string::npos;
}

std::int64_t asPosition(std::size_t position) {
    return static_cast<std::int64_t>(position);
}

}  // namespace

int countCommentWords(std::u16string_view text, std::size_t from, std::size_t to) {
    if (to <= from || from >= text.size()) {
        return 0;
    }
    const std::u16string_view range = text.substr(from, to - from);
    int words = 0;
    std::size_t position = 0;
    PatternMatch match;
    while (position < range.size() &&
           commentWordsPattern().search(range.substr(position), match) == MatchStatus::Found) {
        const std::u16string_view word = range.substr(position + match.begin,
                                                      match.end - match.begin);
        for (const char16_t c : word) {
            if (isLetterOrDigit(c)) {
                ++words;
                break;
            }
        }
        position += match.end > 0 ? match.end : 1;
    }
    return words;
}

bool clearCppArrayInitialisers(SourceText& text, FileCount& record) {
    std::u16string& chars = text.chars;
    std::size_t position = 0;
    PatternMatch match;
    bool failed = false;
    while (searchFrom(cppArrayInitialiserPattern(), chars, position, match, failed)) {
        const std::size_t close = findClosing(chars, match.end, u'{', u'}');
        if (close == std::u16string::npos) {
            record.remarks = u"Unclosed array initialization brackets ({})";
            record.errorLine = lineOfPosition(text, asPosition(match.begin));
            return false;
        }
        blankKeepingLineFeeds(chars, match.begin, close + 1);
        position = close + 1;
    }
    if (failed) {
        record.remarks = u"Unable to match array initialization.";
        return false;
    }
    return true;
}

bool clearJavaArrayInitialisers(SourceText& text, FileCount& record) {
    std::u16string& chars = text.chars;
    PatternMatch match;
    bool failed = false;
    for (std::size_t position = 0;
         searchFrom(javaEmptyBracketsPattern(), chars, position, match, failed);) {
        blankKeepingLineFeeds(chars, match.begin, match.end);
        position = match.end;
    }
    // Initialisers come in text order and blanking only removes braces, so the first '{' at or
    // after a match never lies before the one found for the previous match: the search for it
    // resumes there instead of rescanning the text.
    std::size_t braceSearch = 0;
    for (std::size_t position = 0;
         !failed && searchFrom(javaInitialiserPattern(), chars, position, match, failed);) {
        const std::size_t brace = chars.find(u'{', std::max(match.begin, braceSearch));
        braceSearch = brace == std::u16string::npos ? chars.size() : brace;
        if (brace != std::u16string::npos) {
            const std::size_t close = findClosing(chars, brace + 1, u'{', u'}');
            if (close == std::u16string::npos) {
                record.remarks = u"Unclosed array initialization brackets ({})";
                record.errorLine = lineOfPosition(text, asPosition(brace));
                return false;
            }
            blankKeepingLineFeeds(chars, brace, close + 1);
        }
        position = match.end + 1;
    }
    if (failed) {
        record.remarks = u"Unable to match array initialization.";
        return false;
    }
    return true;
}

int countJavaDirectives(SourceText& text, FileCount& record) {
    std::u16string& chars = text.chars;
    int count = 0;
    PatternMatch match;
    bool failed = false;
    for (const Pattern* statement : {&javaImportPattern(), &javaPackagePattern()}) {
        for (std::size_t position = 0;
             !failed && searchFrom(*statement, chars, position, match, failed);) {
            blankKeepingLineFeeds(chars, match.begin, match.end);
            ++count;
            position = match.end;
        }
    }
    // "@interface" declares an annotation type; hiding its '@' keeps it from counting below.
    if (!failed && countMatches(chars, javaAnnotationTypePattern(), u' ', false) < 0) {
        failed = true;
    }
    for (std::size_t position = 0;
         !failed && searchFrom(javaAnnotationPattern(), chars, position, match, failed);) {
        ++count;
        if (chars[match.end - 1] != u'(') {
            position = match.end;
            continue;
        }
        const std::size_t close = findClosing(chars, match.end, u'(', u')');
        if (close == std::u16string::npos) {
            record.remarks = u"Unclosed annotation parentheses";
            record.errorLine = lineOfPosition(text, asPosition(match.begin));
            return -1;
        }
        blankKeepingLineFeeds(chars, match.begin, close + 1);
        position = close;
    }
    if (failed) {
        record.remarks = u"Unable to match Java directives.";
        return -1;
    }
    return count;
}

bool preparseLogical(FileCount& record, SourceText& text) {
    std::u16string& chars = text.chars;
    if (countMatches(chars, numbersPattern(), u'0', false) < 0) {
        record.remarks = u"Failed to parse numbers.";
        return false;
    }
    const bool cpp = isCppFile(record.fileType);
    const bool executable = countSettings().mode == CountMode::Executable;
    const std::size_t n = chars.size();
    std::size_t i = 0;
    while (i < n) {
        const char16_t c = chars[i];
        const char16_t d = i + 1 < n ? chars[i + 1] : u'\0';
        if (c == u'"' || c == u'\'') {
            const std::int64_t end = findLiteralEnd(chars, i, c);
            if (end < 0) {
                record.remarks = u"Unterminated string or character literal";
                record.errorLine = lineOfPosition(text, asPosition(i));
                return false;
            }
            blankLiteral(chars, i, static_cast<std::size_t>(end));
            i = static_cast<std::size_t>(end) + 1;
        } else if (c == u'#' && cpp) {
            const std::int64_t end = findDirectiveEnd(text, i, record);
            if (end < 0) {
                record.remarks = u"Failure finding end of compiler directive: " + record.remarks;
                return false;
            }
            if (executable) {
                ++record.directive;
            }
            blankKeepingLineFeeds(chars, i, static_cast<std::size_t>(end));
            i = static_cast<std::size_t>(end) + 1;
        } else if (c == u'/' && d == u'*') {
            const std::size_t close = chars.find(u"*/", i + 2);
            if (close == std::u16string::npos) {
                record.remarks = u"Unterminated comment";
                record.errorLine = lineOfPosition(text, asPosition(i));
                return false;
            }
            const std::size_t end = close + 1;  // the '/' of the "*/"
            record.commentWords += static_cast<std::uint32_t>(countCommentWords(chars, i + 2, close));
            blankKeepingLineFeeds(chars, i, end + 1);
            i = end + 1;
        } else if (c == u'/' && d == u'/') {
            const std::size_t lineFeed = chars.find(u'\n', i + 2);
            // Without a following line feed the comment runs to, and blanks, the end mark.
            const std::size_t end = lineFeed == std::u16string::npos ? n - 1 : lineFeed - 1;
            record.commentWords += static_cast<std::uint32_t>(countCommentWords(chars, i + 2, end + 1));
            blankKeepingLineFeeds(chars, i, end + 1);
            i = end + 1;
        } else {
            ++i;
        }
    }
    if (cpp || record.fileType == FileType::JavaSource) {
        const bool cleared = cpp ? clearCppArrayInitialisers(text, record)
                                 : clearJavaArrayInitialisers(text, record);
        if (!cleared) {
            record.remarks = u"Failed to parse array initialization: " + record.remarks;
            return false;
        }
    }
    if (record.fileType == FileType::JavaSource) {
        const int directives = countJavaDirectives(text, record);
        if (directives < 0) {
            record.remarks = u"Failed to count Java compiler directive: " + record.remarks;
            return false;
        }
        record.directive += static_cast<std::uint32_t>(directives);
    }
    return true;
}

}  // namespace tw
