// The engine runs a few patterns in a rewritten form because the written one backtracks
// without end (or splits long white space in every way). A rewrite must accept exactly the
// texts the written pattern accepts: these tests compare the two on every short text over an
// alphabet of the characters and words that matter to each pattern, and on random longer ones,
// and check that no running form ever gives up on long adversarial texts.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "engine/DeclarationCounter.h"
#include "engine/FunctionCounter.h"
#include "engine/Pattern.h"
#include "support/U16.h"

namespace tw {
namespace {

struct Rewrite {
    const char* name;
    std::u16string_view written;
    std::u16string_view running;
    std::vector<std::u16string> tokens;  ///< texts are sequences of these
    std::u16string prefix;               ///< put before every text (the pattern's opening)
    std::u16string suffix;               ///< and after it
};

std::vector<Rewrite> rewrites() {
    namespace fn = functionPatterns;
    namespace decl = declarationPatterns;
    return {
        {"cast",
         fn::kCast,
         fn::kCastRunning,
         {u"a", u"_", u"0", u" ", u"\n", u"&", u"*", u"+", u"(", u")"},
         u"(",
         u")"},
        {"template argument",
         fn::kTemplateArgument,
         fn::kTemplateArgumentRunning,
         {u"class", u"typename", u"::", u":", u"=", u"a", u"0", u" ", u"\t", u"+"},
         u"",
         u""},
        {"template argument list",
         decl::kTemplateList,
         decl::kTemplateListRunning,
         {u"a", u"_0", u" ", u"\n", u",", u"&", u"*", u"<", u">", u"+"},
         u"<",
         u">"},
        {"Java template argument list",
         decl::kJavaTemplateList,
         decl::kJavaTemplateListRunning,
         {u"a", u"_0", u" ", u"\n", u",", u"&", u"<", u">", u"+"},
         u"<",
         u">"},
        {"first declarator",
         decl::kFirstDeclarator,
         decl::kFirstDeclaratorRunning,
         {u"a", u"int", u"_0", u" ", u"\n", u"&", u"*", u"@", u"=", u";", u"+"},
         u"",
         u""},
        {"further declarator",
         decl::kFurtherDeclarator,
         decl::kFurtherDeclaratorRunning,
         {u"a", u"_0", u" ", u"\n", u"&", u"*", u"@", u"@a", u"=", u",", u"+"},
         u"",
         u""},
        {"Java first declarator",
         decl::kJavaFirstDeclarator,
         decl::kJavaFirstDeclaratorRunning,
         {u"a", u"int", u"_0", u" ", u"\n", u"*", u"@", u"=", u";", u"+"},
         u"",
         u""},
        {"Java further declarator",
         decl::kJavaFurtherDeclarator,
         decl::kJavaFurtherDeclaratorRunning,
         {u"a", u"_0", u" ", u"\n", u"&", u"@", u"@a", u"=", u",", u"+"},
         u"",
         u""},
    };
}

/// Texts stay short enough for the written forms, whose cost doubles with every word character.
constexpr std::size_t kMaxTextLength = 18;

void expectSameVerdict(const Pattern& written, const Pattern& running, const std::u16string& text,
                       int& accepted) {
    if (text.size() > kMaxTextLength) {
        return;
    }
    const MatchStatus expected = written.fullMatch(text);
    ASSERT_NE(expected, MatchStatus::Error) << test::u8(text);
    ASSERT_EQ(running.fullMatch(text), expected) << test::u8(text);
    accepted += expected == MatchStatus::Found ? 1 : 0;
}

TEST(PatternRewriteTest, RewrittenPatternsAcceptExactlyWhatTheWrittenOnesAccept) {
    std::mt19937 random(31337);
    for (const Rewrite& rewrite : rewrites()) {
        SCOPED_TRACE(rewrite.name);
        const Pattern written(rewrite.written);
        const Pattern running(rewrite.running);
        const std::size_t alphabet = rewrite.tokens.size();
        int accepted = 0;
        int texts = 0;
        // Every sequence of up to five tokens, bare and between the pattern's brackets.
        std::vector<std::size_t> digits;
        for (std::size_t length = 0; length <= 5; ++length) {
            digits.assign(length, 0);
            for (;;) {
                std::u16string body;
                for (const std::size_t d : digits) {
                    body += rewrite.tokens[d];
                }
                expectSameVerdict(written, running, body, accepted);
                expectSameVerdict(written, running, rewrite.prefix + body + rewrite.suffix,
                                  accepted);
                texts += 2;
                std::size_t k = 0;
                while (k < length && ++digits[k] == alphabet) {
                    digits[k++] = 0;
                }
                if (k == length) {
                    break;
                }
            }
        }
        // Longer random sequences, mostly of the characters that can match.
        for (int round = 0; round < 20000; ++round) {
            std::u16string body = rewrite.prefix;
            for (std::size_t k = random() % 14; k > 0; --k) {
                const std::u16string& token =
                    rewrite.tokens[random() % (round % 2 == 0 ? alphabet : alphabet - 1)];
                if (body.size() + token.size() + rewrite.suffix.size() > kMaxTextLength) {
                    break;
                }
                body += token;
            }
            body += rewrite.suffix;
            expectSameVerdict(written, running, body, accepted);
            ++texts;
        }
        // Enough texts of both kinds that the comparison says something.
        EXPECT_GT(accepted, 1000);
        EXPECT_GT(texts - accepted, 1000);
    }
}

TEST(PatternRewriteTest, RunningFormsNeverGiveUpOnLongTexts) {
    namespace fn = functionPatterns;
    namespace decl = declarationPatterns;
    const auto times = [](std::u16string_view piece, std::size_t count) {
        std::u16string text;
        for (std::size_t k = 0; k < count; ++k) {
            text += piece;
        }
        return text;
    };
    const std::size_t n = 100000;
    const struct {
        std::u16string_view running;
        std::u16string text;
    } cases[] = {
        {fn::kCastRunning, u"(" + times(u"abc ", n) + u"+)"},
        {fn::kCastRunning, u"(" + times(u"abc ", n) + u")"},
        {fn::kTemplateArgumentRunning, times(u"maximum_allowed_value && ", n)},
        {fn::kTemplateArgumentRunning, times(u"a::", n) + u"b = " + times(u"c ", n) + u"+"},
        {decl::kTemplateListRunning, u"<" + times(u"a ", n) + u"," + times(u" b", n) + u" +>"},
        {decl::kJavaTemplateListRunning, u"<" + times(u"a ,", n) + u"+>"},
        {decl::kFirstDeclaratorRunning, u"static int" + times(u" ", n) + u"x" + times(u" ", n)},
        {decl::kFirstDeclaratorRunning, times(u"int ", n) + u"x y"},
        {decl::kFirstDeclaratorRunning, u"int " + times(u"@a", n) + u"0@"},
        {decl::kFurtherDeclaratorRunning, times(u" ", n) + u"*" + times(u" ", n) + u"x = y;"},
        {decl::kJavaFirstDeclaratorRunning, u"int" + times(u" \n", n) + u"x y"},
        {decl::kJavaFurtherDeclaratorRunning, times(u"a", n) + u"@"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(test::u8(c.running));
        const Pattern running(c.running);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_NE(running.fullMatch(c.text), MatchStatus::Error);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(seconds, 1.0);
    }
}

TEST(PatternRewriteTest, DeclarationStatementSearchFindsWhatThePatternFinds) {
    static const std::u16string alphabet = u"ab_0 \n\t\r\v;;&*,=(";
    static const std::u16string_view words[] = {u"int ", u"x;", u"  ", u"\n\n", u"a b"};
    const Pattern cppStatement(declarationPatterns::kStatement);
    const Pattern javaStatement(declarationPatterns::kJavaStatement);
    std::mt19937 random(2718);
    int found = 0;
    for (int round = 0; round < 40000; ++round) {
        std::u16string text;
        for (std::size_t k = random() % 30; k > 0; --k) {
            if (random() % 4 == 0) {
                text += words[random() % std::size(words)];
            } else {
                text.push_back(alphabet[random() % alphabet.size()]);
            }
        }
        const bool java = round % 2 == 1;
        const Pattern& statement = java ? javaStatement : cppStatement;
        const std::size_t from = text.empty() ? 0 : random() % text.size();
        SCOPED_TRACE(test::u8(text) + " from " + std::to_string(from));
        PatternMatch expected;
        PatternMatch actual;
        const MatchStatus status =
            statement.search(std::u16string_view(text).substr(from), expected);
        ASSERT_EQ(findDeclarationStatement(text, from, java, actual), status);
        if (status == MatchStatus::Found) {
            ASSERT_EQ(actual.begin, from + expected.begin);
            ASSERT_EQ(actual.end, from + expected.end);
            ASSERT_EQ(actual.group, expected.group);
            ASSERT_EQ(actual.groupBegin, from + expected.groupBegin);
            ASSERT_EQ(actual.groupEnd, from + expected.groupEnd);
            ++found;
        }
    }
    EXPECT_GT(found, 5000);
}

}  // namespace
}  // namespace tw
