#include "engine/OperatorCounter.h"

#include <array>
#include <cstdint>

#include "engine/MatchCounter.h"
#include "engine/PatternScanners.h"

namespace tw {
namespace {

// Each step runs the scanner that stands in for its pattern in `operatorPatterns`.
namespace scan = operatorScanners;

/// The characters whose presence an operator step needs, one bit each. Overwriting only ever
/// writes '_', ' ' or '1', so a character absent when a count starts stays absent, and a step
/// none of whose characters is present cannot match: skipping it changes nothing. This keeps
/// the many small copies (argument lists, brackets, conditions) cheap.
enum OperatorChar : std::uint32_t {
    kColon = 1u << 0,
    kMinus = 1u << 1,
    kDot = 1u << 2,
    kPlus = 1u << 3,
    kEquals = 1u << 4,
    kBang = 1u << 5,
    kGreater = 1u << 6,
    kLess = 1u << 7,
    kAmpersand = 1u << 8,
    kBar = 1u << 9,
    kStar = 1u << 10,
    kSlash = 1u << 11,
    kPercent = 1u << 12,
    kCaret = 1u << 13,
    kTilde = 1u << 14,
    kQuestion = 1u << 15,
    kN = 1u << 16,
    kD = 1u << 17,
};

/// The bit of each operator character; 0 for every other character.
constexpr std::array<std::uint32_t, 128> kOperatorBits = [] {
    std::array<std::uint32_t, 128> bits{};
    bits[':'] = kColon;
    bits['-'] = kMinus;
    bits['.'] = kDot;
    bits['+'] = kPlus;
    bits['='] = kEquals;
    bits['!'] = kBang;
    bits['>'] = kGreater;
    bits['<'] = kLess;
    bits['&'] = kAmpersand;
    bits['|'] = kBar;
    bits['*'] = kStar;
    bits['/'] = kSlash;
    bits['%'] = kPercent;
    bits['^'] = kCaret;
    bits['~'] = kTilde;
    bits['?'] = kQuestion;
    bits['n'] = kN;
    bits['d'] = kD;
    return bits;
}();

std::uint32_t operatorCharsOf(std::u16string_view text) {
    std::uint32_t present = 0;
    for (const char16_t c : text) {
        present |= c < kOperatorBits.size() ? kOperatorBits[c] : 0;
    }
    return present;
}

/// One countMatches call: its scanner, fill, white-space extension, the characters of which at
/// least one must be present for a match and those that must all be present.
struct OperatorStep {
    PatternScanner scan;
    char16_t fill;
    bool extend;
    std::uint32_t needs;
    std::uint32_t needsAll = 0;
};

/// Runs `step` unless a character it needs is absent; -1 on failure. Operators that count
/// are noted as statements.
int runStep(std::u16string& text, const OperatorStep& step, std::uint32_t present,
            bool counted = true) {
    if ((present & step.needs) == 0 || (present & step.needsAll) != step.needsAll) {
        return 0;
    }
    return countMatches(text, step.scan, step.fill, step.extend,
                        counted ? std::optional(TraceKind::Statement) : std::nullopt);
}

/// Sums the counts of `steps` in order; -1 as soon as one fails. (A plain sum would let a
/// failure hide behind the other steps' counts.)
template <std::size_t N>
int runSteps(std::u16string& text, const OperatorStep (&steps)[N], std::uint32_t present) {
    int sum = 0;
    for (const OperatorStep& step : steps) {
        const int count = runStep(text, step, present);
        if (count < 0) {
            return -1;
        }
        sum += count;
    }
    return sum;
}

int assignmentOperators(std::u16string& text, std::uint32_t present) {
    static const OperatorStep steps[] = {
        {scan::addAssign, u'_', true, kEquals, kPlus},
        {scan::subtractAssign, u'_', true, kEquals, kMinus},
        {scan::multiplyAssign, u'_', true, kEquals, kStar},
        {scan::divideAssign, u'_', true, kEquals, kSlash},
        {scan::remainderAssign, u'_', true, kEquals, kPercent},
        {scan::andAssign, u'_', true, kEquals, kAmpersand},
        {scan::xorAssign, u'_', true, kEquals, kCaret},
        {scan::orAssign, u'_', true, kEquals, kBar},
        {scan::shiftRightAssign, u'_', true, kEquals, kGreater},
        {scan::shiftLeftAssign, u'_', true, kEquals, kLess},
        {scan::assign, u'_', true, kEquals},
    };
    return runSteps(text, steps, present);
}

int mathOperators(std::u16string& text, std::uint32_t present) {
    static const OperatorStep steps[] = {
        {scan::add, u'_', true, kPlus},          {scan::subtract, u'_', true, kMinus},
        {scan::multiply, u'_', true, kStar},     {scan::divide, u'_', true, kSlash},
        {scan::remainder, u'_', true, kPercent},
    };
    return runSteps(text, steps, present);
}

/// What one step of an operator stage runs.
enum class StepKind { Single, Assignment, Math };

/// One step of an operator stage and the message that replaces `remarks` when it fails.
struct StageStep {
    StepKind kind;
    const OperatorStep* single;  ///< for `Single` steps
    bool counted;
    std::u16string_view failure;
};

template <std::size_t N>
int runStage(std::u16string& text, FileCount& record, const StageStep (&steps)[N]) {
    const std::uint32_t present = operatorCharsOf(text);
    int total = 0;
    for (const StageStep& step : steps) {
        int result = 0;
        switch (step.kind) {
            case StepKind::Single:
                result = runStep(text, *step.single, present, step.counted);
                break;
            case StepKind::Assignment:
                result = assignmentOperators(text, present);
                break;
            case StepKind::Math:
                result = mathOperators(text, present);
                break;
        }
        if (result < 0) {
            record.remarks = step.failure;
            return -1;
        }
        if (step.counted) {
            total += result;
        }
    }
    return total;
}

constexpr std::uint32_t kBooleanChars = kEquals | kBang | kGreater | kLess | kAmpersand | kBar;
constexpr std::uint32_t kBitwiseChars = kAmpersand | kBar | kTilde | kCaret | kLess | kGreater;

const OperatorStep& incrementDecrementStep() {
    static const OperatorStep step{scan::incrementDecrement, u' ', false, kPlus | kMinus};
    return step;
}
const OperatorStep& booleanLogicStep() {
    static const OperatorStep step{scan::booleanLogic, u' ', false, kBooleanChars};
    return step;
}
const OperatorStep& newDeleteStep() {
    static const OperatorStep step{scan::newDelete, u' ', false, kN | kD};
    return step;
}
const OperatorStep& ternaryStep() {
    static const OperatorStep step{scan::ternary, u' ', false, kQuestion};
    return step;
}

}  // namespace

int countAssignmentOperators(std::u16string& text) {
    return assignmentOperators(text, operatorCharsOf(text));
}

int countMathOperators(std::u16string& text) {
    return mathOperators(text, operatorCharsOf(text));
}

int countCppOperators(std::u16string& text, FileCount& record) {
    static const OperatorStep scope{scan::scope, u'_', true, kColon};
    static const OperatorStep memberAccess{scan::memberAccess, u'_', true, kMinus | kDot};
    static const OperatorStep bitwise{scan::bitwise, u' ', false, kBitwiseChars};
    static const StageStep steps[] = {
        {StepKind::Single, &scope, false, u"Failed to count scope operators."},
        {StepKind::Single, &memberAccess, true, u"Failed to count member access operators."},
        {StepKind::Single, &incrementDecrementStep(), true,
         u"Failed to count increment and decrement operators."},
        {StepKind::Single, &booleanLogicStep(), true, u"Failed to boolean logic operators."},
        {StepKind::Assignment, nullptr, true, u"Failed to count assignment operators."},
        {StepKind::Math, nullptr, true, u"Failed to count math operators."},
        {StepKind::Single, &bitwise, true, u"Failed to count bitwise operators."},
        {StepKind::Single, &newDeleteStep(), true, u"Failed to count new and delete operators."},
        {StepKind::Single, &ternaryStep(), true, u"Failed to count ternary operators."},
    };
    return runStage(text, record, steps);
}

int countJavaOperators(std::u16string& text, FileCount& record) {
    static const OperatorStep memberAccess{scan::javaMemberAccess, u'_', true, kDot};
    static const OperatorStep bitwise{scan::javaBitwise, u' ', false, kBitwiseChars};
    static const StageStep steps[] = {
        {StepKind::Single, &memberAccess, true, u"Failed to count member access operators."},
        {StepKind::Single, &incrementDecrementStep(), true,
         u"Failed to count increment and decrement operators."},
        {StepKind::Single, &booleanLogicStep(), true, u"Failed to boolean logic operators."},
        {StepKind::Assignment, nullptr, true, u"Failed to count assignment operators."},
        {StepKind::Math, nullptr, true, u"Failed to count math operators."},
        {StepKind::Single, &bitwise, true, u"Failed to count bitwise operators."},
        {StepKind::Single, &newDeleteStep(), true, u"Failed to count new and delete operators."},
        {StepKind::Single, &ternaryStep(), true, u"Failed to count ternary operators."},
    };
    return runStage(text, record, steps);
}

}  // namespace tw
