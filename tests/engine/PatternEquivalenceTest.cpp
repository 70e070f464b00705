// Holds every fixed pattern of the engine to the meaning of the regular-expression grammar it
// is written in: the pattern wrapper (and any linear rewrite) must find the same matches and
// groups as the standard library's ECMAScript engine. The only place std::regex is used.
#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>

#include "engine/Pattern.h"
#include "engine/PatternCatalog.h"
#include "support/U16.h"

namespace tw {
namespace {

/// Some written forms take time exponential in the length of a piece that almost matches (the
/// running forms are linear rewrites of them), so whole pieces are compared up to this length.
constexpr std::size_t kLongestFullMatchInput = 16;

using Groups = std::vector<std::optional<std::pair<std::size_t, std::size_t>>>;

std::wstring wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

/// Short ASCII texts built from the characters the engine's patterns care about, without
/// carriage returns; short enough for std::regex's recursion.
std::vector<std::u16string> generatedInputs(std::size_t count, unsigned seed) {
    static const std::u16string alphabet =
        u"aAbeEfFlLnrtsiwxz_019 \t\n  ()[]{}<>=;,.*&+-/%!|^~?:@#'\"\\$";
    static const std::u16string_view words[] = {
        u"new ",     u"class ",   u"struct ",   u"typedef ", u"import ", u"package ", u"interface ",
        u"return ",  u"if (",     u"else ",     u"while (",  u"for (",   u"case ",    u"switch (",
        u"int ",     u"::",       u"->",        u"++",       u"==",      u"<<=",      u"'s ",
        u"@x(",      u"1.5e+3f ", u"typename ", u"const ",   u"catch ",  u"finally ", u"delete ",
        u"default:", u"break;",   u"goto ",     u"try ",     u"&&",      u"||",       u"+=",
        u"= @",      u"(int)",    u"<T>",       u"*p",
    };
    std::mt19937 random(seed);
    std::vector<std::u16string> inputs;
    inputs.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::u16string text;
        const std::size_t pieces = random() % 10;
        for (std::size_t k = 0; k < pieces; ++k) {
            if (random() % 3 == 0) {
                text += words[random() % std::size(words)];
            } else {
                text.push_back(alphabet[random() % alphabet.size()]);
            }
        }
        inputs.push_back(std::move(text));
    }
    return inputs;
}

Groups standardGroups(const std::wregex& regex, const std::wstring& subject, bool& found) {
    std::wsmatch match;
    found = std::regex_search(subject, match, regex);
    Groups groups;
    if (!found) {
        return groups;
    }
    for (std::size_t g = 0; g < match.size(); ++g) {
        if (match[g].matched) {
            const auto begin = static_cast<std::size_t>(match[g].first - subject.begin());
            groups.emplace_back(std::make_pair(begin, begin + match[g].length()));
        } else {
            groups.emplace_back(std::nullopt);
        }
    }
    return groups;
}

TEST(PatternEquivalenceTest, EveryFixedPatternMatchesAsTheStandardEcmaScriptEngine) {
    const std::vector<std::u16string> inputs = generatedInputs(4000, 20261210);
    for (const CataloguedPattern& entry : patternCatalog()) {
        SCOPED_TRACE(test::u8(entry.name));
        const std::wregex standard(wide(entry.written), std::regex::ECMAScript);
        const Pattern written(entry.written);
        const Pattern running(entry.running);
        for (const std::u16string& input : inputs) {
            SCOPED_TRACE(test::u8(input));
            const std::wstring subject = wide(input);
            if (entry.use == PatternUse::Search) {
                bool found = false;
                const Groups expected = standardGroups(standard, subject, found);
                Groups actual;
                const MatchStatus status = running.searchGroups(input, actual);
                ASSERT_NE(status, MatchStatus::Error);
                ASSERT_EQ(status == MatchStatus::Found, found);
                if (found) {
                    ASSERT_EQ(actual, expected);
                }
            } else if (input.size() <= kLongestFullMatchInput) {
                const bool expected = std::regex_match(subject, standard);
                ASSERT_EQ(written.fullMatch(input) == MatchStatus::Found, expected);
                ASSERT_EQ(running.fullMatch(input) == MatchStatus::Found, expected);
            }
        }
    }
}

}  // namespace
}  // namespace tw
