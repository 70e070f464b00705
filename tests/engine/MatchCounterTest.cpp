#include "engine/MatchCounter.h"

#include <gtest/gtest.h>

#include "engine/LogicalPreparser.h"
#include "support/U16.h"

namespace tw {
namespace {

TEST(MatchCounterTest, CountsAndOverwritesTheLowestParticipatingGroup) {
    const struct {
        std::u16string pattern;
        char16_t fill;
        bool extend;
        std::u16string before;
        int count;
        std::u16string after;
    } cases[] = {
        {u"(=)[^=]", u'_', true, u"x = y", 1, u"x___y"},
        {u"(=)[^=]", u'_', true, u"a=b=c", 2, u"a_b_c"},
        {u"(=)[^=]", u'_', true, u"x =\ny", 1, u"x__1y"},
        {u"(=)[^=]", u'_', false, u"x = y", 1, u"x _ y"},
        {u"(\\*+)", u'_', true, u"**p", 1, u"__p"},
        {u"(\\+\\+)|(--)", u' ', false, u"a++ b--", 2, u"a   b  "},
        {std::u16string(logicalPreparserPatterns::kNumbers), u'0', false, u"x12 = 3.5f", 2,
         u"x00 = 0000"},
        {u"(a)", u'_', true, u"", 0, u""},
        // Each search starts where the last group ended, taken as the start of a text.
        {u"\\b(b)", u'_', false, u"bbb", 3, u"___"},
    };
    for (const auto& c : cases) {
        std::u16string text = c.before;
        const Pattern pattern(c.pattern);
        EXPECT_EQ(countMatches(text, pattern, c.fill, c.extend), c.count) << test::u8(c.before);
        EXPECT_EQ(text, c.after) << test::u8(c.before);
    }
}

TEST(MatchCounterTest, FailsWhenNoGroupTakesPart) {
    std::u16string text = u"abc";
    EXPECT_EQ(countMatches(text, Pattern(u"b"), u'_', false), -1);
    EXPECT_EQ(countMatches(text, Pattern(u"(x)|b"), u'_', false), -1);
    EXPECT_EQ(text, u"abc");
}

TEST(MatchCounterTest, AnEmptyGroupCannotStallTheSearch) {
    std::u16string text = u"abc";
    EXPECT_EQ(countMatches(text, Pattern(u"(x*)"), u'_', false), 4);
}

}  // namespace
}  // namespace tw
