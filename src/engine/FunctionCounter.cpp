#include "engine/FunctionCounter.h"

#include <algorithm>
#include <cstdint>

#include "engine/CommaPieces.h"
#include "engine/CountTrace.h"
#include "engine/OperatorCounter.h"
#include "engine/PatternScanners.h"
#include "engine/RunSkipper.h"
#include "engine/TextScan.h"
#include "engine/WideChar.h"

namespace tw {
namespace {

namespace patterns = functionPatterns;

constexpr std::u16string_view kNoOpeningParenthesis =
    u"Failed to capture function: Unable to find opening parenthesis.";
constexpr std::u16string_view kPatternFailure = u"Unable to match cast or function patterns.";

const Pattern& castPattern() {
    static const Pattern pattern(patterns::kCastRunning);
    return pattern;
}
const Pattern& templateArgumentPattern() {
    static const Pattern pattern(patterns::kTemplateArgumentRunning);
    return pattern;
}

bool isNameStart(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

bool isTemplateListChar(char16_t c) {
    return isBlankChar(c) || isIdentifierChar(c) || c == u':' || c == u'=' || c == u',';
}

/// Whether `name` (the text before the '(') names a function: it fits the name pattern and is
/// no keyword (the scanners of both patterns never fail).
FunctionVerdict nameVerdict(std::u16string_view name) {
    return functionScanners::functionName(name) == MatchStatus::Found &&
                   functionScanners::keyword(name) == MatchStatus::NotFound
               ? FunctionVerdict::Function
               : FunctionVerdict::NotFunction;
}

/// Takes the template argument lists out of `text`, innermost first (the first '>' closes the
/// last '<' before it), and leaves the rest in `reduced`. Building the text with each list
/// removed as soon as its '>' is read does in one pass what removing them one by one does.
/// NotFound when a '>' has no '<' before it or a list holds more than template arguments.
MatchStatus removeTemplateLists(std::u16string_view text, std::u16string& reduced) {
    reduced.clear();
    std::vector<std::size_t> lesses;
    for (const char16_t c : text) {
        if (c != u'>') {
            if (c == u'<') {
                lesses.push_back(reduced.size());
            }
            reduced.push_back(c);
            continue;
        }
        if (lesses.empty()) {
            return MatchStatus::NotFound;
        }
        const std::size_t less = lesses.back();
        lesses.pop_back();
        const MatchStatus list = matchEveryPiece(std::u16string_view(reduced).substr(less + 1),
                                                 templateArgumentPattern());
        if (list != MatchStatus::Found) {
            return list;
        }
        reduced.resize(less);
    }
    return MatchStatus::Found;
}

/// Whether `name` is all upper-case letters A to Z.
bool isAllCaps(std::u16string_view name) {
    return std::all_of(name.begin(), name.end(), [](char16_t c) { return c >= u'A' && c <= u'Z'; });
}

/// The operators of an argument list (from its '(' through its last ')'), counted with the
/// C/C++ operators for every file type; -1 on failure.
int argumentOperators(std::u16string_view arguments, FileCount& record) {
    const std::size_t close = arguments.rfind(u')');
    std::u16string copy(
        arguments.substr(0, close == std::u16string_view::npos ? close : close + 1));
    return countCppOperators(copy, record);
}

/// Whether what follows the ')' at `close`, after blanks, can be cast: an identifier or '('.
bool castableAfter(std::u16string_view text, std::size_t close) {
    std::size_t next = close + 1;
    while (next < text.size() && isBlankChar(text[next])) {
        ++next;
    }
    return next < text.size() && (isIdentifierChar(text[next]) || text[next] == u'(');
}

/// How a backward scan through a template argument list ended.
enum class ListScan : std::uint8_t { Unknown, Matched, Disallowed, ReachedStart };

/// Stage 1 over one text. It decides exactly what the plain rules decide at every ')' (capture
/// the call text, test for a cast, parse a function), but keeps what it learns while walking so
/// that no stretch of the text is scanned again and again:
///
/// - The '(' that a ')' closes is the top of a stack of open parentheses: overwriting only ever
///   removes a matched pair together with everything between them.
/// - A group that holds a group which kept its parentheses cannot be a cast (the cast pattern
///   allows no '(' inside), so the cast test needs no scan for such a group.
/// - Blanks and identifiers before a '(' are jumped over with run indexes; the characters before
///   a position change only when an overwrite starts at or before it.
/// - A template list scan ending at a '>' is remembered with that '>' until it is overwritten.
/// - Copies of a span shorten runs of '_' and of blanks, which the patterns cannot tell apart
///   from the full runs, so nested calls are not copied again at every level.
class FunctionStage {
  public:
    FunctionStage(SourceText& text, FileCount& record, FunctionTally& tally)
        : text_(text),
          chars_(text.chars),
          record_(record),
          tally_(tally),
          forward_(chars_, forwardRunClass, RunSkipper::Direction::Forward),
          backward_(chars_, backwardRunClass, RunSkipper::Direction::Backward) {}

    int run();

  private:
    struct Open {
        std::uint32_t position;
        bool holdsGroup = false;       ///< a group inside kept its parentheses
        bool holdsFailedList = false;  ///< and its template lists failed
    };
    struct Greater {
        std::uint32_t position;
        ListScan scan = ListScan::Unknown;
        std::uint32_t matched = 0;  ///< the '<' when `scan` is Matched
    };

    int atClose(std::size_t close);
    std::int64_t captureStart(std::size_t open);
    std::int64_t previousNonBlank(std::int64_t x);
    ListScan scanTemplateList(std::size_t greater, std::uint32_t& matched);
    Greater* findGreater(std::size_t position);
    FunctionVerdict functionAt(std::size_t start, std::size_t open, std::size_t close,
                               int& operators, bool& allCaps, bool& listsFailed);
    void overwriteFunction(std::size_t start, std::size_t close);
    void blankCast(std::size_t open, std::size_t close);
    void dropBracketsFrom(std::size_t position);
    void keepGroup(bool listsFailed);
    int fail(std::u16string_view message, std::size_t close);

    SourceText& text_;
    std::u16string& chars_;
    FileCount& record_;
    FunctionTally& tally_;
    RunSkipper forward_;
    RunSkipper backward_;
    std::vector<Open> opens_;
    std::vector<std::uint32_t> lesses_;  ///< '<' still in the walked text, in order
    std::vector<Greater> greaters_;      ///< '>' still in the walked text, in order
    std::u16string copy_;
    std::u16string reduced_;
};

int FunctionStage::run() {
    if (chars_.size() > RunSkipper::kMaxText) {
        record_.remarks = u"Text too large to parse.";
        return -1;
    }
    int count = 0;
    // Only brackets matter here, and what a ')' overwrites lies before it: jump between them.
    const std::size_t n = chars_.size();
    for (std::size_t i = findAnyOf(chars_.data(), 0, n, u'(', u')', u'<', u'>'); i < n;
         i = findAnyOf(chars_.data(), i + 1, n, u'(', u')', u'<', u'>')) {
        switch (chars_[i]) {
            case u'(':
                opens_.push_back({static_cast<std::uint32_t>(i)});
                break;
            case u'<':
                lesses_.push_back(static_cast<std::uint32_t>(i));
                break;
            case u'>':
                greaters_.push_back({static_cast<std::uint32_t>(i)});
                break;
            case u')': {
                const int found = atClose(i);
                if (found < 0) {
                    return -1;
                }
                count += found;
                break;
            }
            default:
                break;
        }
    }
    return count;
}

int FunctionStage::fail(std::u16string_view message, std::size_t close) {
    record_.remarks = message;
    record_.errorLine = lineOfPosition(text_, static_cast<std::int64_t>(close));
    return -1;
}

int FunctionStage::atClose(std::size_t close) {
    if (opens_.empty()) {
        return fail(kNoOpeningParenthesis, close);
    }
    const Open open = opens_.back();
    opens_.pop_back();
    // A capture that holds a group whose template lists failed fails the same way: inside that
    // group its lists pair as they did there, and a '>' that found no '<' there now pairs with one
    // outside, whose list then holds the group's '('. (Such a group kept its parentheses, so
    // this is no cast either.)
    if (open.holdsFailedList) {
        keepGroup(true);
        return 0;
    }
    const std::int64_t start = captureStart(open.position);
    if (start < 0) {
        keepGroup(false);
        return 0;
    }
    if (!open.holdsGroup && castableAfter(chars_, close)) {
        copy_.clear();
        appendShortened(copy_, chars_, forward_, open.position, close);
        const MatchStatus cast = castPattern().fullMatch(copy_);
        if (cast == MatchStatus::Error) {
            return fail(kPatternFailure, close);
        }
        if (cast == MatchStatus::Found) {
            CountTrace::note(chars_, open.position, TraceKind::Statement);
            blankCast(open.position, close);
            dropBracketsFrom(open.position);
            return 1;
        }
    }
    int operators = 0;
    bool allCaps = false;
    bool listsFailed = false;
    const auto begin = static_cast<std::size_t>(start);
    switch (functionAt(begin, open.position, close, operators, allCaps, listsFailed)) {
        case FunctionVerdict::Failed:
            record_.errorLine = lineOfPosition(text_, static_cast<std::int64_t>(close));
            return -1;
        case FunctionVerdict::NotFunction:
            keepGroup(listsFailed);
            return 0;
        case FunctionVerdict::Function:
            break;
    }
    tally_.argumentOperators += operators;
    CountTrace::note(chars_, begin, TraceKind::Statement, 1 + operators);
    if (allCaps) {
        ++tally_.allCapsFunctions;
    }
    tally_.markers.push_back({static_cast<std::uint32_t>(begin), allCaps});
    overwriteFunction(begin, close);
    dropBracketsFrom(begin);
    return 1;
}

std::int64_t FunctionStage::previousNonBlank(std::int64_t x) {
    if (x < 0 || !isBlankChar(chars_[static_cast<std::size_t>(x)])) {
        return x;
    }
    return backward_.beyondRun(static_cast<std::size_t>(x));
}

std::int64_t FunctionStage::captureStart(std::size_t open) {
    std::int64_t k = previousNonBlank(static_cast<std::int64_t>(open) - 1);
    if (k < 0) {
        return 0;
    }
    if (chars_[static_cast<std::size_t>(k)] == u'>') {
        std::uint32_t less = 0;
        switch (scanTemplateList(static_cast<std::size_t>(k), less)) {
            case ListScan::Disallowed:
                return -1;
            case ListScan::ReachedStart:
            case ListScan::Unknown:
                return 0;
            case ListScan::Matched:
                break;
        }
        k = previousNonBlank(static_cast<std::int64_t>(less) - 1);
        if (k < 0) {
            return 0;
        }
    }
    const auto last = static_cast<std::size_t>(k);
    if (isIdentifierChar(chars_[last])) {
        return backward_.beyondRun(last) + 1;
    }
    return k + 1;
}

FunctionStage::Greater* FunctionStage::findGreater(std::size_t position) {
    const auto found =
        std::lower_bound(greaters_.begin(), greaters_.end(), position,
                         [](const Greater& g, std::size_t p) { return g.position < p; });
    return found != greaters_.end() && found->position == position ? &*found : nullptr;
}

ListScan FunctionStage::scanTemplateList(std::size_t greater, std::uint32_t& matched) {
    Greater* const entry = findGreater(greater);
    if (entry != nullptr && entry->scan != ListScan::Unknown) {
        matched = entry->matched;
        return entry->scan;
    }
    ListScan result = ListScan::ReachedStart;
    int depth = 1;
    std::int64_t x = static_cast<std::int64_t>(greater) - 1;
    while (x >= 0) {
        const char16_t c = chars_[static_cast<std::size_t>(x)];
        if (c == u'>') {
            // A list scanned before from this '>' is balanced: step over it whole. A scan from
            // it that failed fails here too, since this one arrives deeper.
            const Greater* inner = findGreater(static_cast<std::size_t>(x));
            if (inner != nullptr && inner->scan == ListScan::Matched) {
                x = static_cast<std::int64_t>(inner->matched) - 1;
                continue;
            }
            if (inner != nullptr && inner->scan != ListScan::Unknown) {
                result = inner->scan;
                break;
            }
            ++depth;
            --x;
        } else if (c == u'<') {
            if (--depth == 0) {
                result = ListScan::Matched;
                matched = static_cast<std::uint32_t>(x);
                break;
            }
            --x;
        } else if (backwardRunClass(c) != 0) {
            x = backward_.beyondRun(static_cast<std::size_t>(x));
        } else if (isTemplateListChar(c)) {
            --x;
        } else {
            result = ListScan::Disallowed;
            break;
        }
    }
    if (entry != nullptr) {
        entry->scan = result;
        entry->matched = matched;
    }
    return result;
}

FunctionVerdict FunctionStage::functionAt(std::size_t start, std::size_t open, std::size_t close,
                                          int& operators, bool& allCaps, bool& listsFailed) {
    // The rules parse the whole capture. The name part (before the '(') holds no '(' and at most
    // one balanced list, so it can be judged first, and the arguments only for a good name: a
    // keyword in front of a long argument list costs nothing.
    //
    // A name must begin with a letter or '_' (a capture beginning with '<' loses that list and
    // leaves only blanks before the '(').
    if (!isNameStart(chars_[start])) {
        return FunctionVerdict::NotFunction;
    }
    // The first '>' of the capture with no '<' before it ends the template list step.
    const auto firstGreater =
        std::lower_bound(greaters_.begin(), greaters_.end(), start,
                         [](const Greater& g, std::size_t p) { return g.position < p; });
    const auto firstLess = std::lower_bound(lesses_.begin(), lesses_.end(), start);
    if (firstGreater != greaters_.end() && firstGreater->position <= close &&
        (firstLess == lesses_.end() || *firstLess >= firstGreater->position)) {
        listsFailed = true;
        return FunctionVerdict::NotFunction;
    }
    const auto judgeLists = [&](std::size_t from, std::size_t to) {
        copy_.clear();
        appendShortened(copy_, chars_, forward_, from, to);
        const MatchStatus lists = removeTemplateLists(copy_, reduced_);
        listsFailed = lists == MatchStatus::NotFound;
        if (lists == MatchStatus::Error) {
            record_.remarks = kPatternFailure;
            return FunctionVerdict::Failed;
        }
        return lists == MatchStatus::Found ? FunctionVerdict::Function
                                           : FunctionVerdict::NotFunction;
    };
    FunctionVerdict verdict = judgeLists(start, open - 1);
    if (verdict != FunctionVerdict::Function) {
        return verdict;
    }
    verdict = nameVerdict(reduced_);
    if (verdict != FunctionVerdict::Function) {
        return verdict;
    }
    allCaps = isAllCaps(reduced_);
    verdict = judgeLists(open, close);
    if (verdict != FunctionVerdict::Function) {
        allCaps = false;
        return verdict;
    }
    operators = argumentOperators(reduced_, record_);
    if (operators < 0) {
        operators = 0;
        allCaps = false;
        return FunctionVerdict::Failed;
    }
    return FunctionVerdict::Function;
}

void FunctionStage::overwriteFunction(std::size_t start, std::size_t close) {
    chars_[start] = u'@';
    overwriteWithUnderscores(chars_, forward_, start + 1, close,
                             [this](std::size_t x) { backward_.entered(x); });
    // The runs of '_' left as they were may still point past the new '@'; backward scans only
    // ever enter this identifier from its end, which now stops at the '@'.
    backward_.link(close, static_cast<std::int64_t>(start));
}

void FunctionStage::blankCast(std::size_t open, std::size_t close) {
    std::size_t x = open;
    while (x <= close) {
        const char16_t c = chars_[x];
        if (c == u' ' || c == u'\n') {
            x = std::min(static_cast<std::size_t>(forward_.beyondRun(x)), close + 1);
            continue;
        }
        chars_[x] = u' ';
        forward_.entered(x);
        backward_.entered(x);
        ++x;
    }
}

void FunctionStage::dropBracketsFrom(std::size_t position) {
    while (!lesses_.empty() && lesses_.back() >= position) {
        lesses_.pop_back();
    }
    while (!greaters_.empty() && greaters_.back().position >= position) {
        greaters_.pop_back();
    }
}

void FunctionStage::keepGroup(bool listsFailed) {
    if (!opens_.empty()) {
        opens_.back().holdsGroup = true;
        opens_.back().holdsFailedList = opens_.back().holdsFailedList || listsFailed;
    }
}

}  // namespace

int countFunctions(SourceText& text, FileCount& record, FunctionTally& tally) {
    tally = FunctionTally{};
    FunctionStage stage(text, record, tally);
    return stage.run();
}

int countFunctions(SourceText& text, FileCount& record, int& allCapsFunctions,
                   int& argumentOperators) {
    FunctionTally tally;
    const int count = countFunctions(text, record, tally);
    allCapsFunctions = tally.allCapsFunctions;
    argumentOperators = tally.argumentOperators;
    return count;
}

bool captureCallText(const SourceText& text, FileCount& record, std::size_t close,
                     std::u16string& capture) {
    const std::u16string& chars = text.chars;
    capture.clear();
    std::int64_t open = static_cast<std::int64_t>(close) - 1;
    for (int depth = 1; open >= 0; --open) {
        const char16_t c = chars[static_cast<std::size_t>(open)];
        if (c == u')') {
            ++depth;
        } else if (c == u'(' && --depth == 0) {
            break;
        }
    }
    if (open < 0) {
        record.remarks = u"Unable to find opening parenthesis.";
        record.errorLine = lineOfPosition(text, static_cast<std::int64_t>(close));
        return false;
    }
    const auto skipBlanks = [&](std::int64_t x) {
        while (x >= 0 && isBlankChar(chars[static_cast<std::size_t>(x)])) {
            --x;
        }
        return x;
    };
    std::int64_t begin = 0;
    std::int64_t k = skipBlanks(open - 1);
    if (k >= 0 && chars[static_cast<std::size_t>(k)] == u'>') {
        std::int64_t less = k - 1;
        for (int depth = 1; less >= 0; --less) {
            const char16_t c = chars[static_cast<std::size_t>(less)];
            if (c == u'>') {
                ++depth;
            } else if (c == u'<') {
                if (--depth == 0) {
                    break;
                }
            } else if (!isTemplateListChar(c)) {
                return true;
            }
        }
        k = less < 0 ? -1 : skipBlanks(less - 1);
    }
    if (k >= 0) {
        std::int64_t stop = k;
        while (stop >= 0 && isIdentifierChar(chars[static_cast<std::size_t>(stop)])) {
            --stop;
        }
        begin = stop + 1;
    }
    const auto from = static_cast<std::size_t>(begin);
    capture.assign(chars, from, close - from + 1);
    return true;
}

MatchStatus isCast(std::u16string_view text, std::size_t start) {
    const std::size_t open = text.find(u'(', start);
    if (open == std::u16string_view::npos) {
        return MatchStatus::NotFound;
    }
    const std::size_t close = text.find(u')', open + 1);
    if (close == std::u16string_view::npos || !castableAfter(text, close)) {
        return MatchStatus::NotFound;
    }
    return castPattern().fullMatch(text.substr(open, close - open + 1));
}

FunctionVerdict parseFunction(std::u16string_view capture, FileCount& record, int& operators,
                              bool& allCaps) {
    operators = 0;
    allCaps = false;
    std::u16string reduced;
    switch (removeTemplateLists(capture, reduced)) {
        case MatchStatus::Error:
            record.remarks = kPatternFailure;
            return FunctionVerdict::Failed;
        case MatchStatus::NotFound:
            return FunctionVerdict::NotFunction;
        case MatchStatus::Found:
            break;
    }
    const std::size_t open = reduced.find(u'(');
    if (open == std::u16string::npos || open == 0) {
        return FunctionVerdict::NotFunction;
    }
    const std::u16string_view name = std::u16string_view(reduced).substr(0, open);
    const FunctionVerdict verdict = nameVerdict(name);
    if (verdict != FunctionVerdict::Function) {
        return verdict;
    }
    operators = argumentOperators(std::u16string_view(reduced).substr(open), record);
    if (operators < 0) {
        operators = 0;
        return FunctionVerdict::Failed;
    }
    allCaps = isAllCaps(name);
    return FunctionVerdict::Function;
}

}  // namespace tw
