#include "engine/DeclarationCounter.h"

#include <algorithm>
#include <cstdint>

#include "engine/CommaPieces.h"
#include "engine/CountTrace.h"
#include "engine/MatchCounter.h"
#include "engine/PatternScanners.h"
#include "engine/RunSkipper.h"
#include "engine/SourceText.h"
#include "engine/TextScan.h"
#include "engine/WideChar.h"

namespace tw {
namespace {

namespace patterns = declarationPatterns;

/// The patterns of one language's declaration stage.
struct DeclarationPatterns {
    Pattern templateList;
    Pattern statement;
    Pattern firstDeclarator;
    Pattern furtherDeclarator;
    PatternScanner keywords;
    bool java;
};

const DeclarationPatterns& cppPatterns() {
    static const DeclarationPatterns compiled{
        Pattern(patterns::kTemplateListRunning),    Pattern(patterns::kStatement),
        Pattern(patterns::kFirstDeclaratorRunning), Pattern(patterns::kFurtherDeclaratorRunning),
        declarationScanners::classOrStruct,         false,
    };
    return compiled;
}

const DeclarationPatterns& javaPatterns() {
    static const DeclarationPatterns compiled{
        Pattern(patterns::kJavaTemplateListRunning),
        Pattern(patterns::kJavaStatement),
        Pattern(patterns::kJavaFirstDeclaratorRunning),
        Pattern(patterns::kJavaFurtherDeclaratorRunning),
        declarationScanners::javaClassKeyword,
        true,
    };
    return compiled;
}

const Pattern& initialisedByFunctionPattern() {
    static const Pattern pattern(patterns::kInitialisedByFunction);
    return pattern;
}

/// The white space of the patterns (\s).
bool isPatternSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

bool isNameStart(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

/// A character that may stand inside a template argument list between '<' and '>'.
bool isListInnerChar(char16_t c, bool java) {
    return isWordChar(c) || isPatternSpace(c) || c == u',' || (!java && (c == u'&' || c == u'*'));
}

/// Phase 1: template argument lists become words of '_', innermost first. The '<' remembered
/// is always the last one still in the text, so the remembered positions form a stack; each
/// keeps how far the characters after it are known to be list characters, so a list that can
/// no longer match is never scanned again.
bool glueTemplateLists(std::u16string& text, FileCount& record,
                       const DeclarationPatterns& patterns) {
    if (text.size() > RunSkipper::kMaxText) {
        record.remarks = u"Text too large to parse.";
        return false;
    }
    struct Less {
        std::size_t position;
        std::size_t scanned;
    };
    RunSkipper forward(text, forwardRunClass, RunSkipper::Direction::Forward);
    std::vector<Less> lesses;
    std::u16string copy;
    // Only '<' and '>' start work, and gluing overwrites no further than the '>' at hand.
    const std::size_t n = text.size();
    for (std::size_t close = findAnyOf(text.data(), 0, n, u'<', u'>', u'<', u'>'); close < n;
         close = findAnyOf(text.data(), close + 1, n, u'<', u'>', u'<', u'>')) {
        if (text[close] == u'<') {
            lesses.push_back({close, close + 1});
            continue;
        }
        if (text[close] != u'>' || lesses.empty()) {
            continue;
        }
        Less& open = lesses.back();
        std::size_t s = open.scanned;
        while (s < close) {
            if (forward.classOf(text[s]) != 0) {
                s = std::min(static_cast<std::size_t>(forward.beyondRun(s)), close);
            } else if (isListInnerChar(text[s], patterns.java)) {
                ++s;
            } else {
                break;
            }
        }
        open.scanned = s;
        if (s != close) {
            continue;
        }
        copy.clear();
        appendShortened(copy, text, forward, open.position, close);
        const MatchStatus list = patterns.templateList.fullMatch(copy);
        if (list == MatchStatus::Error) {
            record.remarks = u"Failed to match template argument lists.";
            return false;
        }
        if (list == MatchStatus::NotFound) {
            continue;
        }
        overwriteWithUnderscores(text, forward, open.position, close, [](std::size_t) {});
        lesses.pop_back();
    }
    return true;
}

/// Phase 2: declaration statements. False after a failure, with `remarks` set.
bool countStatements(std::u16string& text, FileCount& record, const DeclarationPatterns& patterns,
                     int& declarations, DeclarationTally& tally) {
    PatternMatch match;
    for (std::size_t position = 0;;) {
        const MatchStatus found = findDeclarationStatement(text, position, patterns.java, match);
        if (found == MatchStatus::NotFound) {
            return true;
        }
        if (found == MatchStatus::Error) {
            record.remarks = u"Failed to match declaration statements.";
            return false;
        }
        position = match.end;
        const std::u16string_view body =
            std::u16string_view(text).substr(match.begin, match.end - 1 - match.begin);
        bool failed = false;
        bool first = true;
        const bool accepted = forEachCommaPiece(body, [&](std::u16string_view piece, std::size_t) {
            const MatchStatus fits = first ? (piece.substr(0, 6) == u"return"
                                                  ? MatchStatus::NotFound
                                                  : patterns.firstDeclarator.fullMatch(piece))
                                           : patterns.furtherDeclarator.fullMatch(piece);
            first = false;
            failed = fits == MatchStatus::Error;
            return fits == MatchStatus::Found;
        });
        if (failed) {
            record.remarks = u"Failed to match declaration statements.";
            return false;
        }
        if (!accepted) {
            continue;
        }
        forEachCommaPiece(body, [&](std::u16string_view piece, std::size_t offset) {
            ++declarations;
            CountTrace::note(text, match.begin + offset, TraceKind::Declaration);
            // Whether an initialiser of this piece is a function call; asked at most once.
            MatchStatus initialisedByFunction = MatchStatus::Error;
            for (std::size_t k = 0; k < piece.size(); ++k) {
                if (piece[k] == u'=') {
                    ++tally.initialisers;
                    CountTrace::note(text, match.begin + offset + k, TraceKind::Statement);
                } else if (piece[k] == u'@') {
                    if (initialisedByFunction == MatchStatus::Error) {
                        PatternMatch ignored;
                        initialisedByFunction =
                            initialisedByFunctionPattern().search(piece, ignored);
                        if (initialisedByFunction == MatchStatus::Error) {
                            failed = true;
                            return false;
                        }
                    }
                    if (initialisedByFunction == MatchStatus::NotFound) {
                        ++tally.functionDeclarators;
                        tally.declaratorMarkers.push_back(match.begin + offset + k);
                        break;
                    }
                }
            }
            return true;
        });
        if (failed) {
            record.remarks = u"Failed to match declaration statements.";
            return false;
        }
        blankKeepingLineFeeds(text, match.begin, match.end);
    }
}

/// Phase 3: typedefs phase 2 left. A match ends at a ';', so nothing after the last ';' can
/// take part; leaving that tail out keeps every failed attempt short (each start that fits
/// "typedef" then reaches a ';').
int countTypedefs(std::u16string& text) {
    const std::size_t lastSemicolon = text.rfind(u';');
    if (lastSemicolon == std::u16string::npos) {
        return 0;
    }
    const std::u16string tail = text.substr(lastSemicolon + 1);
    text.resize(lastSemicolon + 1);
    const int count = countMatches(text, declarationScanners::typedefStatement, u' ', false,
                                   TraceKind::Declaration);
    text += tail;
    return count;
}

int countDeclarations(std::u16string& text, FileCount& record, DeclarationTally& tally,
                      const DeclarationPatterns& patterns) {
    tally = DeclarationTally{};
    int declarations = 0;
    if (!glueTemplateLists(text, record, patterns) ||
        !countStatements(text, record, patterns, declarations, tally)) {
        return -1;
    }
    if (!patterns.java) {
        const int typedefs = countTypedefs(text);
        if (typedefs < 0) {
            record.remarks = u"Failed to count typedefs.";
            return -1;
        }
        declarations += typedefs;
    }
    const int keywords = countMatches(text, patterns.keywords, u' ', false, TraceKind::Declaration);
    if (keywords < 0) {
        record.remarks = u"Failed to count class and struct keywords.";
        return -1;
    }
    return declarations + keywords;
}

/// The same with the tally's two counts as separate outputs.
int countDeclarations(std::u16string& text, FileCount& record, const DeclarationPatterns& patterns,
                      int& initialisers, int& functionDeclarators) {
    DeclarationTally tally;
    const int count = countDeclarations(text, record, tally, patterns);
    initialisers = tally.initialisers;
    functionDeclarators = tally.functionDeclarators;
    return count;
}

/// Where the line holding `position` ends: its line feed, or the end of the text.
std::size_t lineEnd(std::u16string_view text, std::size_t position) {
    const std::size_t lineFeed = text.find(u'\n', position);
    return lineFeed == std::u16string_view::npos ? text.size() : lineFeed;
}

}  // namespace

MatchStatus findDeclarationStatement(std::u16string_view text, std::size_t from, bool java,
                                     PatternMatch& match) {
    // A match starts at a letter or '_', runs over word characters (and '&' or '*' in C/C++)
    // and at least one blank to a character r, and ends at the last ';' of r's line. Every
    // start inside the same word reaches the same r, so a failed word is left whole. The line
    // last looked at is remembered: its end and its last ';' from where the search looked.
    std::size_t knownLineEnd = 0;
    std::size_t knownLastSemicolon = std::u16string_view::npos;
    std::size_t knownFrom = std::u16string_view::npos;
    std::size_t x = from;
    while (x < text.size()) {
        if (!isNameStart(text[x])) {
            ++x;
            continue;
        }
        std::size_t word = x + 1;
        while (word < text.size() && isWordChar(text[word])) {
            ++word;
        }
        std::size_t marks = word;
        while (!java && marks < text.size() && (text[marks] == u'&' || text[marks] == u'*')) {
            ++marks;
        }
        std::size_t rest = marks;
        while (rest < text.size() && isPatternSpace(text[rest])) {
            ++rest;
        }
        if (rest == marks) {
            x = word;
            continue;
        }
        if (knownFrom == std::u16string_view::npos || rest >= knownLineEnd || rest < knownFrom) {
            knownFrom = rest;
            knownLineEnd = lineEnd(text, rest);
            const std::size_t semicolon = text.substr(rest, knownLineEnd - rest).rfind(u';');
            knownLastSemicolon =
                semicolon == std::u16string_view::npos ? semicolon : rest + semicolon;
        }
        if (knownLastSemicolon != std::u16string_view::npos && knownLastSemicolon >= rest) {
            // The pattern's one group is the whole match: the blanks taken whole, then '.*;'
            // up to the last ';' of r's line.
            match.begin = x;
            match.end = knownLastSemicolon + 1;
            match.group = 1;
            match.groupBegin = match.begin;
            match.groupEnd = match.end;
            return MatchStatus::Found;
        }
        x = rest;
    }
    return MatchStatus::NotFound;
}

int countCppDeclarations(std::u16string& text, FileCount& record, DeclarationTally& tally) {
    return countDeclarations(text, record, tally, cppPatterns());
}

int countCppDeclarations(std::u16string& text, FileCount& record, int& initialisers,
                         int& functionDeclarators) {
    return countDeclarations(text, record, cppPatterns(), initialisers, functionDeclarators);
}

int countJavaDeclarations(std::u16string& text, FileCount& record, DeclarationTally& tally) {
    return countDeclarations(text, record, tally, javaPatterns());
}

int countJavaDeclarations(std::u16string& text, FileCount& record, int& initialisers,
                          int& functionDeclarators) {
    return countDeclarations(text, record, javaPatterns(), initialisers, functionDeclarators);
}

}  // namespace tw
