#include "engine/LogicalPreparser.h"

#include <algorithm>

#include "engine/CommentWordChars.h"
#include "engine/CountSettings.h"
#include "engine/CountTrace.h"
#include "engine/Language.h"
#include "engine/LiteralScan.h"
#include "engine/MatchCounter.h"
#include "engine/Pattern.h"
#include "engine/PhysicalPreparser.h"
#include "engine/TextScan.h"
#include "engine/WideChar.h"

namespace tw {
namespace {

namespace patterns = logicalPreparserPatterns;

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
    const MatchStatus status = pattern.search(std::u16string_view(text).substr(position), match);
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

/// Keeps the directive at `hash` in `text.conditionals` when it is one of the conditional
/// directives; its text is still there.
void noteConditional(SourceText& text, std::size_t hash) {
    const std::u16string& chars = text.chars;
    std::size_t i = hash + 1;
    while (i < chars.size() && (chars[i] == u' ' || chars[i] == u'\t')) {
        ++i;
    }
    std::size_t end = i;
    while (end < chars.size() && end - i < 8 && chars[end] >= u'a' && chars[end] <= u'z') {
        ++end;
    }
    using Kind = ConditionalDirective::Kind;
    static constexpr struct {
        std::u16string_view name;
        Kind kind;
    } kNames[] = {{u"if", Kind::If},     {u"ifdef", Kind::If},     {u"ifndef", Kind::If},
                  {u"elif", Kind::Elif}, {u"elifdef", Kind::Elif}, {u"elifndef", Kind::Elif},
                  {u"else", Kind::Else}, {u"endif", Kind::Endif}};
    const std::u16string_view name = std::u16string_view(chars).substr(i, end - i);
    for (const auto& entry : kNames) {
        if (entry.name == name) {
            text.conditionals.push_back({static_cast<std::uint32_t>(hash), entry.kind});
            return;
        }
    }
}

}  // namespace

int countCommentWords(std::u16string_view text, std::size_t from, std::size_t to, UnitForm form) {
    // Each maximal run of word characters is a word, taking a following "'s" along when no word
    // character comes after it; a run counts when it holds a letter or digit. Letters and
    // digits are those of any script, so that accented and non-Latin words count whole.
    to = std::min(to, text.size());
    int words = 0;
    std::size_t i = from;
    while (i < to) {
        CommentChar c = commentCharAt(text, i, to, form);
        if (!c.word) {
            i += c.length;
            continue;
        }
        bool letterOrDigit = false;
        while (c.word) {
            letterOrDigit = letterOrDigit || c.letterOrDigit;
            i += c.length;
            if (i >= to) {
                break;
            }
            c = commentCharAt(text, i, to, form);
        }
        if (i + 1 < to && text[i] == u'\'' && text[i + 1] == u's' &&
            (i + 2 >= to || !commentCharAt(text, i + 2, to, form).word)) {
            letterOrDigit = true;
            i += 2;
        }
        words += letterOrDigit ? 1 : 0;
    }
    return words;
}

int zeroNumbers(std::u16string& text) {
    return zeroNumbers(text, 0, text.size());
}

int zeroNumbers(std::u16string& text, std::size_t from, std::size_t to) {
    const auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    const std::size_t n = std::min(to, text.size());
    int count = 0;
    std::size_t i = from;
    while (i < n) {
        // A number starts at a digit, or at a '.' before a digit.
        i = findDigitOrDot(text.data(), i, n);
        if (i >= n) {
            break;
        }
        const std::size_t start = i;
        if (isDigit(text[i])) {
            while (i < n && isDigit(text[i])) {
                ++i;
            }
            if (i < n && text[i] == u'.') {
                ++i;
                while (i < n && isDigit(text[i])) {
                    ++i;
                }
            }
        } else if (text[i] == u'.' && i + 1 < n && isDigit(text[i + 1])) {
            i += 2;
            while (i < n && isDigit(text[i])) {
                ++i;
            }
        } else {
            ++i;
            continue;
        }
        if (i < n && (text[i] == u'e' || text[i] == u'E')) {
            std::size_t exponent = i + 1;
            if (exponent < n && (text[exponent] == u'+' || text[exponent] == u'-')) {
                ++exponent;
            }
            if (exponent < n && isDigit(text[exponent])) {
                while (exponent < n && isDigit(text[exponent])) {
                    ++exponent;
                }
                i = exponent;
            }
        }
        if (i < n && (text[i] == u'f' || text[i] == u'F' || text[i] == u'l' || text[i] == u'L')) {
            ++i;
        }
        std::fill(text.begin() + static_cast<std::ptrdiff_t>(start),
                  text.begin() + static_cast<std::ptrdiff_t>(i), u'0');
        ++count;
    }
    return count;
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
            CountTrace::note(chars, match.begin, TraceKind::Directive);
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
        CountTrace::note(chars, match.begin, TraceKind::Directive);
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

bool preparseLogical(FileCount& record, SourceText& text, CountMode mode) {
    std::u16string& chars = text.chars;
    // Literals kept their lines for the line classifier; from here on each is one piece.
    for (const std::uint32_t lineFeed : text.literalLineFeeds) {
        chars[lineFeed] = kNewlineMarker;
    }
    const bool complexity = mode == CountMode::CyclomaticComplexity;
    // The complexity count reads no numbers, but names its functions from this text: their
    // digits stay, but for those of comments, whose words count as in the other modes.
    if (!complexity) {
        zeroNumbers(chars);
    }
    const Language& language = languageOf(record.fileType);
    const char16_t directive = language.directiveCharacter;
    const bool executable = mode == CountMode::Executable;
    text.conditionals.clear();
    const UnitForm form = unitFormOf(record.encoding);
    const bool spliced = language.splicesLines;
    const std::size_t n = chars.size();
    // A digit separator becomes part of its number, whose digits are '0' by now, so that 1'000
    // reads as a plain number. Each is overwritten only when the next is found: a quote still
    // standing ends the look back from the next separator of the same number, which keeps a
    // long run of separators linear.
    std::size_t lastSeparator = n;
    const auto joinSeparator = [&](std::size_t separator) {
        if (lastSeparator < n) {
            chars[lastSeparator] = u'0';
        }
        lastSeparator = separator;
    };
    std::size_t i = 0;
    while (i < n) {
        // A language without directives looks for a second '/' in their place.
        i = findAnyOf(chars.data(), i, n, u'"', u'\'', u'/', directive != 0 ? directive : u'/');
        if (i >= n) {
            break;
        }
        const char16_t c = chars[i];
        const char16_t d = i + 1 < n ? chars[i + 1] : u'\0';
        if (c == u'"' || c == u'\'') {
            const Literal literal = literalAt(chars, i, record.fileType);
            if (literal.form == LiteralForm::DigitSeparator) {
                joinSeparator(i);
                ++i;
                continue;
            }
            if (literal.end < 0) {
                record.remarks = u"Unterminated string or character literal";
                record.errorLine = lineOfPosition(text, asPosition(i));
                return false;
            }
            blankLiteral(chars, i, static_cast<std::size_t>(literal.end));
            i = static_cast<std::size_t>(literal.end) + 1;
        } else if (c == directive && directive != 0) {
            const std::int64_t end = findDirectiveEnd(text, i, record);
            if (end < 0) {
                record.remarks = u"Failure finding end of compiler directive: " + record.remarks;
                return false;
            }
            if (executable) {
                ++record.directive;
                CountTrace::note(chars, i, TraceKind::Directive);
            } else if (complexity) {
                noteConditional(text, i);
            }
            blankKeepingLineFeeds(chars, i, static_cast<std::size_t>(end));
            i = static_cast<std::size_t>(end) + 1;
        } else if (c == u'/' && d == u'*') {
            const std::size_t close = findCommentClose(chars.data(), i + 2, n);
            if (close >= n) {
                record.remarks = u"Unterminated comment";
                record.errorLine = lineOfPosition(text, asPosition(i));
                return false;
            }
            const std::size_t end = close + 1;  // the '/' of the "*/"
            if (complexity) {
                zeroNumbers(chars, i + 2, close);  // words count as in the other modes
            }
            record.commentWords +=
                static_cast<std::uint32_t>(countCommentWords(chars, i + 2, close, form));
            blankKeepingLineFeeds(chars, i, end + 1);
            i = end + 1;
        } else if (c == u'/' && d == u'/') {
            const std::size_t lineFeed = findLineEnd(chars.data(), i + 2, n, spliced);
            // Without a following line feed the comment runs to, and blanks, the end mark.
            const std::size_t end = lineFeed >= n ? n - 1 : lineFeed - 1;
            if (complexity) {
                zeroNumbers(chars, i + 2, end + 1);
            }
            record.commentWords +=
                static_cast<std::uint32_t>(countCommentWords(chars, i + 2, end + 1, form));
            blankKeepingLineFeeds(chars, i, end + 1);
            i = end + 1;
        } else {
            ++i;
        }
    }
    joinSeparator(n);
    // What follows prepares the text for statement counting alone: a physical count neither
    // needs it nor fails on it, and nor does the complexity count, which reads initialisers and
    // annotations as they are written (a '?' in an initialiser is a decision; Java's initialiser
    // rule would take the block after "= new T[n]" for one and hide it).
    if (mode == CountMode::Physical || complexity) {
        return true;
    }
    if (language.clearArrayInitialisers != nullptr) {
        if (!language.clearArrayInitialisers(text, record)) {
            record.remarks = u"Failed to parse array initialization: " + record.remarks;
            return false;
        }
    }
    if (language.countDirectiveStatements != nullptr) {
        const int directives = language.countDirectiveStatements(text, record);
        if (directives < 0) {
            record.remarks = u"Failed to count Java compiler directive: " + record.remarks;
            return false;
        }
        // Directives are counted in the Executable mode alone, as those of C and C++ are.
        if (executable) {
            record.directive += static_cast<std::uint32_t>(directives);
        }
    }
    return true;
}

}  // namespace tw
