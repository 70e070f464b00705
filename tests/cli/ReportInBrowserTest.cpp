// The HTML report as a browser sees it: headless Chromium loads the page, runs its script and
// prints the document, whose tables and treemap must agree with the JSON report of the same
// files; the page must say nothing on the browser's console.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "support/Process.h"
#include "support/TempDir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

/// The browser's path, or empty when no `chromium` is on the PATH.
std::string findChromium() {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = folder + "/chromium";
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

/// Runs the program over the fixtures with `report`; the bytes of the report it wrote.
std::string reportOf(const std::string& report, const fs::path& out) {
    const test::ProcessResult run =
        test::runProgram(TW_EXECUTABLE,
                         {"-dir", "mixed", "console/tree", "-mode", "c", "-report", report,
                          "-quiet", "-out", (out / report).string()},
                         TW_FIXTURES_DIR);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    for (const auto& entry : fs::directory_iterator(out / report)) {
        if (entry.path().extension() == "." + report) {
            return test::readBytes(entry.path());
        }
    }
    ADD_FAILURE() << "no ." << report << " report written";
    return {};
}

TEST(ReportInBrowserTest, TablesAndTreemapMatchTheJsonReportAndTheConsoleStaysQuiet) {
    const std::string chromium = findChromium();
    if (chromium.empty()) {
        GTEST_SKIP() << "chromium is not installed (scripts/bootstrap.sh installs it): the HTML "
                        "report was not opened in a browser";
    }
    test::TempDir out;
    const nlohmann::json json = nlohmann::json::parse(reportOf("json", out.path()));
    const std::string html = reportOf("html", out.path());
    ASSERT_FALSE(html.empty());
    const std::string page = (out.path() / "report.html").string();
    { std::ofstream(page, std::ios::binary) << html; }
    const test::ProcessResult browser =
        test::runProgram(chromium,
                         {"--headless", "--no-sandbox", "--disable-gpu",
                          "--user-data-dir=" + (out.path() / "profile").string(),
                          "--enable-logging=stderr", "--v=0", "--dump-dom", "file://" + page},
                         out.path().string());
    ASSERT_EQ(browser.exitCode, 0) << browser.err;
    const std::string& dom = browser.out;
    ASSERT_NE(dom.find("<table id=\"types\">"), std::string::npos) << dom;
    // Whatever the page logs, warns or throws shows as a CONSOLE line.
    EXPECT_EQ(browser.err.find("CONSOLE"), std::string::npos) << browser.err;
    // The script ran to its end: it shows the Back button.
    EXPECT_NE(dom.find("<button id=\"treemap-back\" disabled=\"\">Back</button>"),
              std::string::npos);

    // The table by type: a row per type of the JSON report, with its figures, and the total.
    std::map<std::string, std::vector<std::uint64_t>> types;
    const std::regex typeRow(
        R"re(<tr><td><span class="sw t\d"></span>([^<]+)</td>((?:<td class="n">\d+</td>)+)</tr>)re");
    const std::regex cell(R"re(<td class="n">(\d+)</td>)re");
    const auto numbers = [&cell](const std::string& cells) {
        std::vector<std::uint64_t> values;
        for (auto it = std::sregex_iterator(cells.begin(), cells.end(), cell);
             it != std::sregex_iterator(); ++it) {
            values.push_back(std::stoull((*it)[1]));
        }
        return values;
    };
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), typeRow);
         it != std::sregex_iterator(); ++it) {
        types[(*it)[1]] = numbers((*it)[2]);
    }
    ASSERT_EQ(types.size(), json["byType"].size());
    for (const nlohmann::json& type : json["byType"]) {
        SCOPED_TRACE(type["type"].get<std::string>());
        const std::vector<std::uint64_t> expected = {type["files"],        type["code"],
                                                     type["totalComment"], type["blank"],
                                                     type["commentWords"], type["total"]};
        EXPECT_EQ(types[type["type"].get<std::string>()], expected);
    }
    std::smatch total;
    ASSERT_TRUE(std::regex_search(
        dom, total, std::regex(R"re(<tfoot><tr><th>Total</th>((?:<td class="n">\d+</td>)+))re")));
    const nlohmann::json& totals = json["totals"];
    EXPECT_EQ(numbers(total[1]), (std::vector<std::uint64_t>{
                                     totals["counted"], totals["code"], totals["totalComment"],
                                     totals["blank"], totals["commentWords"], totals["total"]}));

    // The treemap: a rectangle per file with lines, its lines those of the JSON report; a
    // folder's lines those of the files below it; nothing merged in a tree this small.
    std::map<std::string, std::uint64_t> fileLines;
    for (const nlohmann::json& file : json["files"]) {
        if (file["counted"].get<bool>() && file["total"].get<std::uint64_t>() > 0) {
            fileLines[file["path"]] = file["total"];
        }
    }
    const std::regex rect(
        R"re(<rect class="(\w+)[^"]*" x="[\d.]+" y="[\d.]+" width="([\d.]+)" height="([\d.]+)" data-path="([^"]*)" data-lines="(\d+)")re");
    std::size_t files = 0;
    std::size_t folders = 0;
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), rect); it != std::sregex_iterator();
         ++it) {
        const std::string kind = (*it)[1];
        const std::string path = (*it)[4];
        const std::uint64_t lines = std::stoull((*it)[5]);
        SCOPED_TRACE(path);
        EXPECT_GT(std::stod((*it)[2]) * std::stod((*it)[3]), 0);
        if (kind == "f") {
            ++files;
            ASSERT_EQ(fileLines.count(path), 1u);
            EXPECT_EQ(lines, fileLines[path]);
        } else {
            EXPECT_EQ(kind, "d");
            ++folders;
            std::uint64_t below = 0;
            for (const auto& [file, fileTotal] : fileLines) {
                below += path.empty() || file.rfind(path + "/", 0) == 0 ? fileTotal : 0;
            }
            EXPECT_EQ(lines, below);
        }
    }
    EXPECT_EQ(files, fileLines.size());
    EXPECT_GE(folders, 3u);
    // Mode c: the most complex functions; the failed file with its line.
    EXPECT_NE(dom.find("<table id=\"functions\">"), std::string::npos);
    EXPECT_NE(dom.find("<td>console/tree/broken.c</td><td class=\"n\">3</td>"), std::string::npos);
}

}  // namespace
}  // namespace tw
