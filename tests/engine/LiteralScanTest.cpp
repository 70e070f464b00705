#include "engine/LiteralScan.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/U16.h"

namespace tw {
namespace {

using F = LiteralForm;

struct LiteralCase {
    const char* name;
    FileType type;
    std::u16string text;  // the quote looked at is its first quote
    LiteralForm form;
    /// From that quote to the literal's end; none when it never closes.
    std::optional<std::u16string> literal;
};

void expectLiterals(const LiteralCase* begin, const LiteralCase* end) {
    for (const LiteralCase* c = begin; c != end; ++c) {
        SCOPED_TRACE(c->name);
        const std::size_t quote = c->text.find_first_of(u"\"'");
        ASSERT_NE(quote, std::u16string::npos);
        const Literal found = literalAt(c->text, quote, c->type);
        EXPECT_EQ(found.form, c->form);
        if (c->literal) {
            ASSERT_EQ(c->text.compare(quote, c->literal->size(), *c->literal), 0);
            EXPECT_EQ(found.end, static_cast<std::int64_t>(quote + c->literal->size() - 1));
        } else {
            EXPECT_EQ(found.end, -1);
        }
    }
}

TEST(LiteralScanTest, RawStringsOfCAndCpp) {
    const auto cpp = FileType::CppSource;
    const LiteralCase cases[] = {
        {"plain prefix, quote inside", cpp, u"s = R\"(a\"b)\";", F::RawString, u"\"(a\"b)\""},
        {"u8R", cpp, u"u8R\"(a\"b)\" x", F::RawString, u"\"(a\"b)\""},
        {"uR", cpp, u"uR\"(a\"b)\" x", F::RawString, u"\"(a\"b)\""},
        {"UR", cpp, u"(UR\"(a\"b)\")", F::RawString, u"\"(a\"b)\""},
        {"LR", cpp, u"LR\"(a\"b)\"", F::RawString, u"\"(a\"b)\""},
        {"header", FileType::CppHeader, u"R\"(a\"b)\"", F::RawString, u"\"(a\"b)\""},
        {"custom delimiter", cpp, u"R\"xy(a)\" b)xy\";", F::RawString, u"\"xy(a)\" b)xy\""},
        {"closing of no delimiter inside a longer one", cpp, u"R\"--()\")--\"", F::RawString,
         u"\"--()\")--\""},
        {"comment markers, quotes and backslashes inside", cpp, u"R\"(/* ' // \\)\" */",
         F::RawString, u"\"(/* ' // \\)\""},
        {"lines", cpp, u"R\"(a\n\n\"b\n)\" x", F::RawString, u"\"(a\n\n\"b\n)\""},
        {"user-defined suffix", cpp, u"R\"({})\"_json;", F::RawString, u"\"({})\""},
        {"delimiter of 16 characters", cpp, u"R\"0123456789abcdef(x)0123456789abcdef\"",
         F::RawString, u"\"0123456789abcdef(x)0123456789abcdef\""},
        {"unclosed", cpp, u"R\"ab(x)a\"\n", F::RawString, std::nullopt},
        {"unclosed at the end of the text", cpp, u"R\"(", F::RawString, std::nullopt},
        // A form the text does not complete is read as it was before raw strings were known.
        {"delimiter of 17 characters", cpp, u"R\"0123456789abcdefg(x)0123456789abcdefg\"",
         F::Quoted, u"\"0123456789abcdefg(x)0123456789abcdefg\""},
        {"blank in the delimiter", cpp, u"R\"a b(x)a b\"", F::Quoted, u"\"a b(x)a b\""},
        {"backslash in the delimiter", cpp, u"R\"\\\"(x)\"", F::Quoted, u"\"\\\"(x)\""},
        {"end of a longer name", cpp, u"FOOR\"(a\"b)\"", F::Quoted, u"\"(a\""},
        {"prefix inside a name", cpp, u"xu8R\"(a\"b)\"", F::Quoted, u"\"(a\""},
        {"name ending in _R", cpp, u"_R\"(a\"b)\"", F::Quoted, u"\"(a\""},
        {"Java", FileType::JavaSource, u"R\"(a\"b)\"", F::Quoted, u"\"(a\""},
        {"C#", FileType::CSharpSource, u"R\"(a\"b)\"", F::Quoted, u"\"(a\""},
        {"resource script", FileType::ResourceScript, u"R\"(a\"b)\"", F::Quoted, u"\"(a\""},
        {"undefined type", FileType::Undefined, u"R\"(a\"b)\"", F::Quoted, u"\"(a\""},
    };
    expectLiterals(std::begin(cases), std::end(cases));
}

TEST(LiteralScanTest, DigitSeparatorsOfCAndCpp) {
    const auto cpp = FileType::CppSource;
    const LiteralCase cases[] = {
        {"decimal", cpp, u"x = 1'000;", F::DigitSeparator, u"'"},
        {"hexadecimal, between letters", cpp, u"x = 0xFF'FF;", F::DigitSeparator, u"'"},
        {"binary", cpp, u"x = 0b1010'1010;", F::DigitSeparator, u"'"},
        {"float", cpp, u"x = 1'000.5f;", F::DigitSeparator, u"'"},
        {"fraction digits", cpp, u"x = .5'0;", F::DigitSeparator, u"'"},
        {"header", FileType::CppHeader, u"x = 1'000;", F::DigitSeparator, u"'"},
        {"character literal", cpp, u"c = 'a';", F::Quoted, u"'a'"},
        {"escaped quote", cpp, u"c = '\\'';", F::Quoted, u"'\\''"},
        {"u8 prefix", cpp, u"c = u8'x';", F::Quoted, u"'x'"},
        {"L prefix", cpp, u"c = L'x';", F::Quoted, u"'x'"},
        {"after a name ending in a digit", cpp, u"x1'a'", F::Quoted, u"'a'"},
        {"after a digit, before a blank", cpp, u"f(1' ')", F::Quoted, u"' '"},
        {"after a comma", cpp, u"f(1,'a')", F::Quoted, u"'a'"},
        {"Java", FileType::JavaSource, u"x = 1'0';", F::Quoted, u"'0'"},
        {"resource script", FileType::ResourceScript, u"x = 1'0';", F::Quoted, u"'0'"},
    };
    expectLiterals(std::begin(cases), std::end(cases));
}

TEST(LiteralScanTest, TextBlocksOfJava) {
    const auto java = FileType::JavaSource;
    const LiteralCase cases[] = {
        {"quotes of both kinds inside", java, u"s = \"\"\"\n  say \"hi\", it's\n  \"\"\";",
         F::TextBlock, u"\"\"\"\n  say \"hi\", it's\n  \"\"\""},
        {"blanks before the line break", java, u"\"\"\" \t\f\na\"\"\"", F::TextBlock,
         u"\"\"\" \t\f\na\"\"\""},
        {"escaped quote begins no closing", java, u"\"\"\"\n a \\\"\"\" b\n \"\"\";", F::TextBlock,
         u"\"\"\"\n a \\\"\"\" b\n \"\"\""},
        {"escaped quote, then a closing", java, u"\"\"\"\n a \\\"\"\"\"", F::TextBlock,
         u"\"\"\"\n a \\\"\"\"\""},
        {"even run of backslashes", java, u"\"\"\"\n a \\\\\"\"\" b", F::TextBlock,
         u"\"\"\"\n a \\\\\"\"\""},
        {"unclosed", java, u"\"\"\"\n abc \"\"\n", F::TextBlock, std::nullopt},
        {"no line break after the opening", java, u"\"\"\"a\"\"\"", F::Quoted, u"\"\""},
        {"C++", FileType::CppSource, u"\"\"\"\na\n\"\"\"", F::Quoted, u"\"\""},
        {"C#", FileType::CSharpSource, u"\"\"\"\na\n\"\"\"", F::Quoted, u"\"\""},
    };
    expectLiterals(std::begin(cases), std::end(cases));
}

}  // namespace
}  // namespace tw
