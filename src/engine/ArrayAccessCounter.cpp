#include "engine/ArrayAccessCounter.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/CountTrace.h"
#include "engine/OperatorCounter.h"
#include "engine/Pattern.h"
#include "engine/RunSkipper.h"
#include "engine/TextScan.h"
#include "engine/WideChar.h"

namespace tw {
namespace {

const Pattern& arrayCreationPattern() {
    static const Pattern pattern(arrayAccessPatterns::kJavaArrayCreation);
    return pattern;
}

/// The white space of the patterns (\s).
bool isPatternSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

/// Run classes of the array-creation look-behind: word characters and white space.
constexpr std::uint8_t kWordRun = 1;
constexpr std::uint8_t kSpaceRun = 2;
std::uint8_t creationRunClass(char16_t c) {
    if (isWordChar(c)) {
        return kWordRun;
    }
    return isPatternSpace(c) ? kSpaceRun : 0;
}

/// One walk of the array-access stage. The '[' a ']' closes is the top of a stack of the '['
/// still in the text (overwriting a pair leaves no '[' between it and its ']'); runs of '_' that
/// earlier pairs left are shortened in copies and skipped when overwriting, so nested accesses
/// cost no more than flat ones.
class ArrayAccessStage {
  public:
    ArrayAccessStage(SourceText& text, FileCount& record, bool java)
        : text_(text),
          chars_(text.chars),
          record_(record),
          java_(java),
          forward_(chars_, forwardRunClass, RunSkipper::Direction::Forward) {
        if (java_) {
            backward_.emplace(chars_, backwardRunClass, RunSkipper::Direction::Backward);
            creationRuns_.emplace(chars_, creationRunClass, RunSkipper::Direction::Forward);
        }
    }

    int run(int& bracketOperators);

  private:
    MatchStatus isArrayCreation(std::size_t open);
    void overwrite(std::size_t open, std::size_t close);

    SourceText& text_;
    std::u16string& chars_;
    FileCount& record_;
    bool java_;
    RunSkipper forward_;
    std::optional<RunSkipper> backward_;
    std::optional<RunSkipper> creationRuns_;
    std::u16string copy_;
};

int ArrayAccessStage::run(int& bracketOperators) {
    bracketOperators = 0;
    if (chars_.size() > RunSkipper::kMaxText) {
        record_.remarks = u"Text too large to parse.";
        return -1;
    }
    std::vector<std::uint32_t> opens;
    int count = 0;
    // Only brackets matter, and what a ']' overwrites lies before it: jump between them.
    const std::size_t n = chars_.size();
    for (std::size_t i = findAnyOf(chars_.data(), 0, n, u'[', u']', u'[', u']'); i < n;
         i = findAnyOf(chars_.data(), i + 1, n, u'[', u']', u'[', u']')) {
        if (chars_[i] == u'[') {
            opens.push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        if (chars_[i] != u']') {
            continue;
        }
        if (opens.empty()) {
            record_.remarks = u"Invalid array access operator";
            record_.errorLine = lineOfPosition(text_, static_cast<std::int64_t>(i));
            return -1;
        }
        const std::size_t open = opens.back();
        opens.pop_back();
        bool counted = true;
        if (java_) {
            const MatchStatus creation = isArrayCreation(open);
            if (creation == MatchStatus::Error) {
                record_.remarks = u"Unable to match array creation.";
                record_.errorLine = lineOfPosition(text_, static_cast<std::int64_t>(i));
                return -1;
            }
            counted = creation == MatchStatus::NotFound;
        }
        copy_.clear();
        appendShortened(copy_, chars_, forward_, open, i);
        const int operators =
            java_ ? countJavaOperators(copy_, record_) : countCppOperators(copy_, record_);
        if (operators < 0) {
            return -1;
        }
        bracketOperators += operators;
        overwrite(open, i);
        if (counted) {
            ++count;
        }
        CountTrace::note(chars_, open, TraceKind::Statement, operators + (counted ? 1 : 0));
    }
    return count;
}

MatchStatus ArrayAccessStage::isArrayCreation(std::size_t open) {
    RunSkipper& backward = *backward_;
    // From the '[' back over blanks, an identifier and blanks, then to the start of the word
    // standing there.
    std::int64_t k = static_cast<std::int64_t>(open) - 1;
    for (const std::uint8_t runClass : {kBlankRun, kIdentifierRun, kBlankRun}) {
        if (k >= 0 && backwardRunClass(chars_[static_cast<std::size_t>(k)]) == runClass) {
            k = backward.beyondRun(static_cast<std::size_t>(k));
        }
    }
    if (k < 0) {
        k = 0;
    } else if (k > 0 && isIdentifierChar(chars_[static_cast<std::size_t>(k) - 1])) {
        k = backward.beyondRun(static_cast<std::size_t>(k) - 1) + 1;
    }
    const auto from = static_cast<std::size_t>(k);
    // Anything that does not begin with "new" and a blank cannot match; this keeps long texts
    // in front of a bracket from being copied at every bracket.
    if (from + 4 > open || chars_[from] != u'n' || chars_[from + 1] != u'e' ||
        chars_[from + 2] != u'w' || !isPatternSpace(chars_[from + 3])) {
        return MatchStatus::NotFound;
    }
    // The pattern holds only word characters and white space, reads at most "new" of a word and
    // cannot tell a long run of either from a short one: copy each word run cut to four
    // characters and each run of white space cut to one, so an identifier of any length in front
    // of many brackets is not copied at every bracket.
    RunSkipper& runs = *creationRuns_;
    copy_.clear();
    for (std::size_t x = from; x < open;) {
        const std::uint8_t runClass = runs.classOf(chars_[x]);
        if (runClass == 0) {
            return MatchStatus::NotFound;
        }
        const std::size_t end = std::min(static_cast<std::size_t>(runs.beyondRun(x)), open);
        copy_.append(chars_, x, std::min<std::size_t>(end - x, runClass == kWordRun ? 4 : 1));
        x = end;
    }
    return arrayCreationPattern().fullMatch(copy_);
}

void ArrayAccessStage::overwrite(std::size_t open, std::size_t close) {
    overwriteWithUnderscores(chars_, forward_, open, close, [this](std::size_t x) {
        if (java_) {
            backward_->entered(x);
            creationRuns_->entered(x);
        }
    });
}

}  // namespace

int countCppArrayAccess(SourceText& text, FileCount& record, int& bracketOperators) {
    ArrayAccessStage stage(text, record, false);
    return stage.run(bracketOperators);
}

int countJavaArrayAccess(SourceText& text, FileCount& record, int& bracketOperators) {
    ArrayAccessStage stage(text, record, true);
    return stage.run(bracketOperators);
}

}  // namespace tw
