#include "engine/DeclarationCounter.h"

#include <gtest/gtest.h>

#include <chrono>

#include "support/U16.h"

namespace tw {
namespace {

using DeclarationStage = int (*)(std::u16string&, FileCount&, DeclarationTally&);

struct DeclarationCase {
    const char* text;
    int declarations;
    int initialisers;
    int functionDeclarators;
    const char* after;
};

void expectDeclarations(DeclarationStage stage, const DeclarationCase& c) {
    SCOPED_TRACE(c.text);
    std::u16string text = test::u16(c.text);
    FileCount record(u"a.cpp", "/nonexistent");
    DeclarationTally tally;
    EXPECT_EQ(stage(text, record, tally), c.declarations);
    EXPECT_EQ(tally.initialisers, c.initialisers);
    EXPECT_EQ(tally.functionDeclarators, c.functionDeclarators);
    if (c.after != nullptr) {
        EXPECT_EQ(test::u8(text), c.after);
    }
}

TEST(DeclarationCounterTest, CountsCppDeclarationsTypedefsAndClassKeywords) {
    const DeclarationCase cases[] = {
        {"int x;", 1, 0, 0, "      "},
        {"int x = 0;", 1, 1, 0, "          "},
        {"int a, *b, c = 0;", 3, 1, 0, nullptr},
        // The '+' goes with the declaration: the operator stage never sees it.
        {"int *p = q + r;", 1, 1, 0, "               "},
        {"return x;", 0, 0, 0, "return x;"},
        {"x = y;", 0, 0, 0, "x = y;"},
        {"*p = x;", 0, 0, 0, "*p = x;"},
        // The statement runs to the last ';' of its line, so its first piece fits nothing.
        {"int a; int b;", 0, 0, 0, "int a; int b;"},
        // The blanks after "else" reach over the line feed.
        {"else\nx = y;", 1, 1, 0, "    \n      "},
        {"vector<int> v;", 1, 0, 0, "              "},
        {"map<string, vector<int> > m;", 1, 0, 0, nullptr},
        {"int @_____;", 1, 0, 1, nullptr},
        {"int x = @_____;", 1, 1, 0, nullptr},
        {"int f = @__, g = 0, @____;", 3, 2, 1, nullptr},
        {"typedef int T;", 1, 0, 0, nullptr},
        {"typedef struct { int a; } S;", 1, 0, 0, nullptr},
        {"typedef struct {\n int a;\n} S;", 2, 0, 0, nullptr},
        {"class A {", 1, 0, 0, "      A {"},
        {"struct A;", 1, 0, 0, nullptr},
        // The list "<class T>" becomes glue, so only the second class counts.
        {"template <class T> class A {", 1, 0, 0, "template _________       A {"},
        {"int a[000] = {};", 0, 0, 0, nullptr},
        {"", 0, 0, 0, ""},
    };
    for (const DeclarationCase& c : cases) {
        expectDeclarations(static_cast<DeclarationStage>(countCppDeclarations), c);
    }
}

TEST(DeclarationCounterTest, CountsJavaDeclarationsAndInterfaceKeywords) {
    const DeclarationCase cases[] = {
        {"List<String> names;", 1, 0, 0, nullptr},
        {"Map<String, List<Integer>> m = @__;", 1, 1, 0, nullptr},
        {"interface Shape {", 1, 0, 0, nullptr},
        {"int a, b = 0;", 2, 1, 0, nullptr},
        // No '*' or '&' in Java declarators, and no typedefs.
        {"int *p;", 0, 0, 0, nullptr},
        {"typedef struct { int a; } S;", 1, 0, 0, "typedef        { int a; } S;"},
        {"public abstract void @_____;", 1, 0, 1, nullptr},
    };
    for (const DeclarationCase& c : cases) {
        expectDeclarations(static_cast<DeclarationStage>(countJavaDeclarations), c);
    }
}

TEST(DeclarationCounterTest, ReportsWhereEachFunctionDeclaratorMarkerStands) {
    std::u16string text = u"int a = @__, @___;\nint @_;";
    FileCount record(u"a.cpp", "/nonexistent");
    DeclarationTally tally;
    ASSERT_EQ(countCppDeclarations(text, record, tally), 3);
    EXPECT_EQ(tally.declaratorMarkers, (std::vector<std::size_t>{13, 23}));
}

TEST(DeclarationCounterTest, LongBlanksAndLongLinesStayCheap) {
    const auto blanks = [](std::size_t n) { return std::u16string(n, u' '); };
    std::u16string table;
    // A generated table whose initialiser the pre-parser blanked: thousands of blanks between
    // the declarator and its ';', many times over.
    for (int k = 0; k < 200; ++k) {
        table += u"static const unsigned long crc_table" + blanks(5000) + u";\n";
    }
    std::u16string words;
    for (int k = 0; k < 500000; ++k) {
        words += u"a b ";
    }
    std::u16string typedefs;
    for (int k = 0; k < 300000; ++k) {
        typedefs += u"typedef ( ";
    }
    const struct {
        const char* name;
        std::u16string text;
        int cppDeclarations;
        int javaDeclarations;
    } cases[] = {
        {"blanked initialisers", table, 200, 200},
        {"one long line without ';'", words, 0, 0},
        // Only the first typedef reaches a ';' (Java has no typedef phase).
        {"typedefs never closed", typedefs + u";" + typedefs, 1, 0},
        {"templates with thousands of '<'", std::u16string(300000, u'<') + u"a> b;", 1, 1},
        {"lists that never close",
         std::u16string(300000, u'<') + u"a" + std::u16string(300000, u'>'), 0, 0},
    };
    const DeclarationStage stages[] = {countCppDeclarations, countJavaDeclarations};
    for (const DeclarationStage stage : stages) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            std::u16string text = c.text;
            FileCount record(u"a.cpp", "/nonexistent");
            DeclarationTally tally;
            const auto start = std::chrono::steady_clock::now();
            const int declarations = stage(text, record, tally);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            EXPECT_EQ(declarations, stage == stages[0] ? c.cppDeclarations : c.javaDeclarations);
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
