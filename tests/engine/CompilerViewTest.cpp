// Lines counted as the compiler sees them: what each form below used to get wrong, through
// FileCount::count(). A file without these forms counts as it always did.
#include <gtest/gtest.h>

#include <string>

#include "engine/FileCount.h"
#include "support/SettingsWith.h"
#include "support/TempDir.h"
#include "support/U16.h"

namespace tw {
namespace {

struct Counts {
    std::uint32_t code, directive, ownLine, codeLine, banner, words, commentBlank, blank;
    bool operator==(const Counts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Counts& c) {
    return out << "{code " << c.code << ", directive " << c.directive << ", own " << c.ownLine
               << ", codeLine " << c.codeLine << ", banner " << c.banner << ", words " << c.words
               << ", commentBlank " << c.commentBlank << ", blank " << c.blank << "}";
}

struct ViewCase {
    const char* name;
    const char* file;
    CountMode mode;
    std::string bytes;
    Counts counts;
    const char16_t* remarks = u"";  // the whole failure text, for a file that must fail
};

const std::string kNul(1, '\0');
const auto P = CountMode::Physical;
const auto T = CountMode::TerminatingCharacters;
const auto E = CountMode::Executable;

TEST(CompilerViewTest, EachFormCountsAsCompiled) {
    const ViewCase cases[] = {
        // Inside a block comment "//" is ordinary text; the "*/" after it closes the comment.
        {"line comment marker inside a block comment",
         "a.c",
         P,
         "/* a\n// b */\nint x;\nint y;\n",
         {2, 0, 2, 0, 0, 2, 0, 0}},
        {"the same, with code after the close",
         "a.c",
         P,
         "/* a\n// b */ int x;\nint y;\n",
         {1, 0, 1, 1, 0, 2, 0, 0}},
        // Every physical line of a string continued by backslashes is a line.
        {"string continued over five lines",
         "a.c",
         P,
         "const char* s = \"a\\\nb\\\nc\\\nd\\\ne\";\n",
         {5, 0, 0, 0, 0, 0, 0, 0}},
        {"continued string in a directive",
         "a.h",
         P,
         "#define S \"a\\\nb\"\nint x;\n",
         {3, 0, 0, 0, 0, 0, 0, 0}},
        // A zero byte is an ordinary character.
        {"zero byte in a C file",
         "a.c",
         P,
         "int a;" + kNul + "\nint b;\n",
         {2, 0, 0, 0, 0, 0, 0, 0}},
        {"zero character in a Java string",
         "A.java",
         P,
         "class A {\n  String s = \"" + kNul + "\";\n}\n",
         {3, 0, 0, 0, 0, 0, 0, 0}},
        // An apostrophe in the message of #error or #warning is no literal.
        {"apostrophe in #error",
         "a.c",
         P,
         "#error don't build this\nint x;\n",
         {2, 0, 0, 0, 0, 0, 0, 0}},
        {"apostrophe in #warning, Executable",
         "a.c",
         E,
         "#if X\n#warning it's old\n#endif\nint x = 1;\n",
         {1, 3, 0, 0, 0, 0, 0, 0}},
        // Java's imports and package are directives of the Executable mode alone, and part of
        // no total in the other modes.
        {"Java directives, physical",
         "A.java",
         P,
         "package a.b;\nimport c.d;\nclass A {}\n",
         {3, 0, 0, 0, 0, 0, 0, 0}},
        {"Java directives, terminating characters",
         "A.java",
         T,
         "package a.b;\nimport c.d;\nclass A { int x; }\n",
         {1, 0, 0, 0, 0, 0, 0, 0}},
        {"Java directives, Executable",
         "A.java",
         E,
         "package a.b;\nimport c.d;\nclass A {}\n",
         {0, 2, 0, 0, 0, 0, 0, 0}},
        // Form feed and vertical tab are white space.
        {"form feed and vertical tab lines",
         "a.c",
         P,
         "int a;\n\f\n \v \nint b;\n",
         {2, 0, 0, 0, 0, 0, 0, 2}},
        {"form feed before a comment",
         "a.c",
         P,
         "\f// page two\nint b;\n",
         {1, 0, 1, 0, 0, 2, 0, 0}},
        // A backslash at the end of a line comment joins the next line to the comment in C and
        // C++ (and resource scripts, which the C preprocessor reads); not in Java.
        {"line comment continued by a backslash",
         "a.c",
         P,
         "int a; // note \\\nint b;\nint c;\n",
         {1, 0, 1, 1, 0, 3, 0, 0}},
        {"line comment continued twice, then an empty line",
         "a.cpp",
         P,
         "// a \\\n--- \\\n\nint c;\n",
         {1, 0, 1, 0, 1, 1, 1, 0}},
        {"continued comment in a directive",
         "a.h",
         E,
         "#define A 1 // one \\\ntwo\nint x = A;\n",
         {1, 1, 1, 1, 0, 0, 0, 0}},
        {"continued comment in a resource script",
         "a.rc",
         P,
         "// a \\\nb\nID 1\n",
         {1, 0, 2, 0, 0, 2, 0, 0}},
        {"Java joins no lines",
         "A.java",
         P,
         "int a; // note \\\nint b;\n",
         {1, 0, 0, 1, 0, 1, 0, 0}},
        // Words are runs of letters and digits of any script.
        {"accented words",
         "a.c",
         P,
         "// na\xC3\xAFve caf\xC3\xA9 r\xC3\xA9sum\xC3\xA9\n",
         {0, 0, 1, 0, 0, 3, 0, 0}},
        {"a comment in Japanese is no banner",
         "a.c",
         P,
         "// \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x82\xB3\xE3\x83\xA1"
         "\xE3\x83\xB3\xE3\x83\x88\n",
         {0, 0, 1, 0, 0, 1, 0, 0}},
        {"a rule of dashes beyond ASCII is a banner",
         "a.c",
         P,
         "// \xE2\x94\x80\xE2\x94\x80\xE2\x94\x80\n",
         {0, 0, 0, 0, 1, 0, 0, 0}},
        // A physical count does not fail for what only the logical modes need.
        {"unclosed array initialiser, physical",
         "a.c",
         P,
         "static int a[] = {\n1,\n2,\n",
         {3, 0, 0, 0, 0, 0, 0, 0}},
        {"unclosed annotation, physical",
         "A.java",
         P,
         "class A {\n  @Check(a = 1\n}\n",
         {3, 0, 0, 0, 0, 0, 0, 0}},
        {"unclosed array initialiser, Executable",
         "a.c",
         E,
         "static int a[] = {\n1,\n2,\n",
         {},
         u"Logical pre-parser failure: Failed to parse array initialization: Unclosed array "
         u"initialization brackets ({}) (line 1)."},
    };
    test::TempDir dir;
    for (const ViewCase& c : cases) {
        SCOPED_TRACE(c.name);
        FileCount record(test::u16(c.file), dir.write(c.file, c.bytes));
        const bool counted = record.count(test::settingsWith(c.mode));
        EXPECT_EQ(record.remarks, c.remarks);
        if (!counted) {
            // A failed file keeps its failure, and no counts.
            EXPECT_TRUE(record.failed);
            EXPECT_EQ(record.total(), 0u);
            continue;
        }
        EXPECT_EQ(
            (Counts{record.code, record.directive, record.commentOwnLine, record.commentCodeLine,
                    record.commentBanner, record.commentWords, record.commentBlank, record.blank}),
            c.counts);
    }
}

}  // namespace
}  // namespace tw
