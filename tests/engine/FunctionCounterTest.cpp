#include "engine/FunctionCounter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "engine/OperatorCounter.h"
#include "engine/WideChar.h"
#include "support/U16.h"

namespace tw {
namespace {

struct FunctionCase {
    const char* text;
    int count;
    int allCaps;
    int argumentOperators;
    const char* after;  ///< nullptr when the text left behind does not matter for the case
};

TEST(FunctionCounterTest, RecognisesCastsAndFunctionsAndOverwritesThem) {
    const FunctionCase cases[] = {
        {"foo(a + b);", 1, 0, 1, "@_________;"},
        {"x = (int)y;", 1, 0, 0, "x =      y;"},
        {"(char *) p", 1, 0, 0, "         p"},
        // Not a cast (an operator inside) and no name before the parenthesis.
        {"x = (a + b);", 0, 0, 0, "x = (a + b);"},
        // Fits the cast pattern and an identifier follows: blanked as a cast, the if with it.
        {"if (x) y = 0;", 1, 0, 0, "if     y = 0;"},
        {"if (x == y)", 0, 0, 0, "if (x == y)"},
        {"while(x)", 0, 0, 0, nullptr},
        {"return (x);", 0, 0, 0, nullptr},
        {"sizeof(int) * n", 0, 0, 0, nullptr},
        {"catch (e)", 1, 0, 0, "@________"},
        {"MAX(a, b)", 1, 1, 0, "@________"},
        {"Max(a, b)", 1, 0, 0, nullptr},
        {"MAX_LEN(a)", 1, 0, 0, nullptr},
        {"MAX0(a)", 1, 0, 0, nullptr},
        {"MAX (a)", 1, 0, 0, nullptr},
        {"foo<int>(x)", 1, 0, 0, "@__________"},
        {"foo<vector<T>, typename U>(x)", 1, 0, 0, nullptr},
        {"foo<a + b>(x)", 0, 0, 0, "foo<a + b>(x)"},
        {"{ a > (b)", 0, 0, 0, "{ a > (b)"},
        {"(a);", 0, 0, 0, "(a);"},
        {"(int)x;", 1, 0, 0, "     x;"},
        {"int f(int *p)", 1, 0, 1, "int @________"},
        // Inner groups close first; the outer argument list then holds only glue.
        {"f(g(x))", 2, 0, 0, "@______"},
        {"f(a + g(b * c))", 2, 0, 2, nullptr},
        // Only the last name before the parenthesis is captured.
        {"std::max(a, b)", 1, 0, 0, "std::@________"},
        {"obj.method(x)", 1, 0, 0, "obj.@________"},
        // A call right after another reads the first one's glue as its name.
        {"f(a+b)(y)", 2, 0, 1, "@@_______"},
        // A one-word group followed by '(' is a cast, and the name then belongs to the next.
        {"f(x)(y)", 2, 0, 0, "@______"},
        // A line feed inside a call becomes the newline marker.
        {"f(a,\nb)", 1, 0, 0, "@___1__"},
        // A list with no comma and no argument holds no piece, so nothing fails in it.
        {"f<>(x)", 1, 0, 0, nullptr},
        {"", 0, 0, 0, ""},
    };
    for (const FunctionCase& c : cases) {
        SCOPED_TRACE(c.text);
        SourceText text = SourceText::fromBody(test::u16(c.text));
        FileCount record(u"a.cpp", "/nonexistent");
        int allCaps = -1;
        int argumentOperators = -1;
        EXPECT_EQ(countFunctions(text, record, allCaps, argumentOperators), c.count);
        EXPECT_EQ(allCaps, c.allCaps);
        EXPECT_EQ(argumentOperators, c.argumentOperators);
        if (c.after != nullptr) {
            EXPECT_EQ(test::u8(text.chars.substr(0, text.size() - 1)), c.after);
        }
        EXPECT_EQ(record.errorLine, -1);
    }
}

TEST(FunctionCounterTest, AClosingParenthesisWithoutOpeningOneFailsAtItsLine) {
    const struct {
        const char* text;
        int line;
    } cases[] = {{"x)", 1}, {"f(a)\n\nb)", 3}, {")(", 1}, {"a\n(b))\n)", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SourceText text = SourceText::fromBody(test::u16(c.text));
        FileCount record(u"a.cpp", "/nonexistent");
        FunctionTally tally;
        EXPECT_EQ(countFunctions(text, record, tally), -1);
        EXPECT_EQ(record.remarks,
                  u"Failed to capture function: Unable to find opening parenthesis.");
        EXPECT_EQ(record.errorLine, c.line);
    }
}

TEST(FunctionCounterTest, MarkersRecordWhereEachFunctionWasWritten) {
    SourceText text = SourceText::fromBody(u"x = MAX(a, b); int foo(void);");
    FileCount record(u"a.cpp", "/nonexistent");
    FunctionTally tally;
    ASSERT_EQ(countFunctions(text, record, tally), 2);
    ASSERT_EQ(tally.markers.size(), 2u);
    EXPECT_EQ(tally.markers[0].position, 4u);
    EXPECT_TRUE(tally.markers[0].allCaps);
    EXPECT_EQ(tally.markers[1].position, 19u);
    EXPECT_FALSE(tally.markers[1].allCaps);
}

TEST(FunctionCounterTest, CaptureIsTheLastNameWithItsTemplateListThroughTheParenthesis) {
    const struct {
        const char* text;
        const char* capture;
    } cases[] = {
        {"x = std::max(a, b)", "max(a, b)"},
        {"  (a)", "  (a)"},
        {"a = foo <T, U> (x)", "foo <T, U> (x)"},
        {"<T>(x)", "<T>(x)"},
        {"a b > (x)", "a b > (x)"},
        {"{ a > (b)", ""},
        {"f(g(x))", "f(g(x))"},
        {"+(x)", "(x)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const SourceText text = SourceText::fromBody(test::u16(c.text));
        FileCount record(u"a.cpp", "/nonexistent");
        std::u16string capture = u"stale";
        ASSERT_TRUE(captureCallText(text, record, text.chars.rfind(u')'), capture));
        EXPECT_EQ(test::u8(capture), c.capture);
    }
}

TEST(FunctionCounterTest, ParseFunctionJudgesTemplateListsNameAndKeyword) {
    const struct {
        const char* capture;
        FunctionVerdict verdict;
        int operators;
        bool allCaps;
    } cases[] = {
        {"foo(a + b)", FunctionVerdict::Function, 1, false},
        {"FOO(a)", FunctionVerdict::Function, 0, true},
        {"(a)", FunctionVerdict::NotFunction, 0, false},
        {"  (a)", FunctionVerdict::NotFunction, 0, false},
        {"if (a)", FunctionVerdict::NotFunction, 0, false},
        {"sizeof (a)", FunctionVerdict::NotFunction, 0, false},
        {"f(a > b)", FunctionVerdict::NotFunction, 0, false},
        // The list "< b, c >" is taken out, and with it the two comparisons.
        {"f(a < b, c > d)", FunctionVerdict::Function, 0, false},
        {"f<class T = std::size_t>(x)", FunctionVerdict::Function, 0, false},
        {"f<T,>(x)", FunctionVerdict::Function, 0, false},
        {"f<T, >(x)", FunctionVerdict::NotFunction, 0, false},
        {"f<, T>(x)", FunctionVerdict::NotFunction, 0, false},
        {"f<a < maximum_allowed_value && b > c>(x)", FunctionVerdict::NotFunction, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.capture);
        FileCount record(u"a.cpp", "/nonexistent");
        int operators = -1;
        bool allCaps = true;
        EXPECT_EQ(parseFunction(test::u16(c.capture), record, operators, allCaps), c.verdict);
        EXPECT_EQ(operators, c.operators);
        EXPECT_EQ(allCaps, c.allCaps);
    }
}

// ---------------------------------------------------------------------------------------------
// The stage keeps stacks, run indexes and remembered scans so that it never rescans the text;
// these tests hold it to the rules written out plainly.

/// The rules' parseFunction, word for word: remove the first '>' and the last '<' before it
/// until no '>' is left.
FunctionVerdict plainParseFunction(std::u16string capture, int& operators, bool& allCaps) {
    static const Pattern templateArgument(functionPatterns::kTemplateArgument);
    static const Pattern name(functionPatterns::kFunctionName);
    static const Pattern keyword(functionPatterns::kKeyword);
    operators = 0;
    allCaps = false;
    for (std::size_t close = capture.find(u'>'); close != std::u16string::npos;
         close = capture.find(u'>')) {
        const std::size_t open = capture.rfind(u'<', close);
        if (open == std::u16string::npos) {
            return FunctionVerdict::NotFunction;
        }
        std::u16string list = capture.substr(open + 1, close - open - 1);
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = list.find(u',', start);
            if (comma == std::u16string::npos && start == list.size()) {
                break;
            }
            const std::u16string piece = list.substr(start, comma - start);
            if (templateArgument.fullMatch(piece) != MatchStatus::Found) {
                return FunctionVerdict::NotFunction;
            }
            if (comma == std::u16string::npos) {
                break;
            }
            start = comma + 1;
        }
        capture.erase(open, close - open + 1);
    }
    const std::size_t open = capture.find(u'(');
    if (open == std::u16string::npos || open == 0) {
        return FunctionVerdict::NotFunction;
    }
    const std::u16string callee = capture.substr(0, open);
    if (name.fullMatch(callee) != MatchStatus::Found ||
        keyword.fullMatch(callee) == MatchStatus::Found) {
        return FunctionVerdict::NotFunction;
    }
    allCaps = std::all_of(callee.begin(), callee.end(),
                          [](char16_t c) { return c >= u'A' && c <= u'Z'; });
    std::u16string arguments = capture.substr(open, capture.rfind(u')') - open + 1);
    FileCount record(u"a.cpp", "/nonexistent");
    operators = countCppOperators(arguments, record);
    return FunctionVerdict::Function;
}

/// The rules' countFunctions, word for word.
int plainCountFunctions(SourceText& text, FunctionTally& tally, FileCount& record) {
    std::u16string& chars = text.chars;
    int count = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (chars[i] != u')') {
            continue;
        }
        std::u16string capture;
        if (!captureCallText(text, record, i, capture)) {
            return -1;
        }
        if (capture.empty()) {
            continue;
        }
        const std::size_t start = i - capture.size() + 1;
        if (isCast(chars, start) == MatchStatus::Found) {
            ++count;
            for (std::size_t x = chars.find(u'(', start); x <= i; ++x) {
                chars[x] = chars[x] == u'\n' ? u'\n' : u' ';
            }
            continue;
        }
        int operators = 0;
        bool allCaps = false;
        if (plainParseFunction(capture, operators, allCaps) == FunctionVerdict::Function) {
            ++count;
            tally.argumentOperators += operators;
            tally.allCapsFunctions += allCaps ? 1 : 0;
            for (std::size_t x = start; x <= i; ++x) {
                chars[x] = x == start ? u'@' : chars[x] == u'\n' ? u'1' : u'_';
            }
        }
    }
    return count;
}

std::u16string generatedText(std::mt19937& random, std::size_t pieces) {
    static const std::u16string alphabet = u"((((()))<><>__  \n\t,:=+*&aAfFxM@;1";
    static const std::u16string_view words[] = {
        u"if ",   u"sizeof", u"int ",  u"class ", u"typename ", u"::",      u"MAX", u"foo",
        u"(int)", u"f(",     u"g<T>(", u"a < b",  u"x > y",     u"while (", u"  ",  u"_____",
    };
    std::u16string text;
    for (std::size_t k = 0; k < pieces; ++k) {
        if (random() % 4 == 0) {
            text += words[random() % std::size(words)];
        } else {
            text.push_back(alphabet[random() % alphabet.size()]);
        }
    }
    return text;
}

TEST(FunctionCounterTest, AgreesWithThePlainRulesOnGeneratedTexts) {
    std::mt19937 random(4242);
    int recognised = 0;
    int failures = 0;
    for (int round = 0; round < 50000; ++round) {
        const std::u16string body = generatedText(random, random() % 80);
        SCOPED_TRACE(test::u8(body));
        SourceText expectedText = SourceText::fromBody(body);
        SourceText actualText = expectedText;
        FileCount expectedRecord(u"a.cpp", "/nonexistent");
        FileCount actualRecord(u"a.cpp", "/nonexistent");
        FunctionTally expected;
        FunctionTally actual;
        const int expectedCount = plainCountFunctions(expectedText, expected, expectedRecord);
        ASSERT_EQ(countFunctions(actualText, actualRecord, actual), expectedCount);
        ASSERT_EQ(actualRecord.errorLine, expectedRecord.errorLine);
        if (expectedCount < 0) {
            ++failures;
            continue;
        }
        ASSERT_EQ(actual.allCapsFunctions, expected.allCapsFunctions);
        ASSERT_EQ(actual.argumentOperators, expected.argumentOperators);
        ASSERT_EQ(test::u8(actualText.chars), test::u8(expectedText.chars));
        recognised += expectedCount;
    }
    // The generated texts must exercise the stage, not just fail or find nothing.
    EXPECT_GT(recognised, 30000);
    EXPECT_GT(failures, 1000);
}

// ---------------------------------------------------------------------------------------------
// Texts built to make a naive walk rescan what it has seen: each must take well under a
// second even at a few megabytes.

std::u16string repeated(std::u16string_view piece, std::size_t times) {
    std::u16string text;
    text.reserve(piece.size() * times);
    for (std::size_t k = 0; k < times; ++k) {
        text += piece;
    }
    return text;
}

TEST(FunctionCounterTest, StaysLinearOnAdversarialTexts) {
    const std::size_t n = 200000;
    const struct {
        const char* name;
        std::u16string body;
        int count;
    } cases[] = {
        {"nested groups", repeated(u"(", n) + u"x" + repeated(u")", n), 0},
        {"nested calls", repeated(u"f(", n) + u"x" + repeated(u")", n), static_cast<int>(n)},
        {"nested calls with blanks", repeated(u"f( ", n) + repeated(u") ", n), static_cast<int>(n)},
        {"chained calls", u"f" + repeated(u"(x)", n), static_cast<int>(n)},
        {"chained casts", u"abc" + repeated(u"(int)", n) + u"x", static_cast<int>(n)},
        {"casts behind a long name", repeated(u"a", n) + repeated(u"(int)", n) + u"x",
         static_cast<int>(n)},
        {"casts behind comparisons", repeated(u"(int)x>", n) + u"x", static_cast<int>(n)},
        {"nested casts", repeated(u"(", n) + u"int" + repeated(u")x", n), static_cast<int>(n)},
        {"nested comparisons", repeated(u"f(", n) + u"a>b" + repeated(u")", n), 0},
        {"nested keywords", repeated(u"sizeof(", n) + u"x" + repeated(u")", n), 0},
        {"casts behind long blanks", u"a" + repeated(u" ", n) + repeated(u"(b)", n),
         static_cast<int>(n)},
        {"chained calls with operators", u"f" + repeated(u"(x+y)", n), static_cast<int>(n)},
        {"many opening, no closing", repeated(u"f(", n), 0},
        {"unbalanced closing", repeated(u"f(x))", 3), -1},
        {"templates with thousands of '<'", repeated(u"a<", n) + u"(x)", 0},
        {"templates with thousands of '>'", repeated(u"a>", n) + repeated(u">(x)", 100), 0},
        {"nested template calls", repeated(u"f<T>(", n) + u"x" + repeated(u")", n),
         static_cast<int>(n)},
        // Each level holds the same long argument list, which fails only at its end.
        {"calls around a failing list",
         repeated(u"g(", n) + u"h(" + repeated(u"a<b>c, ", n) + u"d>e)" + repeated(u")", n), 0},
        // A keyword name with a list, around one long call.
        {"keywords around a long call",
         repeated(u"if<T>(", n) + u"h(" + repeated(u"a<b>c, ", n) + u"d)" + repeated(u")", n), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SourceText text = SourceText::fromBody(c.body);
        FileCount record(u"a.cpp", "/nonexistent");
        FunctionTally tally;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(countFunctions(text, record, tally), c.count);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
#if defined(NDEBUG)
        EXPECT_LT(seconds, 1.0);
#else
        (void)seconds;
#endif
    }
}

}  // namespace
}  // namespace tw
