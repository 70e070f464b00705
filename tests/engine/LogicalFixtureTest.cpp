// Whole files through FileCount::count() in the logical modes: the logical options on a whole
// file, failures with their full texts, and hostile inputs with the results the counting rules
// give them. Realistic sources of each language are fixtures (LanguageFixtureTest).
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "support/SettingsWith.h"
#include "support/TempDir.h"
#include "support/U16.h"

namespace tw {
namespace {

/// Long enough that a scan looking back over the whole run at each of its pieces would take
/// minutes.
constexpr std::size_t kLongRun = std::size_t{1} << 19;

std::string repeat(const std::string& piece, std::size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t k = 0; k < times; ++k) {
        text += piece;
    }
    return text;
}

struct Counted {
    std::uint32_t code;
    std::uint32_t declaration;
    std::uint32_t directive;
    bool operator==(const Counted&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Counted& c) {
    return out << "{code " << c.code << ", declaration " << c.declaration << ", directive "
               << c.directive << "}";
}

TEST(LogicalFixtureTest, AllCapsOptionsOnAWholeFile) {
    const std::string source =
        "#define MAX(a, b) ((a) > (b) ? (a) : (b))\n"
        "int LIMIT(void);\n"
        "int clamp(int x)\n"
        "{\n"
        "    int y = LIMIT();\n"
        "    return MAX(x, y);\n"
        "}\n";
    test::TempDir dir;
    const std::string path = dir.write("clamp.c", source);
    const struct {
        bool allCapsAsMacros;
        bool macrosAsStatements;
        std::uint32_t code;
    } cases[] = {
        // clamp, LIMIT() in the initialiser, MAX, its initialiser '=', return.
        {false, true, 5},
        {true, true, 5},
        // LIMIT in the prototype was taken back as a declarator already; LIMIT() and MAX go.
        {true, false, 3},
    };
    for (const auto& c : cases) {
        CountSettings settings;
        settings.mode = CountMode::Executable;
        settings.allCapsFunctionsAsMacros = c.allCapsAsMacros;
        settings.macrosAsStatements = c.macrosAsStatements;
        FileCount record(u"clamp.c", path);
        ASSERT_TRUE(record.count(settings)) << test::u8(record.remarks);
        EXPECT_EQ(record.code, c.code);
        EXPECT_EQ(record.declaration, 2u);
        EXPECT_EQ(record.directive, 1u);
    }
}

TEST(LogicalFixtureTest, FailuresEndInTheFullTextWithTheLine) {
    const struct {
        const char* name;
        std::string bytes;
        const char16_t* remarks;
    } cases[] = {
        {"paren.cpp", "int a;\nx = f(a));\n",
         u"Logical parser failure: Error identifying function(s): Failed to capture function: "
         u"Unable to find opening parenthesis. (line 2)."},
        {"bracket.c", "int a;\n\nx = b]];\n",
         u"Logical parser failure: Error parsing array access operators: Invalid array access "
         u"operator (line 3)."},
        {"bracket.java", "class A {\n  int[] b = c]; }\n",
         u"Logical parser failure: Error parsing array access operators: Invalid array access "
         u"operator (line 2)."},
        {"logic.cpp", "x = 0;\nwhile (a &&\n  (b)\n",
         u"Logical parser failure: Error parsing logic statement:  (line 2)."},
        // Other file types run the function stage only, so a lone ']' is fine there.
        {"paren.cs", "]\n)\n",
         u"Logical parser failure: Error identifying function(s): Failed to capture function: "
         u"Unable to find opening parenthesis. (line 2)."},
        // Long runs of what closes a raw string or a text block, but not quite.
        {"raw_string.cpp", "x;\ns = R\"delim(" + repeat(")delim", kLongRun),
         u"Physical pre-parser failure: Unclosed character or string literal (line 2)."},
        {"text_block.java", "x;\ns = \"\"\"\n" + repeat("\\\"\"\"", kLongRun),
         u"Physical pre-parser failure: Unclosed character or string literal (line 2)."},
    };
    test::TempDir dir;
    const CountSettings settings = test::settingsWith(CountMode::Executable);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FileCount record(test::u16(c.name), dir.write(c.name, c.bytes));
        EXPECT_FALSE(record.count(settings));
        EXPECT_EQ(record.remarks, c.remarks);
        EXPECT_TRUE(record.failed);
    }
}

TEST(LogicalFixtureTest, HostileInputsGiveTheirKnownCounts) {
    const std::size_t deep = 10000;
    const struct {
        const char* name;
        std::string bytes;
        Counted counted;
    } cases[] = {
        {"empty.cpp", "", {0, 0, 0}},
        {"empty.java", "", {0, 0, 0}},
        {"annotations.java", repeat("@A\n@B(x = \"y\")\n", 5000), {0, 0, 10000}},
        {"deep_groups.cpp", repeat("(", deep) + "x" + repeat(")", deep) + ";\n", {0, 0, 0}},
        {"deep_calls.cpp", repeat("f(", deep) + "x" + repeat(")", deep) + ";\n", {deep, 0, 0}},
        // Each level is an access with a '+' inside; then the assignment.
        {"deep_brackets.c",
         "x = " + repeat("a[i + ", deep) + "0" + repeat("]", deep) + ";\n",
         {2 * deep + 1, 0, 0}},
        {"deep_braces.cpp", repeat("{", deep) + "x;" + repeat("}", deep), {0, 0, 0}},
        // Nothing closes; each '<' is left for the operators as a comparison.
        {"open_only.cpp", repeat("([{<", deep), {deep, 0, 0}},
        // The lists close from the inside out into one word: a single declaration.
        {"templates.cpp",
         "std::vector" + repeat("<", deep) + "int" + repeat(">", deep) + " v;\n",
         {0, 1, 0}},
        {"mismatched.cpp", repeat("(]", 3), {0, 0, 0}},
        // Long runs of digit separators, of character literals after names, of raw strings and
        // of lines in a text block.
        {"separators.cpp", "x = " + repeat("1'", kLongRun) + "1;\n", {1, 0, 0}},
        {"quotes.cpp", repeat("a1'", kLongRun) + "\n", {0, 0, 0}},
        {"raw_strings.h", repeat("R\"(a)\" ", kLongRun) + ";\n", {0, 1, 0}},
        {"text_block.java", "s = \"\"\"\n" + repeat("\n", kLongRun) + "\"\"\";\n", {1, 0, 0}},
    };
    test::TempDir dir;
    const CountSettings settings = test::settingsWith(CountMode::Executable);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FileCount record(test::u16(c.name), dir.write(c.name, c.bytes));
        const bool counted = record.count(settings);
        if (std::string(c.name) == "mismatched.cpp") {
            // No ')' closes anything, and the first ']' has no '['.
            EXPECT_FALSE(counted);
            EXPECT_EQ(record.remarks,
                      u"Logical parser failure: Error parsing array access "
                      u"operators: Invalid array access operator (line 1).");
            continue;
        }
        ASSERT_TRUE(counted) << test::u8(record.remarks);
        EXPECT_EQ((Counted{record.code, record.declaration, record.directive}), c.counted);
    }
}

TEST(LogicalFixtureTest, AFourMegabyteLineOfCallsAndOperatorsCountsInTime) {
    const std::string line = repeat(
        "if (a == b) { v[i] = (int)g<T>(x.y, *p) + h(k[j++], s->t); } else { while (n-- "
        "> 0) m::q(a < b ? c : d); } ",
        4 * 1024 * 1024 / 106);
    test::TempDir dir;
    const std::string path = dir.write("line.cpp", line);
    for (const CountMode mode : {CountMode::TerminatingCharacters, CountMode::Executable}) {
        const CountSettings settings = test::settingsWith(mode);
        FileCount record(u"line.cpp", path);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(record.count(settings)) << test::u8(record.remarks);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_GT(record.code, 0u);
#if defined(NDEBUG)
        EXPECT_LT(seconds, 3.0);
#else
        (void)seconds;
#endif
    }
}

}  // namespace
}  // namespace tw
