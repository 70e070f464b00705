#include "engine/LogicalPreparser.h"

#include <random>

#include <gtest/gtest.h>

#include "engine/MatchCounter.h"
#include "support/Bytes.h"
#include "support/U16.h"

namespace tw {
namespace {

struct PreparseCase {
    const char* name;
    const char16_t* path;  // decides the file type
    CountMode mode;
    std::u16string before;
    std::u16string after;  // the text left behind without an end mark it keeps; ignored on failure
    std::uint32_t words;
    std::uint32_t directives;
    std::u16string remarks;  // empty on success
    int errorLine;
};

TEST(LogicalPreparserTest, PreparesTheTextAndCountsWordsAndDirectives) {
    const auto P = CountMode::Physical;
    const auto T = CountMode::TerminatingCharacters;
    const auto E = CountMode::Executable;
    const PreparseCase cases[] = {
        {"numbers become zeros, also inside names", u"a.c", P, u"x12 = 3.5e+2f;", u"x00 = 0000000;",
         0, 0, u"", -1},
        {"digit separators join their numbers", u"a.cpp", P, u"x = 1'000 + 0xF'F;",
         u"x = 00000 + 0xF0F;", 0, 0, u"", -1},
        {"digit separator in a directive", u"a.h", E, u"#if A > 1'000\nx", u"             \nx", 0,
         1, u"", -1},
        {"words of a line comment", u"a.c", P, u"x; // see 1.5 and note_2",
         u"x;" + std::u16string(22, u' ') + u" ", 4, 0, u"", -1},
        // Mode c names functions from the text, so the digits of code stay; a comment's words
        // still count as in the other modes.
        {"complexity keeps the digits of code", u"a.c", CountMode::CyclomaticComplexity,
         u"f12(); // see 1.5 and note_2", u"f12();" + std::u16string(22, u' ') + u" ", 4, 0, u"",
         -1},
        {"comment without words", u"a.c", P, u"/**/ // ___", u"            ", 0, 0, u"", -1},
        {"possessive s belongs to its word", u"a.c", P, u"/* it's John's, don't */",
         u"                        ", 4, 0, u"", -1},
        {"block comment keeps its line feeds", u"a.c", P, u"/* a\nb */x", u"    \n    x", 2, 0, u"",
         -1},
        {"line comment at the very end blanks the end mark", u"a.c", P, u"x //", u"x    ", 0, 0,
         u"", -1},
        {"directive counted in the executable mode only", u"a.cpp", E,
         u"#include <a> // words\nint x;", u"                     \nint x;", 0, 1, u"", -1},
        {"directive blanked in the other modes", u"a.cpp", P, u"#define A 1\nx", u"           \nx",
         0, 0, u"", -1},
        {"continued directive", u"a.h", E, u"#define A \\\n  b\nc", u"           \n   \nc", 0, 1,
         u"", -1},
        {"'#' is ordinary outside C and C++", u"a.java", E, u"#x", u"#x", 0, 0, u"", -1},
        {"resource script keeps its directives", u"a.rc", E, u"#include \"r.h\"", u"#include _____",
         0, 0, u"", -1},
        {"array initialiser", u"a.cpp", T, u"int a[3] = { 1, { 2 }, 3 };",
         u"int a                     ;", 0, 0, u"", -1},
        {"two dimensions", u"a.c", T, u"int m[2][2] = {{0,1},{2,3}}; x",
         u"int m                      ; x", 0, 0, u"", -1},
        {"java array brackets and braces", u"a.java", T, u"int[] a = {1, 2};", u"int   a =       ;",
         0, 0, u"", -1},
        {"java creation blanks the next block", u"a.java", T,
         u"int[] b = new int[5];\nif (x) { y(); }", u"int   b = new int[0];\nif (x)         ", 0, 0,
         u"", -1},
        {"java import and package", u"a.java", E,
         u"package a.b;\nimport java.util.List;\nimport p;",
         u"            \n                      \nimport p;", 0, 2, u"", -1},
        {"java annotations", u"a.java", E,
         u"@Override\n@SuppressWarnings(\"x\") void f() {}\n@interface Foo {}",
         u"@Override\n                       void f() {}\n interface Foo {}", 0, 2, u"", -1},
        {"unterminated literal left by a directive", u"a.cs", P, u"x\n#error don't\n", u"", 0, 0,
         u"Unterminated string or character literal", 2},
        {"unterminated comment", u"a.c", P, u"\n\n/* x", u"", 0, 0, u"Unterminated comment", 3},
        {"directive comment never closed", u"a.cpp", P, u"#if /* x", u"", 0, 0,
         u"Failure finding end of compiler directive: "
         u"Unclosed C-style comment within compiler directive.",
         1},
        {"unclosed C array initialiser", u"a.cpp", T, u"\nint a[] = { 1, 2;", u"", 0, 0,
         u"Failed to parse array initialization: Unclosed array initialization brackets ({})", 2},
        {"unclosed Java initialiser", u"a.java", T, u"int[] a =\n{ 1, 2;", u"", 0, 0,
         u"Failed to parse array initialization: Unclosed array initialization brackets ({})", 2},
        {"unclosed annotation", u"a.java", T, u"\n@A(x", u"", 0, 1,
         u"Failed to count Java compiler directive: Unclosed annotation parentheses", 2},
        {"java imports blanked, counted in the Executable mode alone", u"a.java", T,
         u"import java.util.List;\nx;", u"                      \nx;", 0, 0, u"", -1},
        // What only statement counting needs is left undone in a physical count, and cannot
        // fail it.
        {"physical count of a Java file", u"a.java", P, u"import a.b;\nint[] a = {1;\n@A(x",
         u"import a.b;\nint[] a = {0;\n@A(x", 0, 0, u"", -1},
        {"physical count of a C file", u"a.c", P, u"static int a[] = {\n1,",
         u"static int a[] = {\n0,", 0, 0, u"", -1},
        // A backslash that ends a line comment joins the next line to it in C and C++.
        {"line comment continued by a backslash", u"a.c", P, u"x; // a \\\ny\nz",
         u"x;       \n \nz", 2, 0, u"", -1},
        {"Java joins no lines", u"a.java", P, u"x; // a \\\ny", u"x;       \ny", 1, 0, u"", -1},
    };
    for (const PreparseCase& c : cases) {
        SCOPED_TRACE(c.name);
        FileCount record(c.path, "/nonexistent");
        SourceText text = SourceText::fromBody(c.before);
        const bool ok = preparseLogical(record, text, c.mode);
        EXPECT_EQ(record.remarks, c.remarks);
        EXPECT_EQ(ok, c.remarks.empty());
        EXPECT_EQ(record.errorLine, c.errorLine);
        EXPECT_EQ(record.commentWords, c.words);
        if (ok) {
            EXPECT_EQ(record.directive, c.directives);
            std::u16string after = text.chars;
            if (!after.empty() && after.back() == kEndMark) {
                after.pop_back();
            }
            EXPECT_EQ(test::u8(after), test::u8(c.after));
        }
    }
}

TEST(LogicalPreparserTest, CommentWordsAreRunsHoldingALetterOrDigit) {
    const struct {
        std::u16string text;
        int words;
    } cases[] = {
        {u" see 000 and note_0", 4},
        {u"___ __", 0},
        {u"don't", 2},
        {u"it's", 1},
        {u"'s", 1},
        {u"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(countCommentWords(c.text, 0, c.text.size(), UnitForm::Bytes), c.words)
            << test::u8(c.text);
    }
    // The start of the range is the start of a text for the word boundary.
    EXPECT_EQ(countCommentWords(u"abc def", 1, 7, UnitForm::Bytes), 2);
}

// Letters and digits of any script belong to words, read as the file holds them: UTF-8
// sequences among the bytes of an ANSI or UTF-8 file, any other byte as its Latin-1
// character, surrogate pairs in UTF-16.
TEST(LogicalPreparserTest, CommentWordsOfAnyScript) {
    const struct {
        const char* name;
        std::u16string text;
        UnitForm form;
        int words;
    } cases[] = {
        {"accented, UTF-8", test::unitPerByte("na\xC3\xAFve caf\xC3\xA9 r\xC3\xA9sum\xC3\xA9"),
         UnitForm::Bytes, 3},
        {"accented, UTF-16", u"na\u00EFve caf\u00E9 r\u00E9sum\u00E9", UnitForm::Utf16, 3},
        {"Latin-1 bytes", test::unitPerByte("r\xE9sum\xE9 na\xEFve"), UnitForm::Bytes, 2},
        {"Japanese, UTF-8", test::unitPerByte("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"),
         UnitForm::Bytes, 1},
        {"punctuation beyond ASCII separates, UTF-8",
         test::unitPerByte("a\xE2\x80\x94"
                           "b \xC2\xA9"),
         UnitForm::Bytes, 2},
        {"a combining accent joins its letter", u"cafe\u0301 ok", UnitForm::Utf16, 2},
        {"a letter beyond the basic plane", u"\U0001D400x y", UnitForm::Utf16, 2},
        {"a lone surrogate separates", std::u16string{u'a', 0xD800, u'b'}, UnitForm::Utf16, 2},
        {"a sequence cut by the range's end", test::unitPerByte("ab\xC3"), UnitForm::Bytes, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(countCommentWords(c.text, 0, c.text.size(), c.form), c.words) << c.name;
    }
}

}  // namespace
}  // namespace tw

namespace tw {
namespace {

/// Random short texts over the characters numbers and words are made of.
std::vector<std::u16string> scannerInputs() {
    const std::u16string alphabet = u"0123456789.eE+-fFlLxs_' \n\t/*a";
    std::mt19937 random(99);
    std::vector<std::u16string> inputs;
    for (int i = 0; i < 20000; ++i) {
        std::u16string text(random() % 24, u' ');
        for (char16_t& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        inputs.push_back(text);
    }
    return inputs;
}

TEST(LogicalPreparserTest, NumberScanAgreesWithTheNumbersPattern) {
    const Pattern numbers(logicalPreparserPatterns::kNumbers);
    for (const std::u16string& input : scannerInputs()) {
        std::u16string byPattern = input;
        std::u16string byScan = input;
        EXPECT_EQ(zeroNumbers(byScan), countMatches(byPattern, numbers, u'0', false))
            << test::u8(input);
        EXPECT_EQ(byScan, byPattern) << test::u8(input);
    }
}

TEST(LogicalPreparserTest, WordScanAgreesWithTheCommentWordsPattern) {
    const Pattern words(logicalPreparserPatterns::kCommentWords);
    for (const std::u16string& input : scannerInputs()) {
        // Each search starts at the end of the last match, as the start of a text.
        int expected = 0;
        std::size_t position = 0;
        PatternMatch match;
        while (position < input.size() && words.search(std::u16string_view(input).substr(position),
                                                       match) == MatchStatus::Found) {
            const std::u16string_view word =
                std::u16string_view(input).substr(position + match.begin, match.end - match.begin);
            expected += word.find_first_not_of(u"_'") != std::u16string_view::npos ? 1 : 0;
            position += match.end;
        }
        EXPECT_EQ(countCommentWords(input, 0, input.size(), UnitForm::Bytes), expected)
            << test::u8(input);
    }
}

}  // namespace
}  // namespace tw
