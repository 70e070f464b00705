#include "engine/ArrayAccessCounter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "engine/OperatorCounter.h"
#include "engine/Pattern.h"
#include "engine/WideChar.h"
#include "support/U16.h"

namespace tw {
namespace {

using ArrayStage = int (*)(SourceText&, FileCount&, int&);

struct ArrayCase {
    const char* text;
    int count;
    int bracketOperators;
    const char* after;
};

void expectArrays(ArrayStage stage, const ArrayCase& c) {
    SCOPED_TRACE(c.text);
    SourceText text = SourceText::fromBody(test::u16(c.text));
    FileCount record(u"a.cpp", "/nonexistent");
    int bracketOperators = -1;
    EXPECT_EQ(stage(text, record, bracketOperators), c.count);
    EXPECT_EQ(bracketOperators, c.bracketOperators);
    if (c.after != nullptr) {
        EXPECT_EQ(test::u8(text.chars.substr(0, text.size() - 1)), c.after);
    }
}

TEST(ArrayAccessCounterTest, CountsCppBracketPairsInnermostFirst) {
    const ArrayCase cases[] = {
        {"a[i]", 1, 0, "a___"},
        {"a[i + j]", 1, 1, "a_______"},
        {"a[b[i]]", 2, 0, "a______"},
        {"a[", 0, 0, "a["},
        {"int a[00];", 1, 0, "int a____;"},
        {"a[i\n]", 1, 0, "a__1_"},
        {"m[i][j++]", 2, 1, nullptr},
        {"", 0, 0, ""},
    };
    for (const ArrayCase& c : cases) {
        expectArrays(countCppArrayAccess, c);
    }
}

TEST(ArrayAccessCounterTest, JavaLeavesArrayCreationsUncounted) {
    const ArrayCase cases[] = {
        {"x = a[i];", 1, 0, "x = a___;"},
        {"x = new int[n];", 0, 0, "x = new int___;"},
        // The second dimension is found through the first, now glue.
        {"x = new int[n][m];", 0, 0, nullptr},
        {"a[i][j]", 2, 0, nullptr},
        {"x = new int[i + 0];", 0, 1, nullptr},
        {"x = new\n  Foo [n];", 0, 0, nullptr},
        {"renew int[n]", 1, 0, nullptr},
        {"new a.b[n]", 1, 0, nullptr},
        // Java bracket contents are counted with Java operators: member access counts.
        {"a[b.c]", 1, 1, nullptr},
        {"[n]", 1, 0, "___"},
    };
    for (const ArrayCase& c : cases) {
        expectArrays(countJavaArrayAccess, c);
    }
}

TEST(ArrayAccessCounterTest, AClosingBracketWithoutOpeningOneFailsAtItsOwnLine) {
    for (const ArrayStage stage : {countCppArrayAccess, countJavaArrayAccess}) {
        for (const auto& [body, line] :
             {std::pair{"x]", 1}, std::pair{"a[0]\n\nx]\n]", 3}, std::pair{"]", 1}}) {
            SCOPED_TRACE(body);
            SourceText text = SourceText::fromBody(test::u16(body));
            FileCount record(u"a.cpp", "/nonexistent");
            int bracketOperators = 0;
            EXPECT_EQ(stage(text, record, bracketOperators), -1);
            EXPECT_EQ(record.remarks, u"Invalid array access operator");
            EXPECT_EQ(record.errorLine, line);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The stage pairs brackets through a stack and skips its own glue; these tests hold it to the
// rules written out plainly.

bool plainArrayCreation(const std::u16string& chars, std::size_t open) {
    static const Pattern creation(arrayAccessPatterns::kJavaArrayCreation);
    std::int64_t k = static_cast<std::int64_t>(open) - 1;
    const auto at = [&](std::int64_t x) { return chars[static_cast<std::size_t>(x)]; };
    while (k >= 0 && isBlankChar(at(k)))
        --k;
    while (k >= 0 && isIdentifierChar(at(k)))
        --k;
    while (k >= 0 && isBlankChar(at(k)))
        --k;
    while (k > 0 && isIdentifierChar(at(k - 1)))
        --k;
    if (k < 0) {
        k = 0;
    }
    const auto from = static_cast<std::size_t>(k);
    return from < open && creation.fullMatch(std::u16string_view(chars).substr(
                              from, open - from)) == MatchStatus::Found;
}

int plainArrayAccess(SourceText& text, FileCount& record, int& bracketOperators, bool java) {
    std::u16string& chars = text.chars;
    bracketOperators = 0;
    int count = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (chars[i] != u']') {
            continue;
        }
        const std::size_t open = chars.rfind(u'[', i);
        if (open == std::u16string::npos) {
            record.errorLine = lineOfPosition(text, static_cast<std::int64_t>(i));
            return -1;
        }
        const bool counted = !java || !plainArrayCreation(chars, open);
        std::u16string copy = chars.substr(open, i - open + 1);
        bracketOperators +=
            java ? countJavaOperators(copy, record) : countCppOperators(copy, record);
        for (std::size_t x = open; x <= i; ++x) {
            chars[x] = chars[x] == u'\n' ? u'1' : u'_';
        }
        count += counted ? 1 : 0;
    }
    return count;
}

TEST(ArrayAccessCounterTest, AgreesWithThePlainRulesOnGeneratedTexts) {
    static const std::u16string alphabet = u"[[[]]]__  \n\t+=.*-anwe_x<>1";
    static const std::u16string_view words[] = {u"new ", u"int",        u"new int", u"a.b",
                                                u"  ",   u"new Abcdef", u"\t\t"};
    std::mt19937 random(777);
    int counted = 0;
    for (int round = 0; round < 40000; ++round) {
        std::u16string body;
        for (std::size_t k = random() % 60; k > 0; --k) {
            if (random() % 4 == 0) {
                body += words[random() % std::size(words)];
            } else {
                body.push_back(alphabet[random() % alphabet.size()]);
            }
        }
        const bool java = round % 2 == 0;
        SCOPED_TRACE(test::u8(body));
        SourceText expectedText = SourceText::fromBody(body);
        SourceText actualText = expectedText;
        FileCount record(u"a.java", "/nonexistent");
        int expectedOperators = 0;
        int actualOperators = 0;
        const int expected = plainArrayAccess(expectedText, record, expectedOperators, java);
        const int actual = java ? countJavaArrayAccess(actualText, record, actualOperators)
                                : countCppArrayAccess(actualText, record, actualOperators);
        ASSERT_EQ(actual, expected);
        if (expected >= 0) {
            ASSERT_EQ(actualOperators, expectedOperators);
            ASSERT_EQ(test::u8(actualText.chars), test::u8(expectedText.chars));
            counted += expected;
        }
    }
    EXPECT_GT(counted, 15000);
}

TEST(ArrayAccessCounterTest, StaysLinearOnNestedAndChainedBrackets) {
    const std::size_t n = 300000;
    const auto repeated = [](std::u16string_view piece, std::size_t times) {
        std::u16string text;
        for (std::size_t k = 0; k < times; ++k) {
            text += piece;
        }
        return text;
    };
    const struct {
        const char* name;
        std::u16string body;
        int count;
    } cases[] = {
        {"nested", repeated(u"a[", n) + u"i" + repeated(u"]", n), static_cast<int>(n)},
        {"nested with operators", repeated(u"a[i+", n) + repeated(u"]", n), static_cast<int>(n)},
        {"chained", u"a" + repeated(u"[i]", n), static_cast<int>(n)},
        {"many opening, none closing", repeated(u"[", n), 0},
    };
    const struct {
        const char* name;
        std::u16string body;
        int cpp;
        int java;
    } creations[] = {
        // A long type name in front of many dimensions is read once, not at every bracket.
        {"long type, many dimensions", u"new " + repeated(u"a", n) + repeated(u"[i]", n),
         static_cast<int>(n), 0},
        {"long blanks, many dimensions", u"new" + repeated(u" ", n) + u"int" + repeated(u"[i]", n),
         static_cast<int>(n), 0},
    };
    for (const auto& c : creations) {
        SCOPED_TRACE(c.name);
        for (const bool java : {false, true}) {
            SourceText text = SourceText::fromBody(c.body);
            FileCount record(u"a.java", "/nonexistent");
            int bracketOperators = 0;
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(java ? countJavaArrayAccess(text, record, bracketOperators)
                           : countCppArrayAccess(text, record, bracketOperators),
                      java ? c.java : c.cpp);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
#if defined(NDEBUG)
            EXPECT_LT(seconds, 1.0);
#else
            (void)seconds;
#endif
        }
    }
    for (const ArrayStage stage : {countCppArrayAccess, countJavaArrayAccess}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            SourceText text = SourceText::fromBody(c.body);
            FileCount record(u"a.cpp", "/nonexistent");
            int bracketOperators = 0;
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(stage(text, record, bracketOperators), c.count);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
#if defined(NDEBUG)
            EXPECT_LT(seconds, 1.0);
#else
            (void)seconds;
#endif
        }
    }
}

}  // namespace
}  // namespace tw
