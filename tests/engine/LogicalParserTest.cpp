#include "engine/LogicalParser.h"

#include <gtest/gtest.h>

#include "engine/CountSettings.h"
#include "support/U16.h"

namespace tw {
namespace {

struct Parsed {
    bool succeeded;
    std::uint32_t code;
    std::uint32_t declaration;
    std::u16string remarks;
    int errorLine;
};

Parsed parse(const CountSettings& settings, const char* body, std::u16string_view path = u"a.cpp") {
    SourceText text = SourceText::fromBody(test::u16(body));
    FileCount record(path, "/nonexistent");
    const bool succeeded = parseLogical(text, record, settings);
    return {succeeded, record.code, record.declaration, record.remarks, record.errorLine};
}

CountSettings withMode(CountMode mode) {
    CountSettings settings;
    settings.mode = mode;
    return settings;
}

CountSettings executable(bool allCapsAsMacros, bool macrosAsStatements, bool logicAsSingle) {
    CountSettings settings;
    settings.mode = CountMode::Executable;
    settings.allCapsFunctionsAsMacros = allCapsAsMacros;
    settings.macrosAsStatements = macrosAsStatements;
    settings.logicAsSingleStatement = logicAsSingle;
    return settings;
}

TEST(LogicalParserTest, AnEmptyTextCountsNothingInEveryMode) {
    for (const CountMode mode : {CountMode::Physical, CountMode::TerminatingCharacters,
                                 CountMode::Executable, CountMode::CyclomaticComplexity}) {
        for (const char16_t* path : {u"a.cpp", u"a.java", u"a.cs"}) {
            const Parsed parsed = parse(withMode(mode), "", path);
            EXPECT_TRUE(parsed.succeeded);
            EXPECT_EQ(parsed.code, 0u);
            EXPECT_EQ(parsed.declaration, 0u);
        }
    }
}

TEST(LogicalParserTest, EachModeCountsItsOwnWay) {
    const struct {
        CountMode mode;
        const char* text;
        std::uint32_t code;
        std::uint32_t declaration;
    } cases[] = {
        {CountMode::TerminatingCharacters, "for (;;) x = f(a);", 3, 0},
        {CountMode::TerminatingCharacters, "int x = 0\n", 0, 0},
        {CountMode::CyclomaticComplexity, "if (a == b) x = f(a);", 0, 0},
        {CountMode::CyclomaticComplexity, "int g(int a) { if (a == b) x = f(a); return a; }", 2, 0},
        {CountMode::Physical, "if (a == b) x = f(a);", 0, 0},
        {CountMode::Executable, "if (a == b) x = f(a);", 4, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Parsed parsed = parse(withMode(c.mode), c.text);
        EXPECT_TRUE(parsed.succeeded);
        EXPECT_EQ(parsed.code, c.code);
        EXPECT_EQ(parsed.declaration, c.declaration);
    }
}

TEST(LogicalParserTest, ExecutableNetContributionsOfCommonConstructs) {
    const struct {
        const char* text;
        const char16_t* path;
        std::uint32_t code;
        std::uint32_t declaration;
    } cases[] = {
        {"foo(a, b);", u"a.cpp", 1, 0},
        {"foo(a + b);", u"a.cpp", 2, 0},
        // A prototype: stage 1 counts the function, stage 3 takes it back; the '*' stays.
        {"int f(int *p);", u"a.cpp", 1, 1},
        {"int x = 0;", u"a.cpp", 1, 1},
        {"int x = f(y);", u"a.cpp", 2, 1},
        {"if (a == b)", u"a.cpp", 2, 0},
        {"x = a[i + 0] * 0;", u"a.cpp", 4, 0},
        // A statement runs to the last ';' of its line: on one line the member is no
        // declaration of its own.
        {"class A {\n int b;\n};", u"a.h", 0, 2},
        {"class A { int b; };", u"a.h", 0, 1},
        // Two calls and an assignment; the assignment's glue reaches "new", which then has no
        // word boundary before it.
        {"names = new ArrayList<>(); names.add(x);", u"a.java", 4, 0},
        {"List<String> names = new ArrayList<>();\nnames.add(x);", u"a.java", 3, 1},
        {"x = new int[n]; y = a[i];", u"a.java", 3, 0},
        // Other file types run stage 1 only: no operators, no declarations.
        {"x = foo(a + b); int y = 0;", u"a.cs", 2, 0},
        {"x = foo(a + b); int y = 0;", u"readme", 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Parsed parsed = parse(executable(false, true, false), c.text, c.path);
        EXPECT_TRUE(parsed.succeeded);
        EXPECT_EQ(parsed.code, c.code);
        EXPECT_EQ(parsed.declaration, c.declaration);
    }
}

TEST(LogicalParserTest, OptionsChangeWhatExecutableCounts) {
    const struct {
        const char* text;
        const char16_t* path;
        bool allCapsAsMacros;
        bool macrosAsStatements;
        bool logicAsSingle;
        std::uint32_t code;
    } cases[] = {
        {"MAX(a, b);", u"a.cpp", true, false, false, 0},
        {"MAX(a, b);", u"a.cpp", true, true, false, 1},
        {"MAX(a, b);", u"a.cpp", false, false, false, 1},
        {"Max(a, b);", u"a.cpp", true, false, false, 1},
        // The argument list's operators stay counted.
        {"MAX(a + b, c);", u"a.cpp", true, false, false, 1},
        // Every file type that runs stage 1.
        {"MAX(a, b);", u"a.java", true, false, false, 0},
        {"MAX(a, b);", u"a.cs", true, false, false, 0},
        {"if (a == b)", u"a.cpp", false, true, false, 2},
        {"if (a == b)", u"a.cpp", false, true, true, 1},
        {"while (a && b || !c)", u"a.java", false, true, false, 4},
        {"while (a && b || !c)", u"a.java", false, true, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Parsed parsed = parse(
            executable(c.allCapsAsMacros, c.macrosAsStatements, c.logicAsSingle), c.text, c.path);
        EXPECT_TRUE(parsed.succeeded);
        EXPECT_EQ(parsed.code, c.code);
    }
}

// An all-caps function that the declaration stage already took back as a function declarator
// is not taken back a second time: the code count would wrap below zero.
TEST(LogicalParserTest, AllCapsFunctionsAreTakenBackOnlyOnce) {
    const struct {
        const char* text;
        std::uint32_t code;
        std::uint32_t declaration;
    } cases[] = {
        {"int FOO(void);", 0, 1},
        {"MAX(a, b);", 0, 0},
        {"int x = BAR(y);", 1, 1},
        {"int FOO(void);\nint x = BAR(y);\nMAX(a, b);", 1, 2},
        {"int FOO(int *p);", 1, 1},
        // Inside another call the all-caps marker is gone, so it is taken back.
        {"int x = f(BAR(y));", 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Parsed parsed = parse(executable(true, false, false), c.text);
        EXPECT_TRUE(parsed.succeeded);
        EXPECT_EQ(parsed.code, c.code);
        EXPECT_EQ(parsed.declaration, c.declaration);
    }
}

// An '@' from the source (not one the function stage wrote) ends a declarator without there
// being a function to take back.
TEST(LogicalParserTest, AnAtSignFromTheSourceTakesNothingBack) {
    const Parsed parsed = parse(executable(false, true, false), "int @a;");
    EXPECT_TRUE(parsed.succeeded);
    EXPECT_EQ(parsed.code, 0u);
    EXPECT_EQ(parsed.declaration, 1u);
}

TEST(LogicalParserTest, AFailingStagePutsItsPrefixBeforeItsMessage) {
    const struct {
        const char* text;
        const char16_t* path;
        const char16_t* remarks;
        int errorLine;
        std::uint32_t code;
    } cases[] = {
        {"f(a);\nx)", u"a.cpp",
         u"Error identifying function(s): Failed to capture function: Unable to find opening "
         u"parenthesis.",
         2, 0},
        {"f(a);\n\na]", u"a.cpp",
         u"Error parsing array access operators: Invalid array access operator", 3, 1},
        {"f(a);\n\na]", u"a.java",
         u"Error parsing array access operators: Invalid array access operator", 3, 1},
        {"f(a);\nwhile (x\n", u"a.cpp", u"Error parsing logic statement: ", 2, 1},
        // The failing stage adds nothing, not even what it counted before failing.
        {"f(a);\nfinally {} while (x\n", u"a.java", u"Error parsing logic statement: ", 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Parsed parsed = parse(executable(false, true, false), c.text, c.path);
        EXPECT_FALSE(parsed.succeeded);
        EXPECT_EQ(parsed.remarks, c.remarks);
        EXPECT_EQ(parsed.errorLine, c.errorLine);
        EXPECT_EQ(parsed.code, c.code);
    }
}

}  // namespace
}  // namespace tw
