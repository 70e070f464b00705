#include "engine/PhysicalPreparser.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/U16.h"

namespace tw {
namespace {

using test::u16;

struct PreparseCase {
    const char* name;
    std::u16string before;
    std::u16string after;  // the text this stage leaves; empty when it fails
    std::u16string remarks;
    int errorLine;
    const char16_t* path = u"a.cpp";  // decides the file type
    /// Line feeds left inside literals.
    std::vector<std::uint32_t> literalLineFeeds = {};
};

TEST(PhysicalPreparserTest, BlanksLiteralsAndFailsOnWhatNeverCloses) {
    const PreparseCase cases[] = {
        {"escaped quote stays inside", u"s = \"a\\\"b\"; // \"x\"", u"s = ______; // \"x\"", u"",
         -1},
        {"character literal holding a double quote", u"c = '\"'; d = \"x\";", u"c = ___; d = ___;",
         u"", -1},
        {"two backslashes end the literal", u"s = \"\\\\\"; t", u"s = ____; t", u"", -1},
        {"continued string keeps its lines",
         u"s = \"a\\\nb\";",
         u"s = ___\n__;",
         u"",
         -1,
         u"a.cpp",
         {7}},
        {"block comment skipped", u"/* \"x */ y = 'a';", u"/* \"x */ y = ___;", u"", -1},
        {"slash star slash does not close", u"/*/ x */ 'a'", u"/*/ x */ ___", u"", -1},
        {"line comment without line feed", u"x; // 'unclosed", u"x; // 'unclosed", u"", -1},
        {"directive comment spans lines", u"#define A /* x\ny */ 'q'\nz = 'b';",
         u"#define A /* x\ny */ ___\nz = ___;", u"", -1},
        // The text of #error and #warning is a message: a quote that does not close on its own
        // line opens nothing there.
        {"apostrophes of messages", u"#error don't\nx\n#  warning it's\n#error 'a' \"b\"",
         u"#error don't\nx\n#  warning it's\n#error ___ ___", u"", -1},
        {"a message's quote does not close on a continued line", u"#error don't \\\nstop\nx = 'a';",
         u"#error don't \\\nstop\nx = ___;", u"", -1},
        {"a message's literal on a continued line",
         u"#error \"a \\\nb\"\nx",
         u"#error ____\n__\nx",
         u"",
         -1,
         u"a.cpp",
         {11}},
        {"apostrophes pair up across other directives",
         u"#define A don't\nx\n#define B it's",
         u"#define A don__\n_\n_____________s",
         u"",
         -1,
         u"a.cpp",
         {15, 17}},
        {"only the end mark", u"", u"", u"", -1},
        {"unclosed literal", u"a\nb = \"x;\n", u"", u"Unclosed character or string literal", 2},
        {"unclosed comment", u"a\n\n/* x", u"", u"Unclosed comment", 3},
        {"slash star slash alone", u"/*/", u"", u"Unclosed comment", 1},
        {"unclosed comment in a directive", u"x\n#define A /* y\n", u"",
         u"Failed to find end of compiler directive: "
         u"Unclosed C-style comment within compiler directive.",
         2},
        {"unclosed literal in a directive", u"\n#define A don't stop\n", u"",
         u"Failed to find end of compiler directive: "
         u"Unterminated string or character literal within compiler directive",
         2},
        {"raw string keeps its line feeds",
         u"s = R\"(a\n\n'b)\"_j; c = 'x';",
         u"s = R___\n\n_____j; c = ___;",
         u"",
         -1,
         u"a.cpp",
         {8, 9}},
        {"text block keeps its line feeds",
         u"s = \"\"\"\n  \"it's\"\n  \"\"\"; c = 'x';",
         u"s = ___\n________\n_____; c = ___;",
         u"",
         -1,
         u"A.java",
         {7, 16}},
        // A line comment ending in a backslash goes on over the next line in C and C++, not
        // in Java.
        {"line comment continued by a backslash", u"x; // a \\\n'b\nc = 'd';",
         u"x; // a \\\n'b\nc = ___;", u"", -1},
        {"Java joins no lines", u"x; // a \\\n'b';", u"x; // a \\\n___;", u"", -1, u"A.java"},
        {"raw string in a directive",
         u"#define J R\"(\n')\"\nc = 'x';",
         u"#define J R__\n___\nc = ___;",
         u"",
         -1,
         u"a.h",
         {13}},
        {"separators beside a character literal, in a directive too",
         u"#if A > 1'000\n#endif\nx = 0xFF'FF + 'a' + 1'0;",
         u"#if A > 1'000\n#endif\nx = 0xFF'FF + ___ + 1'0;", u"", -1},
        {"unclosed raw string", u"x;\ns = R\"-(a)\";\n\n", u"",
         u"Unclosed character or string literal", 2},
        {"unclosed text block", u"x;\n\ns = \"\"\"\n a\n", u"",
         u"Unclosed character or string literal", 3, u"A.java"},
        {"unclosed raw string in a directive", u"x;\n#define J R\"(a\n", u"",
         u"Failed to find end of compiler directive: "
         u"Unterminated string or character literal within compiler directive",
         2},
    };
    for (const PreparseCase& c : cases) {
        SCOPED_TRACE(c.name);
        SourceText text = SourceText::fromBody(c.before);
        FileCount record(c.path, "/nonexistent");
        const bool ok = preparsePhysical(text, record);
        EXPECT_EQ(ok, c.remarks.empty());
        EXPECT_EQ(record.remarks, c.remarks);
        EXPECT_EQ(record.errorLine, c.errorLine);
        if (ok) {
            EXPECT_EQ(text.chars, c.after + kEndMark);
            EXPECT_EQ(text.literalLineFeeds, c.literalLineFeeds);
        }
    }
}

TEST(PhysicalPreparserTest, DirectiveEndsAtTheFirstLineNotContinuedByABackslash) {
    const struct {
        std::u16string text;
        std::int64_t end;  // position of the ending line feed, or of the end mark
    } cases[] = {
        {u"#define A 1\nx", 11},
        {u"#define A \\\n 1\nx", 14},
        {u"#define A \\\n\n\n 1\nx", 16},  // blank lines keep a continued directive going
        // A comment's backslash joins the next line to the comment, which ends the directive.
        {u"#define A // c \\\nx\ny", 18},
        {u"#define A /* a\n b */ 1\nx", 22},
        {u"#define A \\", 11},  // the end mark
        {u"#", 1},
    };
    for (const auto& c : cases) {
        SourceText text = SourceText::fromBody(c.text);
        FileCount record(u"a.cpp", "/nonexistent");
        EXPECT_EQ(findDirectiveEnd(text, 0, record), c.end) << test::u8(c.text);
    }
}

TEST(PhysicalPreparserTest, LiteralEndHonoursRunsOfBackslashes) {
    const struct {
        std::u16string text;
        std::int64_t end;
    } cases[] = {
        {u"\"abc\"", 4}, {u"\"a\\\"b\"", 5}, {u"\"\\\\\"", 3}, {u"\"\\\\\\\"\"", 5},
        {u"'\"'", 2},    {u"\"'\"", 2},      {u"\"abc", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(findLiteralEnd(c.text, 0, c.text[0]), c.end) << test::u8(c.text);
    }
}

}  // namespace
}  // namespace tw
