// The json report read back by a JSON parser: every field a program would look for.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "support/Process.h"
#include "support/TempDir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

TEST(JsonReportTest, ParsesBackToTheCountsOfEveryFile) {
    test::TempDir out;
    const test::ProcessResult run =
        test::runProgram(TW_EXECUTABLE,
                         {"-list", "files.txt", "-mode", "e", "-report", "json", "-quiet", "-out",
                          out.path().string()},
                         std::string(TW_FIXTURES_DIR) + "/console");
    // files.txt names tree/MAIN.C, which does not exist.
    ASSERT_EQ(run.exitCode, 8) << run.err;
    std::string text;
    for (const auto& entry : fs::directory_iterator(out.path())) {
        if (entry.path().extension() == ".json") {
            text = test::readBytes(entry.path());
        }
    }
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(text.find('\r'), std::string::npos);

    const nlohmann::json report = nlohmann::json::parse(text);
    EXPECT_EQ(report["mode"], "Executable");
    EXPECT_EQ(report["allCapsFunctionsAsMacros"], false);
    EXPECT_EQ(report["macrosAsStatements"], true);
    EXPECT_EQ(report["logicAsSingleStatement"], false);
    const nlohmann::json& files = report["files"];
    ASSERT_EQ(files.size(), 7u);

    const nlohmann::json& main = files[0];
    EXPECT_EQ(main["path"], "tree/main.c");
    EXPECT_EQ(main["type"], "C/C++ Source");
    EXPECT_EQ(main["encoding"], "ANSI");
    EXPECT_GT(main["sizeBytes"].get<int>(), 0);
    EXPECT_EQ(main["counted"], true);
    EXPECT_EQ(main["failed"], false);
    EXPECT_TRUE(main["failure"].is_null());
    EXPECT_EQ(main["errorLine"], -1);
    const std::uint32_t totalComment =
        main["commentOwnLine"].get<std::uint32_t>() + main["commentCodeLine"].get<std::uint32_t>() +
        main["commentBanner"].get<std::uint32_t>() + main["commentBlank"].get<std::uint32_t>();
    EXPECT_EQ(main["totalComment"], totalComment);
    EXPECT_EQ(main["total"], main["code"].get<std::uint32_t>() +
                                 main["declaration"].get<std::uint32_t>() +
                                 main["directive"].get<std::uint32_t>() + totalComment +
                                 main["blank"].get<std::uint32_t>());

    // A failed file says so, with its failure text and line, and counts nothing.
    const nlohmann::json& broken = files[1];
    EXPECT_EQ(broken["path"], "tree/broken.c");
    EXPECT_EQ(broken["counted"], false);
    EXPECT_EQ(broken["failed"], true);
    EXPECT_EQ(broken["remarks"], "Physical pre-parser failure: Unclosed comment (line 3).");
    EXPECT_EQ(broken["failure"], broken["remarks"]);
    EXPECT_EQ(broken["errorLine"], 3);
    EXPECT_EQ(broken["total"], 0);
    EXPECT_EQ(files[0]["failure"], nullptr);

    const nlohmann::json& totals = report["totals"];
    EXPECT_EQ(totals["files"], 7);
    EXPECT_EQ(totals["counted"], 5);
    EXPECT_EQ(totals["uncounted"], 2);
    EXPECT_EQ(totals["failed"], 2);
    std::uint32_t code = 0;
    for (const nlohmann::json& file : files) {
        code += file["counted"].get<bool>() ? file["code"].get<std::uint32_t>() : 0;
    }
    EXPECT_EQ(totals["code"], code);

    // By type: the counted files of each type and their sums, adding up to the totals.
    std::map<std::string, std::pair<int, std::uint32_t>> byFiles;  // type -> files, comment words
    for (const nlohmann::json& file : files) {
        if (file["counted"].get<bool>()) {
            auto& [count, words] = byFiles[file["type"].get<std::string>()];
            ++count;
            words += file["commentWords"].get<std::uint32_t>();
        }
    }
    std::map<std::string, std::pair<int, std::uint32_t>> byType;
    for (const nlohmann::json& type : report["byType"]) {
        byType[type["type"].get<std::string>()] = {type["files"].get<int>(),
                                                   type["commentWords"].get<std::uint32_t>()};
    }
    EXPECT_EQ(byType, byFiles);
    EXPECT_EQ(report["byType"].size(), 4u);  // C/C++ Source and Header, Java, Resource Script
}

/// The report of one run over `files` in `directory`, parsed.
nlohmann::json reportOf(const std::vector<std::string>& files, const std::string& mode,
                        const std::string& directory) {
    test::TempDir out;
    std::vector<std::string> arguments{"-file"};
    arguments.insert(arguments.end(), files.begin(), files.end());
    for (const std::string argument :
         {"-mode", mode.c_str(), "-report", "json", "-quiet", "-out", out.path().c_str()}) {
        arguments.push_back(argument);
    }
    const test::ProcessResult run = test::runProgram(TW_EXECUTABLE, arguments, directory);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    for (const auto& entry : fs::directory_iterator(out.path())) {
        if (entry.path().extension() == ".json") {
            return nlohmann::json::parse(test::readBytes(entry.path()));
        }
    }
    return {};
}

TEST(JsonReportTest, ListsTheFunctionsOfEachFileInTheComplexityMode) {
    const std::string sources = std::string(TW_FIXTURES_DIR) + "/complexity/sources";
    const nlohmann::json report = reportOf({"control.cpp", "Switches.java"}, "c", sources);
    ASSERT_EQ(report["files"].size(), 2u);
    const nlohmann::json& control = report["files"][0];
    const nlohmann::json& functions = control["functions"];
    ASSERT_EQ(functions.size(), 4u);
    EXPECT_EQ(functions[0], nlohmann::json::parse(R"({"name": "classify", "line": 8,
        "firstLine": 8, "lastLine": 24, "complexity": 5})"));
    EXPECT_EQ(report["files"][1]["functions"][0]["name"], "Switches.max");
    for (const nlohmann::json& file : report["files"]) {
        std::uint32_t sum = 0;
        for (const nlohmann::json& function : file["functions"]) {
            sum += function["complexity"].get<std::uint32_t>();
        }
        EXPECT_EQ(file["code"], sum);
    }
    EXPECT_FALSE(reportOf({"control.cpp"}, "p", sources)["files"][0].contains("functions"));
}

}  // namespace
}  // namespace tw
