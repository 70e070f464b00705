// Raw strings, strings continued by backslashes, digit separators and text blocks through
// FileCount::count(). In the physical mode every line such a literal spans is a code line; in the
// Executable mode a file counts the same statements, declarations and directives as the same file
// with an ordinary literal (or a number without separators) in its place.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "engine/FileCount.h"
#include "support/SettingsWith.h"
#include "support/TempDir.h"
#include "support/U16.h"

namespace tw {
namespace {

struct Lines {
    std::uint32_t code, ownLine, codeLine, blank;
    bool operator==(const Lines&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Lines& l) {
    return out << "{code " << l.code << ", own " << l.ownLine << ", codeLine " << l.codeLine
               << ", blank " << l.blank << "}";
}

struct FormCase {
    const char* name;
    std::string source;
    std::string plain;  // the same statements with ordinary literals and plain numbers
    Lines lines;        // physical mode
    const char16_t* remarks = nullptr;  // set: both modes fail with this text
};

/// Counts each case as a file called `file` in the physical and the Executable mode.
void expectFormCounts(const std::string& file, const FormCase* begin, const FormCase* end) {
    test::TempDir dir;
    for (const FormCase* c = begin; c != end; ++c) {
        SCOPED_TRACE(c->name);
        const std::string path = dir.write(file, c->source);
        const std::string plainPath = dir.write("plain/" + file, c->plain);
        {
            const CountSettings physical = test::settingsWith(CountMode::Physical);
            FileCount record(test::u16(file), path);
            if (c->remarks != nullptr) {
                EXPECT_FALSE(record.count(physical));
                EXPECT_EQ(record.remarks, c->remarks);
                continue;
            }
            ASSERT_TRUE(record.count(physical)) << test::u8(record.remarks);
            EXPECT_EQ(
                (Lines{record.code, record.commentOwnLine, record.commentCodeLine, record.blank}),
                c->lines);
        }
        const CountSettings executable = test::settingsWith(CountMode::Executable);
        FileCount record(test::u16(file), path);
        FileCount plain(test::u16(file), plainPath);
        ASSERT_TRUE(record.count(executable)) << test::u8(record.remarks);
        ASSERT_TRUE(plain.count(executable)) << test::u8(plain.remarks);
        // code, declaration, directive
        EXPECT_EQ(std::tuple(record.code, record.declaration, record.directive),
                  std::tuple(plain.code, plain.declaration, plain.directive));
    }
}

TEST(LiteralFormCountTest, RawStrings) {
    const FormCase cases[] = {
        {"each prefix, with quotes inside",
         "auto a = R\"(say \"hi\")\";\nauto b = u8R\"(say \"hi\")\";\n"
         "auto c = uR\"(say \"hi\")\";\nauto d = UR\"(say \"hi\")\";\n"
         "auto e = LR\"(say \"hi\")\";\n",
         "auto a = \"x\";\nauto b = u8\"x\";\nauto c = u\"x\";\nauto d = U\"x\";\n"
         "auto e = L\"x\";\n",
         {5, 0, 0, 0}},
        {"custom delimiter, and a closing of no delimiter inside a longer one",
         "s = R\"xy(a)\" b)xy\";\nt = R\"--()\")--\";\n",
         "s = \"x\";\nt = \"x\";\n",
         {2, 0, 0, 0}},
        {"comment markers and quotes inside",
         "s = R\"(/* \"' // )\"; // note\nt = R\"(*/)\";\n",
         "s = \"x\"; // note\nt = \"x\";\n",
         {1, 0, 1, 0}},
        {"several lines, an empty one among them, and a suffix",
         "auto j = R\"(\n{\n  \"a\": \"'\",\n\n  \"b\": 1\n}\n)\"_json;\n",
         "auto j = \"x\"_json;\n",
         {7, 0, 0, 0}},
        // Seen line by line, the lines of a literal would look like names in a row.
        {"statements ending in a literal of several lines",
         "x = R\"(\none\n)\";\nreturn R\"(\ntwo\n)\";\n",
         "x = \"x\";\nreturn \"x\";\n",
         {6, 0, 0, 0}},
        {"comment after the closing line",
         "s = R\"(a\nb)\"; /* c */\n",
         "s = \"x\"; /* c */\n",
         {1, 0, 1, 0}},
        {"unclosed",
         "x;\ns = R\"(a\n\nb)-\";\n",
         "",
         {},
         u"Physical pre-parser failure: Unclosed character or string literal (line 2)."},
    };
    expectFormCounts("a.cpp", std::begin(cases), std::end(cases));
}

TEST(LiteralFormCountTest, ContinuedStrings) {
    const FormCase cases[] = {
        {"a call with a string continued over three lines",
         "void f() {\n  g(\"a\\\nb\\\nc\", 1);\n}\n",
         "void f() {\n  g(\"x\", 1);\n}\n",
         {5, 0, 0, 0}},
        {"a declaration, a comment after the string",
         "char s[] = \"a\\\nb\"; /* c */\nint n = 2;\n",
         "char s[] = \"x\"; /* c */\nint n = 2;\n",
         {2, 0, 1, 0}},
        {"in a directive",
         "#define S \"a\\\n\\\nb\"\nint x = 1;\n",
         "#define S \"x\"\nint x = 1;\n",
         {4, 0, 0, 0}},
    };
    expectFormCounts("a.c", std::begin(cases), std::end(cases));
}

TEST(LiteralFormCountTest, DigitSeparators) {
    const FormCase cases[] = {
        {"decimal, hexadecimal, binary and float numbers",
         "int a = 1'000'000;\nunsigned b = 0xFF'FF;\nint c = 0b1010'1010;\n"
         "double d = 1'000.5f;\n",
         "int a = 1000000;\nunsigned b = 0xFFFF;\nint c = 0b10101010;\ndouble d = 1000.5f;\n",
         {4, 0, 0, 0}},
        {"character literals on the same line",
         "char e = '\\''; long f = 2'000; char g = u8'x';\n",
         "char e = '\\''; long f = 2000; char g = u8'x';\n",
         {1, 0, 0, 0}},
        {"one separator on a line, a character literal further down",
         "int h = 1'000; // single\nchar i = 'a';\n",
         "int h = 1000; // single\nchar i = 'a';\n",
         {1, 0, 1, 0}},
        {"inside a directive",
         "#if N > 1'000\nint j = 0;\n#endif\n",
         "#if N > 1000\nint j = 0;\n#endif\n",
         {3, 0, 0, 0}},
        {"inside expressions",
         "x = f(1'0) + a[2'0] * 3'0;\n",
         "x = f(10) + a[20] * 30;\n",
         {1, 0, 0, 0}},
    };
    expectFormCounts("a.cpp", std::begin(cases), std::end(cases));
}

TEST(LiteralFormCountTest, TextBlocks) {
    const FormCase cases[] = {
        {"quotes of both kinds inside",
         "class A {\n    String s = \"\"\"\n        say \"hi\", it's 'quoted'\n        "
         "\"\"\";\n}\n",
         "class A {\n    String s = \"x\";\n}\n",
         {5, 0, 0, 0}},
        {"escaped closing quotes, an empty line and comment markers inside",
         "class B {\n    String t = \"\"\"\n        \\\"\"\" is no end /* nor a comment\n\n"
         "        \"\"\"; // end\n}\n",
         "class B {\n    String t = \"x\"; // end\n}\n",
         {5, 0, 1, 0}},
        {"statements ending in a block of several lines",
         "class C {\n  void f() {\n    x = \"\"\"\n      a b\n      \"\"\";\n"
         "    return \"\"\"\n      c\n      \"\"\";\n  }\n}\n",
         "class C {\n  void f() {\n    x = \"x\";\n    return \"x\";\n  }\n}\n",
         {10, 0, 0, 0}},
        {"three quotes without a line break open no block",
         "class D { String u = \"\"\"a\"\"\"; }\n",
         "class D { String u = \"\"\"a\"\"\"; }\n",
         {1, 0, 0, 0}},
        {"unclosed",
         "class E {\n    String v = \"\"\"\n        open\n}\n",
         "",
         {},
         u"Physical pre-parser failure: Unclosed character or string literal (line 2)."},
    };
    expectFormCounts("A.java", std::begin(cases), std::end(cases));
}

}  // namespace
}  // namespace tw
