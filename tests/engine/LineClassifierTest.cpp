#include "engine/LineClassifier.h"

#include <gtest/gtest.h>

#include "support/Bytes.h"
#include "support/U16.h"

namespace tw {
namespace {

using S = LineShape;

TEST(LineClassifierTest, ShapeOfOneLine) {
    const struct {
        std::u16string line;
        bool inComment;
        LineShape shape;
    } cases[] = {
        {u"", false, S::BlankShape},
        {u" \t ", true, S::BlankShape},
        {u"int x;", false, S::CodeOnly},
        {u"  // note", false, S::LineComment},
        {u"// x */", true, S::CommentClosing},  // inside a comment, // is text
        {u"// x */ y;", true, S::ClosingThenCode},
        {u"// x", false, S::LineComment},
        {u"\f\v // x", false, S::LineComment},  // form feed and vertical tab are white space
        {u"\f", false, S::BlankShape},
        {u"int x; // note", false, S::CodeWithLineComment},
        {u"/* a */", false, S::CommentClosed},
        {u"/* a */ // b", false, S::CommentClosed},
        {u"/* a */ int x;", false, S::MixedClosed},
        {u"int x; /* a */", false, S::MixedClosed},
        {u"int x; /* a", false, S::MixedOpened},
        {u"/* a", false, S::CommentOpened},
        {u"/*/ a", false, S::CommentOpened},  // slash star slash does not close
        {u"more text", true, S::CodeOnly},
        {u"end */", true, S::CommentClosing},
        {u"end */ // x", true, S::CommentClosing},
        {u"end */ int x;", true, S::ClosingThenCode},
        {u"*/", false, S::CommentClosing},
        {u"a */ /* b", true, S::CommentOpened},
        {u"/* a */ */", false, S::Undetermined},
        // After any closing */ the rest lies outside the comment.
        {u"b */ c; /* d", true, S::ClosingCodeOpening},
        {u"a */ int b; /* c */", true, S::ClosingThenCode},
        {u"/* a */ b; /* c */ d; /* e", false, S::MixedOpened},
        {u"*/ x /* y */", true, S::ClosingThenCode},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(classifyLine(c.inComment, c.line), c.shape)
            << test::u8(c.line) << (c.inComment ? " (in comment)" : "");
    }
}

TEST(LineClassifierTest, BannerLinesHoldNoWordCharacter) {
    const struct {
        std::u16string line;
        UnitForm form;
        bool banner;
    } cases[] = {
        {u"//----------", UnitForm::Bytes, true},
        {u"//", UnitForm::Bytes, true},
        {u" /* ** */", UnitForm::Bytes, true},
        {u"// check this", UnitForm::Bytes, false},
        {u"// _", UnitForm::Bytes, false},
        {u"", UnitForm::Bytes, false},
        // Words of any script: a comment in Japanese is no banner, a rule of dashes is one.
        {test::unitPerByte("// \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE"), UnitForm::Bytes,
         false},
        {u"// \u65E5\u672C\u8A9E", UnitForm::Utf16, false},
        {test::unitPerByte("// \xE2\x80\x94\xE2\x80\x94\xE2\x94\x80"), UnitForm::Bytes, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isBanner(c.line, c.form), c.banner) << test::u8(c.line);
    }
}

struct Counts {
    std::uint32_t code, ownLine, codeLine, banner, commentBlank, blank;
    bool operator==(const Counts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Counts& c) {
    return out << "code " << c.code << " own " << c.ownLine << " codeLine " << c.codeLine
               << " banner " << c.banner << " commentBlank " << c.commentBlank << " blank "
               << c.blank;
}

TEST(LineClassifierTest, CountsEveryLineOfAText) {
    const struct {
        const char* name;
        std::u16string text;
        Counts counts;
    } cases[] = {
        {"code and comments",
         u"int x; // note\n//----\n// check this\n\nint y;\n",
         {1, 1, 1, 1, 0, 1}},
        {"comment over three lines", u"int x; /* start\n * more\n */\nint y;", {1, 1, 1, 1, 0, 0}},
        {"blank inside a comment", u"/*\n\n*/\n\n", {0, 0, 0, 2, 1, 1}},
        {"reopened comment stays open", u"/* a\n a */ /* b\n c\n */", {0, 3, 0, 1, 0, 0}},
        {"close, code, reopen", u"/* a\nb */ c; /* d\ne\nf */", {0, 3, 1, 0, 0, 0}},
        {"close, code, whole comment", u"/* a\na */ int b; /* c */\nint d;", {1, 1, 1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FileCount record(u"a.c", "/nonexistent");
        const SourceText text = SourceText::fromBody(c.text);
        ASSERT_TRUE(classifyPhysicalLines(text, record, CountMode::Physical))
            << test::u8(record.remarks);
        EXPECT_EQ((Counts{record.code, record.commentOwnLine, record.commentCodeLine,
                          record.commentBanner, record.commentBlank, record.blank}),
                  c.counts);
        EXPECT_FALSE(record.inBlockComment);
    }
}

TEST(LineClassifierTest, CodeLinesCountOnlyInThePhysicalMode) {
    FileCount record(u"a.c", "/nonexistent");
    const SourceText text = SourceText::fromBody(u"a;\nb;\nc;\nd;\ne;\n\nf;\ng;\nh;\ni;\n\nj;\n");
    ASSERT_TRUE(classifyPhysicalLines(text, record, CountMode::TerminatingCharacters));
    EXPECT_EQ(record.code, 0u);
    EXPECT_EQ(record.blank, 2u);
}

TEST(LineClassifierTest, FailsWithTheLineThatCannotBeClassified) {
    const struct {
        std::u16string text;
        std::u16string remarks;
        int line;
    } cases[] = {
        {u"int x;\n*/\n", u"Illegal end of comment", 2},
        {u"\n\n/* a */ */", u"Unable to determine line type", 3},
    };
    for (const auto& c : cases) {
        FileCount record(u"a.c", "/nonexistent");
        const SourceText text = SourceText::fromBody(c.text);
        EXPECT_FALSE(classifyPhysicalLines(text, record, CountMode::Physical));
        EXPECT_EQ(record.remarks, c.remarks);
        EXPECT_EQ(record.errorLine, c.line);
    }
}

TEST(LineClassifierTest, ManyCommentPairsOnOneLineNeedNoDeepStack) {
    std::u16string line;
    for (int i = 0; i < 100000; ++i) {
        line += u"/* c */ x; ";
    }
    EXPECT_EQ(classifyLine(false, line), S::MixedClosed);
    EXPECT_EQ(classifyLine(true, u"a */ " + line + u"/* open"), S::ClosingCodeOpening);
}

}  // namespace
}  // namespace tw
