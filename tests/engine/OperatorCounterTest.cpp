#include "engine/OperatorCounter.h"

#include <gtest/gtest.h>

#include "support/U16.h"

namespace tw {
namespace {

struct OperatorCase {
    const char* text;
    int count;
    const char* after;  ///< the text as the stage leaves it; nullptr when only the count matters
};

void expectOperators(int (*stage)(std::u16string&, FileCount&), const OperatorCase& c) {
    SCOPED_TRACE(c.text);
    FileCount record(u"a.cpp", "/nonexistent");
    std::u16string text = test::u16(c.text);
    EXPECT_EQ(stage(text, record), c.count);
    if (c.after != nullptr) {
        EXPECT_EQ(test::u8(text), c.after);
    }
    EXPECT_TRUE(record.remarks.empty());
}

TEST(OperatorCounterTest, CountsCppOperatorsInStepOrder) {
    const OperatorCase cases[] = {
        // Scope is glued over but not counted; member access glues its neighbours.
        {"a::b", 0, "a__b"},
        {"p->x", 1, "p__x"},
        {"a . b", 1, "a___b"},
        {"x++ ++x x--", 3, "x     x x  "},
        {"a == b", 1, "a    b"},
        {"a != b", 1, nullptr},
        {"a >= b", 1, nullptr},
        {"a < b", 1, nullptr},
        {"!x", 1, " x"},
        {"!!x", 1, "! x"},
        {"a && b || c", 2, nullptr},
        // The boolean step takes a '<' followed by another character as a comparison, so the
        // bitwise step never sees the shift.
        {"a << b", 1, "a <  b"},
        {"x = y", 1, "x___y"},
        {"x += y", 1, "x____y"},
        {"x ^= y", 1, nullptr},
        {"x <<= y", 1, nullptr},
        {"a = b + c * d", 3, "a___b___c___d"},
        {"a == b", 1, nullptr},
        {"**p", 1, "__p"},
        {"-x", 1, "_x"},
        {"&x", 1, " x"},
        {"~x ^ y | z", 3, nullptr},
        {"c ? a : b", 1, "c   a : b"},
        {"new T", 1, "    T"},
        {"delete p", 1, nullptr},
        {"renew", 0, "renew"},
        {"x =\ny", 1, "x__1y"},
        {"a.b.c", 2, nullptr},
        {"", 0, ""},
    };
    for (const OperatorCase& c : cases) {
        expectOperators(countCppOperators, c);
    }
}

TEST(OperatorCounterTest, CountsJavaOperatorsWithoutScopeAndWithTheJavaShifts) {
    const OperatorCase cases[] = {
        {"a.b.c", 2, "a_b_c"},
        // The boolean step takes the last '>' as a comparison, the bitwise step the '>>' left.
        {"a >>> b", 2, nullptr},
        // ">=" is a comparison before it can be part of an assignment.
        {"a >>>= b", 2, "a      b"},
        // No scope step: "::" is left to the other steps, which do not know it.
        {"a::b", 0, "a::b"},
        {"x = a & b", 2, nullptr},
    };
    for (const OperatorCase& c : cases) {
        expectOperators(countJavaOperators, c);
    }
}

TEST(OperatorCounterTest, AssignmentAndMathStepsCountOnTheirOwn) {
    const struct {
        const char* text;
        int assignments;
        int math;
    } cases[] = {
        {"a += b -= c *= d /= e %= f", 5, 0},
        {"a &= b ^= c |= d >>= e <<= f = g", 6, 0},
        // A compound assignment is never also a math operator.
        {"a += b + c", 1, 1},
        // Alone, the second '=' of "==" is a plain assignment: the operator stage removes "=="
        // in its boolean step before this one runs.
        {"a == b", 1, 0},
        {"a - b * c / d % e ***p", 0, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::u16string text = test::u16(c.text);
        EXPECT_EQ(countAssignmentOperators(text), c.assignments);
        EXPECT_EQ(countMathOperators(text), c.math);
    }
}

}  // namespace
}  // namespace tw
