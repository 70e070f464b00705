// -explain: each line of a file with its class and what was counted on it, as text and JSON.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/Golden.h"
#include "support/Process.h"

namespace tw {
namespace {

const std::string kExplainFixtures = std::string(TW_FIXTURES_DIR) + "/console/explain";

TEST(ExplainTest, PrintsEveryLineWithItsClassAndCounts) {
    for (const char* mode : {"p", "t", "e"}) {
        SCOPED_TRACE(mode);
        const test::ProcessResult run = test::runProgram(
            TW_EXECUTABLE, {"-explain", "classes.c", "broken.c", "-mode", mode}, kExplainFixtures);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "broken.c:2: warning: Physical pre-parser failure: Unclosed comment\n");
        test::expectMatchesGolden(run.out,
                                  kExplainFixtures + "/expected_" + std::string(mode) + ".txt");
    }
}

TEST(ExplainTest, JsonLinesAddUpToTheFilesFigures) {
    const test::ProcessResult run = test::runProgram(
        TW_EXECUTABLE, {"-mode", "e", "-report", "json", "-explain", "classes.c", "broken.c"},
        kExplainFixtures);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    EXPECT_EQ(report["mode"], "Executable");
    const nlohmann::json& files = report["files"];
    ASSERT_EQ(files.size(), 2u);

    const nlohmann::json& counted = files[0];
    EXPECT_EQ(counted["path"], "classes.c");
    EXPECT_EQ(counted["failure"], nullptr);
    std::map<std::string, std::uint32_t> classes;
    std::uint32_t statements = 0;
    std::uint32_t declarations = 0;
    std::uint32_t directives = 0;
    for (const nlohmann::json& line : counted["lines"]) {
        ++classes[line["class"].get<std::string>()];
        statements += line["statements"].get<std::uint32_t>();
        declarations += line["declarations"].get<std::uint32_t>();
        directives += line["directives"].get<std::uint32_t>();
    }
    EXPECT_EQ(counted["lines"].size(), 14u);
    EXPECT_EQ(statements, counted["code"]);
    EXPECT_EQ(declarations, counted["declaration"]);
    EXPECT_EQ(directives, counted["directive"]);
    EXPECT_EQ(classes["Comment/Own Line"], counted["commentOwnLine"]);
    EXPECT_EQ(classes["Comment/Code Line"], counted["commentCodeLine"]);
    EXPECT_EQ(classes["Comment/Banner"], counted["commentBanner"]);
    EXPECT_EQ(classes["Comment/Blank"], counted["commentBlank"]);
    EXPECT_EQ(classes["Blank"], counted["blank"]);
    EXPECT_EQ(counted["lines"][8]["text"], "    int s = 0; // running");

    const nlohmann::json& failed = files[1];
    EXPECT_EQ(failed["failed"], true);
    EXPECT_EQ(failed["failure"], "Physical pre-parser failure: Unclosed comment (line 2).");
    EXPECT_EQ(failed["errorLine"], 2);
}

TEST(ExplainTest, NothingToExplainStopsWithCodeFour) {
    const test::ProcessResult run = test::runProgram(TW_EXECUTABLE, {"-explain"}, kExplainFixtures);
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_NE(run.err.find("nothing to count"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tw
