// Holds every fixed pattern of the engine to the meaning of the regular-expression grammar it
// is written in: the pattern wrapper (and any linear rewrite) must find the same matches and
// groups as the standard library's ECMAScript engine. The only place std::regex is used.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <regex>
#include <string>
#include <tuple>

#include "engine/MatchCounter.h"
#include "engine/Pattern.h"
#include "engine/PatternCatalog.h"
#include "support/TempDir.h"
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

/// The source files of the fixtures, one unit per byte, and longer generated texts: what the
/// scanners are run over beside their patterns.
std::vector<std::u16string> scannerTexts() {
    std::vector<std::u16string> texts;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(TW_FIXTURES_DIR))) {
        const std::string extension = entry.path().extension().string();
        if (entry.is_regular_file() && (extension == ".c" || extension == ".cpp" ||
                                        extension == ".h" || extension == ".java")) {
            const std::string bytes = test::readBytes(entry.path());
            texts.emplace_back(bytes.begin(), bytes.end());
        }
    }
    std::u16string joined;
    for (const std::u16string& piece : generatedInputs(3000, 7)) {
        joined += piece;
        if (joined.size() > 2000) {
            texts.push_back(std::move(joined));
            joined.clear();
        }
    }
    return texts;
}

TEST(PatternEquivalenceTest, EveryScannerFindsWhatItsPatternFinds) {
    const std::vector<std::u16string> inputs = generatedInputs(4000, 20261211);
    const std::vector<std::u16string> texts = scannerTexts();
    ASSERT_GT(texts.size(), 20u);
    for (const CataloguedPattern& entry : patternCatalog()) {
        if (entry.scanner == nullptr) {
            continue;
        }
        SCOPED_TRACE(test::u8(entry.name));
        const Pattern pattern(entry.running);
        ASSERT_EQ(entry.use, PatternUse::Search);
        // Every start of every short text: the same match, the same first group.
        for (const std::u16string& input : inputs) {
            for (std::size_t from = 0; from <= input.size(); ++from) {
                const std::u16string_view subject = std::u16string_view(input).substr(from);
                PatternMatch expected;
                PatternMatch actual;
                const MatchStatus status = pattern.search(subject, expected);
                ASSERT_EQ(entry.scanner(subject, actual), status) << test::u8(subject);
                if (status == MatchStatus::Found) {
                    EXPECT_EQ(std::tie(actual.begin, actual.end, actual.group, actual.groupBegin,
                                       actual.groupEnd),
                              std::tie(expected.begin, expected.end, expected.group,
                                       expected.groupBegin, expected.groupEnd))
                        << test::u8(subject);
                }
            }
        }
        // Whole files counted and overwritten as the operator steps do, by each.
        for (const std::u16string& text : texts) {
            for (const bool extend : {false, true}) {
                std::u16string byPattern = text;
                std::u16string byScanner = text;
                ASSERT_EQ(countMatches(byScanner, entry.scanner, u'_', extend),
                          countMatches(byPattern, pattern, u'_', extend));
                ASSERT_EQ(byScanner, byPattern);
            }
        }
    }
}

TEST(PatternEquivalenceTest, EveryWholeScannerAcceptsWhatItsPatternAccepts) {
    std::vector<std::u16string> inputs = generatedInputs(4000, 20261212);
    // The blanks of \s that the generated texts lack.
    for (const std::u16string_view blank : {u"\v", u"\f", u"\r", u" \v\f\r\t\n"}) {
        for (const std::u16string_view word : {u"for", u"sizeof", u"x_1", u"_", u"if1", u"case"}) {
            inputs.push_back(std::u16string(word) + std::u16string(blank));
            inputs.push_back(std::u16string(blank) + std::u16string(word));
        }
    }
    for (const CataloguedPattern& entry : patternCatalog()) {
        if (entry.wholeScanner == nullptr) {
            continue;
        }
        SCOPED_TRACE(test::u8(entry.name));
        ASSERT_EQ(entry.use, PatternUse::FullMatch);
        const Pattern pattern(entry.running);
        // Every piece of every text, so that the pieces that do match are among them.
        for (const std::u16string& input : inputs) {
            for (std::size_t from = 0; from <= input.size(); ++from) {
                for (std::size_t to = from; to <= input.size(); ++to) {
                    const std::u16string_view piece =
                        std::u16string_view(input).substr(from, to - from);
                    ASSERT_EQ(entry.wholeScanner(piece), pattern.fullMatch(piece))
                        << test::u8(piece);
                }
            }
        }
    }
}

}  // namespace
}  // namespace tw
