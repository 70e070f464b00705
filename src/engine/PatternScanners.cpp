#include "engine/PatternScanners.h"

#include <cstddef>

#include "engine/TextScan.h"

namespace tw {
namespace {

/// Fills `match` for a match at [begin, end) whose group `group` is [groupBegin, groupEnd).
MatchStatus found(PatternMatch& match, std::size_t begin, std::size_t end, int group,
                  std::size_t groupBegin, std::size_t groupEnd) {
    match.begin = begin;
    match.end = end;
    match.group = group;
    match.groupBegin = groupBegin;
    match.groupEnd = groupEnd;
    return MatchStatus::Found;
}

/// The first of `units` in `subject` at or after `from`; the subject's size when none is.
template <std::size_t N>
std::size_t nextOf(std::u16string_view subject, std::size_t from, const char16_t (&units)[N]) {
    if constexpr (N <= 4) {
        const char16_t last = units[N - 1];
        return findAnyOf(subject.data(), from, subject.size(), units[0], units[N > 1 ? 1 : N - 1],
                         units[N > 2 ? 2 : N - 1], last);
    } else {
        return findAnyOfSet(subject.data(), from, subject.size(), units);
    }
}

/// A pattern that is one group of one character: its first occurrence.
MatchStatus oneChar(std::u16string_view subject, char16_t c, PatternMatch& match) {
    const std::size_t at = findUnit(subject.data(), 0, subject.size(), c);
    if (at >= subject.size()) {
        return MatchStatus::NotFound;
    }
    return found(match, at, at + 1, 1, at, at + 1);
}

/// A pattern that is one group of two characters: its first occurrence.
MatchStatus twoChars(std::u16string_view subject, char16_t first, char16_t second,
                     PatternMatch& match) {
    const std::size_t n = subject.size();
    for (std::size_t at = findUnit(subject.data(), 0, n, first); at + 1 < n;
         at = findUnit(subject.data(), at + 1, n, first)) {
        if (subject[at + 1] == second) {
            return found(match, at, at + 2, 1, at, at + 2);
        }
    }
    return MatchStatus::NotFound;
}

/// The three characters `first`, `first`, '=': the group of a shift assignment.
MatchStatus shiftAssign(std::u16string_view subject, char16_t first, PatternMatch& match) {
    const std::size_t n = subject.size();
    for (std::size_t at = findUnit(subject.data(), 0, n, first); at + 2 < n;
         at = findUnit(subject.data(), at + 1, n, first)) {
        if (subject[at + 1] == first && subject[at + 2] == u'=') {
            return found(match, at, at + 3, 1, at, at + 3);
        }
    }
    return MatchStatus::NotFound;
}

/// The ASCII word characters of \w and \b.
bool isWordUnit(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_';
}

/// `(&)|(\|)|(~)|(\^)|(<<)|(>>)`, with the group numbers of that order; the Java form's added
/// three-character alternatives come after the two-character ones and so never win.
MatchStatus bitwiseOperators(std::u16string_view subject, PatternMatch& match) {
    static constexpr char16_t kFirst[] = {u'&', u'|', u'~', u'^', u'<', u'>'};
    const std::size_t n = subject.size();
    for (std::size_t i = nextOf(subject, 0, kFirst); i < n; i = nextOf(subject, i + 1, kFirst)) {
        switch (subject[i]) {
            case u'&':
                return found(match, i, i + 1, 1, i, i + 1);
            case u'|':
                return found(match, i, i + 1, 2, i, i + 1);
            case u'~':
                return found(match, i, i + 1, 3, i, i + 1);
            case u'^':
                return found(match, i, i + 1, 4, i, i + 1);
            case u'<':
                if (i + 1 < n && subject[i + 1] == u'<') {
                    return found(match, i, i + 2, 5, i, i + 2);
                }
                break;
            case u'>':
                if (i + 1 < n && subject[i + 1] == u'>') {
                    return found(match, i, i + 2, 6, i, i + 2);
                }
                break;
            default:
                break;
        }
    }
    return MatchStatus::NotFound;
}

/// The blanks of \s: space, tab, line feed, vertical tab, form feed, carriage return.
bool isSpaceUnit(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

/// The end of `word` followed by at least one blank and then '(' at `at`, or npos.
std::size_t wordBlanksParenthesis(std::u16string_view subject, std::size_t at,
                                  std::u16string_view word) {
    if (subject.substr(at, word.size()) != word) {
        return std::u16string_view::npos;
    }
    std::size_t i = at + word.size();
    const std::size_t blanks = i;
    while (i < subject.size() && isSpaceUnit(subject[i])) {
        ++i;
    }
    if (i == blanks || i >= subject.size() || subject[i] != u'(') {
        return std::u16string_view::npos;
    }
    return i + 1;
}

/// The end of `word` at `at` when a word boundary follows it, or npos.
std::size_t wholeWord(std::u16string_view subject, std::size_t at, std::u16string_view word) {
    const std::size_t end = at + word.size();
    if (subject.substr(at, word.size()) != word ||
        (end < subject.size() && isWordUnit(subject[end]))) {
        return std::u16string_view::npos;
    }
    return end;
}

/// The end of `word` at `at`, whatever follows, or npos.
std::size_t bareWord(std::u16string_view subject, std::size_t at, std::u16string_view word) {
    return subject.substr(at, word.size()) == word ? at + word.size() : std::u16string_view::npos;
}

/// The logic pattern's alternatives at the start of a word, in the pattern's order; the end of
/// the first that matches, or npos.
std::size_t logicAt(std::u16string_view s, std::size_t at, bool java) {
    constexpr std::size_t npos = std::u16string_view::npos;
    std::size_t end = npos;
    switch (s[at]) {
        case u'i':
            return wordBlanksParenthesis(s, at, u"if");
        case u'e':
            if (bareWord(s, at, u"else") != npos) {
                std::size_t i = at + 4;
                const std::size_t blanks = i;
                while (i < s.size() && isSpaceUnit(s[i])) {
                    ++i;
                }
                if (i > blanks && (end = wordBlanksParenthesis(s, i, u"if")) != npos) {
                    return end;
                }
                return at + 4;
            }
            return npos;
        case u'w':
            return wordBlanksParenthesis(s, at, u"while");
        case u'f':
            if ((end = wordBlanksParenthesis(s, at, u"for")) != npos) {
                return end;
            }
            return java ? wholeWord(s, at, u"finally") : npos;
        case u'c':
            if ((end = bareWord(s, at, u"case")) != npos ||
                (end = wholeWord(s, at, u"continue")) != npos) {
                return end;
            }
            return wholeWord(s, at, u"catch");
        case u's':
            return wordBlanksParenthesis(s, at, u"switch");
        case u'b':
            return wholeWord(s, at, u"break");
        case u'd':
            return wholeWord(s, at, u"default");
        case u'r':
            return wholeWord(s, at, u"return");
        case u'g':
            return wholeWord(s, at, u"goto");
        case u't':
            return wholeWord(s, at, u"try");
        default:
            return npos;
    }
}

/// The first match of a logic pattern: only the start of a word can begin one.
MatchStatus logicSearch(std::u16string_view subject, PatternMatch& match, bool java) {
    static constexpr char16_t kFirst[] = {u'i', u'e', u'w', u'f', u'c', u's',
                                          u'b', u'd', u'r', u'g', u't'};
    const std::size_t n = subject.size();
    for (std::size_t i = nextOf(subject, 0, kFirst); i < n; i = nextOf(subject, i + 1, kFirst)) {
        if (i > 0 && isWordUnit(subject[i - 1])) {
            continue;
        }
        if (const std::size_t end = logicAt(subject, i, java); end != std::u16string_view::npos) {
            return found(match, i, end, 1, i, end);
        }
    }
    return MatchStatus::NotFound;
}

}  // namespace

namespace operatorScanners {

MatchStatus scope(std::u16string_view subject, PatternMatch& match) {
    return twoChars(subject, u':', u':', match);
}

MatchStatus memberAccess(std::u16string_view subject, PatternMatch& match) {
    static constexpr char16_t kFirst[] = {u'-', u'.'};
    const std::size_t n = subject.size();
    for (std::size_t i = nextOf(subject, 0, kFirst); i < n; i = nextOf(subject, i + 1, kFirst)) {
        if (subject[i] == u'-' && i + 1 < n && subject[i + 1] == u'>') {
            return found(match, i, i + 2, 1, i, i + 2);
        }
        if (subject[i] == u'.') {
            return found(match, i, i + 1, 1, i, i + 1);
        }
    }
    return MatchStatus::NotFound;
}

MatchStatus incrementDecrement(std::u16string_view subject, PatternMatch& match) {
    static constexpr char16_t kFirst[] = {u'+', u'-'};
    const std::size_t n = subject.size();
    for (std::size_t i = nextOf(subject, 0, kFirst); i + 1 < n;
         i = nextOf(subject, i + 1, kFirst)) {
        const char16_t c = subject[i];
        if ((c == u'+' || c == u'-') && subject[i + 1] == c) {
            return found(match, i, i + 2, c == u'+' ? 1 : 2, i, i + 2);
        }
    }
    return MatchStatus::NotFound;
}

MatchStatus booleanLogic(std::u16string_view subject, PatternMatch& match) {
    // (==)|(!=)|(!)[^!]|(>=)|(>)[^>]|(<=)|(<)[^<]|(&&)|(\|\|), tried in that order at each place.
    static constexpr char16_t kFirst[] = {u'=', u'!', u'>', u'<', u'&', u'|'};
    const std::size_t n = subject.size();
    for (std::size_t i = nextOf(subject, 0, kFirst); i < n; i = nextOf(subject, i + 1, kFirst)) {
        const char16_t c = subject[i];
        const bool hasNext = i + 1 < n;
        const char16_t d = hasNext ? subject[i + 1] : u'\0';
        switch (c) {
            case u'=':
                if (hasNext && d == u'=') {
                    return found(match, i, i + 2, 1, i, i + 2);
                }
                break;
            case u'!':
                if (hasNext && d == u'=') {
                    return found(match, i, i + 2, 2, i, i + 2);
                }
                if (hasNext && d != u'!') {
                    return found(match, i, i + 2, 3, i, i + 1);
                }
                break;
            case u'>':
                if (hasNext && d == u'=') {
                    return found(match, i, i + 2, 4, i, i + 2);
                }
                if (hasNext && d != u'>') {
                    return found(match, i, i + 2, 5, i, i + 1);
                }
                break;
            case u'<':
                if (hasNext && d == u'=') {
                    return found(match, i, i + 2, 6, i, i + 2);
                }
                if (hasNext && d != u'<') {
                    return found(match, i, i + 2, 7, i, i + 1);
                }
                break;
            case u'&':
                if (hasNext && d == u'&') {
                    return found(match, i, i + 2, 8, i, i + 2);
                }
                break;
            case u'|':
                if (hasNext && d == u'|') {
                    return found(match, i, i + 2, 9, i, i + 2);
                }
                break;
            default:
                break;
        }
    }
    return MatchStatus::NotFound;
}

MatchStatus addAssign(std::u16string_view subject, PatternMatch& match) {
    return twoChars(subject, u'+', u'=', match);
}
MatchStatus subtractAssign(std::u16string_view subject, PatternMatch& match) {
    return twoChars(subject, u'-', u'=', match);
}
MatchStatus multiplyAssign(std::u16string_view subject, PatternMatch& match) {
    return twoChars(subject, u'*', u'=', match);
}
MatchStatus divideAssign(std::u16string_view subject, PatternMatch& match) {
    return twoChars(subject, u'/', u'=', match);
}
MatchStatus remainderAssign(std::u16string_view subject, PatternMatch& match) {
    return twoChars(subject, u'%', u'=', match);
}
MatchStatus andAssign(std::u16string_view subject, PatternMatch& match) {
    return twoChars(subject, u'&', u'=', match);
}
MatchStatus xorAssign(std::u16string_view subject, PatternMatch& match) {
    return twoChars(subject, u'^', u'=', match);
}
MatchStatus orAssign(std::u16string_view subject, PatternMatch& match) {
    return twoChars(subject, u'|', u'=', match);
}
MatchStatus shiftRightAssign(std::u16string_view subject, PatternMatch& match) {
    return shiftAssign(subject, u'>', match);
}
MatchStatus shiftLeftAssign(std::u16string_view subject, PatternMatch& match) {
    return shiftAssign(subject, u'<', match);
}

MatchStatus assign(std::u16string_view subject, PatternMatch& match) {
    // (=)[^=]: an '=' with any character but '=' after it.
    const std::size_t n = subject.size();
    for (std::size_t at = findUnit(subject.data(), 0, n, u'='); at + 1 < n;
         at = findUnit(subject.data(), at + 1, n, u'=')) {
        if (subject[at + 1] != u'=') {
            return found(match, at, at + 2, 1, at, at + 1);
        }
    }
    return MatchStatus::NotFound;
}

MatchStatus add(std::u16string_view subject, PatternMatch& match) {
    return oneChar(subject, u'+', match);
}
MatchStatus subtract(std::u16string_view subject, PatternMatch& match) {
    return oneChar(subject, u'-', match);
}

MatchStatus multiply(std::u16string_view subject, PatternMatch& match) {
    // (\*+): the whole run of stars.
    const std::size_t at = findUnit(subject.data(), 0, subject.size(), u'*');
    if (at >= subject.size()) {
        return MatchStatus::NotFound;
    }
    std::size_t end = at + 1;
    while (end < subject.size() && subject[end] == u'*') {
        ++end;
    }
    return found(match, at, end, 1, at, end);
}

MatchStatus divide(std::u16string_view subject, PatternMatch& match) {
    return oneChar(subject, u'/', match);
}
MatchStatus remainder(std::u16string_view subject, PatternMatch& match) {
    return oneChar(subject, u'%', match);
}

MatchStatus bitwise(std::u16string_view subject, PatternMatch& match) {
    return bitwiseOperators(subject, match);
}

MatchStatus newDelete(std::u16string_view subject, PatternMatch& match) {
    // \b(new|delete)\b, where the subject's start and end are boundaries of a word.
    static constexpr std::u16string_view kWords[] = {u"new", u"delete"};
    static constexpr char16_t kFirst[] = {u'n', u'd'};
    const std::size_t n = subject.size();
    for (std::size_t i = nextOf(subject, 0, kFirst); i < n; i = nextOf(subject, i + 1, kFirst)) {
        if (i > 0 && isWordUnit(subject[i - 1])) {
            continue;
        }
        for (const std::u16string_view word : kWords) {
            const std::size_t end = i + word.size();
            if (subject.substr(i, word.size()) == word && (end == n || !isWordUnit(subject[end]))) {
                return found(match, i, end, 1, i, end);
            }
        }
    }
    return MatchStatus::NotFound;
}

MatchStatus ternary(std::u16string_view subject, PatternMatch& match) {
    return oneChar(subject, u'?', match);
}

MatchStatus javaMemberAccess(std::u16string_view subject, PatternMatch& match) {
    return oneChar(subject, u'.', match);
}

MatchStatus javaBitwise(std::u16string_view subject, PatternMatch& match) {
    return bitwiseOperators(subject, match);
}

}  // namespace operatorScanners

namespace logicScanners {

MatchStatus cpp(std::u16string_view subject, PatternMatch& match) {
    return logicSearch(subject, match, false);
}

MatchStatus java(std::u16string_view subject, PatternMatch& match) {
    return logicSearch(subject, match, true);
}

}  // namespace logicScanners

namespace declarationScanners {
namespace {

/// The first of `words` to be found, the one listed first where two start at one place;
/// `first` holds the words' first letters.
template <std::size_t N, std::size_t M>
MatchStatus firstOf(std::u16string_view subject, const std::u16string_view (&words)[N],
                    const char16_t (&first)[M], PatternMatch& match) {
    const std::size_t n = subject.size();
    for (std::size_t at = nextOf(subject, 0, first); at < n; at = nextOf(subject, at + 1, first)) {
        for (const std::u16string_view word : words) {
            if (subject.substr(at, word.size()) == word) {
                return found(match, at, at + word.size(), 1, at, at + word.size());
            }
        }
    }
    return MatchStatus::NotFound;
}

}  // namespace

MatchStatus classOrStruct(std::u16string_view subject, PatternMatch& match) {
    static constexpr std::u16string_view kWords[] = {u"class ", u"struct "};
    static constexpr char16_t kFirst[] = {u'c', u's'};
    return firstOf(subject, kWords, kFirst, match);
}

MatchStatus javaClassKeyword(std::u16string_view subject, PatternMatch& match) {
    static constexpr std::u16string_view kWords[] = {u"class ", u"struct ", u"interface "};
    static constexpr char16_t kFirst[] = {u'c', u's', u'i'};
    return firstOf(subject, kWords, kFirst, match);
}

MatchStatus typedefStatement(std::u16string_view subject, PatternMatch& match) {
    // (\btypedef\s+[^;]*;): "typedef" at the start of a word, a blank, and on to the next ';'.
    static constexpr std::u16string_view kWord = u"typedef";
    const std::size_t n = subject.size();
    for (std::size_t at = findUnit(subject.data(), 0, n, u't'); at < n;
         at = findUnit(subject.data(), at + 1, n, u't')) {
        if (subject.substr(at, kWord.size()) != kWord) {
            continue;
        }
        const std::size_t after = at + kWord.size();
        if ((at > 0 && isWordUnit(subject[at - 1])) || after >= n || !isSpaceUnit(subject[after])) {
            continue;
        }
        const std::size_t semicolon = findUnit(subject.data(), after, n, u';');
        if (semicolon >= n) {
            return MatchStatus::NotFound;  // no later start has a ';' after it either
        }
        return found(match, at, semicolon + 1, 1, at, semicolon + 1);
    }
    return MatchStatus::NotFound;
}

}  // namespace declarationScanners

namespace functionScanners {

MatchStatus functionName(std::u16string_view piece) {
    // [a-zA-Z_]\w*\s*
    if (piece.empty() || !isWordUnit(piece[0]) || (piece[0] >= u'0' && piece[0] <= u'9')) {
        return MatchStatus::NotFound;
    }
    std::size_t i = 1;
    while (i < piece.size() && isWordUnit(piece[i])) {
        ++i;
    }
    while (i < piece.size() && isSpaceUnit(piece[i])) {
        ++i;
    }
    return i == piece.size() ? MatchStatus::Found : MatchStatus::NotFound;
}

MatchStatus keyword(std::u16string_view piece) {
    // (for|while|if|switch|return|case|sizeof)\s*
    static constexpr std::u16string_view kWords[] = {u"for",    u"while", u"if",    u"switch",
                                                     u"return", u"case",  u"sizeof"};
    for (const std::u16string_view word : kWords) {
        if (piece.substr(0, word.size()) != word) {
            continue;
        }
        std::size_t i = word.size();
        while (i < piece.size() && isSpaceUnit(piece[i])) {
            ++i;
        }
        if (i == piece.size()) {
            return MatchStatus::Found;
        }
    }
    return MatchStatus::NotFound;
}

}  // namespace functionScanners

}  // namespace tw
