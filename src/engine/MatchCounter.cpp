#include "engine/MatchCounter.h"

#include "engine/SourceText.h"
#include "engine/WideChar.h"

namespace tw {

void overwriteSpan(std::u16string& text, std::size_t from, std::size_t to, char16_t fill) {
    for (std::size_t i = from; i < to; ++i) {
        text[i] = text[i] == u'\n' ? kNewlineMarker : fill;
    }
}

void blankKeepingLineFeeds(std::u16string& text, std::size_t from, std::size_t to) {
    // Every unit written, line feeds as themselves: a loop the compiler turns into vector code.
    char16_t* const units = text.data();
    for (std::size_t i = from; i < to; ++i) {
        units[i] = units[i] == u'\n' ? u'\n' : u' ';
    }
}

namespace {

template <typename Search>
int countFound(std::u16string& text, const Search& search, char16_t fill, bool extendWhitespace,
               std::optional<TraceKind> noteAs) {
    int count = 0;
    std::size_t position = 0;
    PatternMatch match;
    while (position <= text.size()) {
        const std::u16string_view rest(text.data() + position, text.size() - position);
        const MatchStatus status = search(rest, match);
        if (status == MatchStatus::NotFound) {
            return count;
        }
        if (status == MatchStatus::Error || match.group == 0) {
            return -1;
        }
        const std::size_t begin = position + match.groupBegin;
        const std::size_t end = position + match.groupEnd;
        if (extendWhitespace) {
            for (std::size_t i = begin; i > 0 && isBlankChar(text[i - 1]); --i) {
                text[i - 1] = text[i - 1] == u'\n' ? kNewlineMarker : fill;
            }
            for (std::size_t i = end; i < text.size() && isBlankChar(text[i]); ++i) {
                text[i] = text[i] == u'\n' ? kNewlineMarker : fill;
            }
        }
        overwriteSpan(text, begin, end, fill);
        ++count;
        if (noteAs) {
            CountTrace::note(text, begin, *noteAs);
        }
        // The program's patterns never count an empty group; should one ever do so, step on
        // rather than search the same place forever.
        position = end > position ? end : position + (match.end > 0 ? match.end : 1);
    }
    return count;
}

}  // namespace

int countMatches(std::u16string& text, const Pattern& pattern, char16_t fill, bool extendWhitespace,
                 std::optional<TraceKind> noteAs) {
    return countFound(
        text,
        [&pattern](std::u16string_view rest, PatternMatch& match) {
            return pattern.search(rest, match);
        },
        fill, extendWhitespace, noteAs);
}

int countMatches(std::u16string& text, PatternScanner scan, char16_t fill, bool extendWhitespace,
                 std::optional<TraceKind> noteAs) {
    return countFound(text, scan, fill, extendWhitespace, noteAs);
}

}  // namespace tw
