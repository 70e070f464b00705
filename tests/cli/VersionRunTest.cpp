// -rev, -diff and -history as the console runs them, on a repository the test builds.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/GitRepository.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

/// `text` without its lines that hold `word`.
std::string withoutLines(const std::string& text, const std::string& word) {
    std::string kept;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start + 1);
        if (line.find(word) == std::string::npos) {
            kept += line;
        }
        start = end + 1;
    }
    return kept;
}

/// The repository `a/work`: v1, then a commit that edits, adds, renames and removes files
/// (one with CR LF, one binary), tagged v2, and an edit left in the work tree. `b/work` is a
/// checkout of v1 and `b/new` one of v2, so that a scan from `b` shows the paths a run over
/// the revisions shows from `a`.
class VersionRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(git_.available()) << "git is needed (scripts/bootstrap.sh installs it)";
        git("a", {"init", "-q", "work"});
        write("src/a.c", "/* a */\nint a;\n\nint b; // b\n");
        write("src/b.h", "#define B 1\n");
        write("src/crlf.c", "int x;\r\n/* c */\r\n\r\nint y;\r\n");
        write("src/gone.c", "int gone;\n");
        write("logo.c", std::string("\x89PNG\r\n\x1a\n\0\0\0", 11));
        commit("one");
        git("a/work", {"tag", "v1"});
        write("src/a.c", "/* a, now longer */\nint a;\nint a2;\n\nint b; // b\n// end\n");
        git("a/work", {"mv", "src/b.h", "src/moved.h"});
        git("a/work", {"rm", "-q", "src/gone.c"});
        write("src/crlf.c", "int x;\r\n/* c */\r\n\r\nint y2;\r\nint z;\r\n");
        write("src/new.c", "int n;\n\n// n\n");
        commit("two");
        git("a/work", {"tag", "-a", "-m", "second", "v2"});
        write("src/a.c", "int a;\n");
        git("a/work", {"worktree", "add", "-q", "--detach", dir_.pathOf("b/work"), "v1"});
        git("a/work", {"worktree", "add", "-q", "--detach", dir_.pathOf("b/new"), "v2"});
    }

    void write(const std::string& name, const std::string& bytes) {
        dir_.write("a/work/" + name, bytes);
    }
    void commit(const std::string& message) {
        git("a/work", {"add", "-A"});
        git("a/work", {"commit", "-q", "-m", message});
    }
    void git(const std::string& folder, std::vector<std::string> arguments) {
        fs::create_directories(dir_.pathOf(folder));
        const test::ProcessResult result = git_.run(dir_.pathOf(folder), arguments);
        ASSERT_EQ(result.exitCode, 0) << arguments[0] << ": " << result.err;
    }

    /// The program run in `from` with `arguments`.
    test::ProcessResult run(const std::string& from, const std::vector<std::string>& arguments) {
        return test::runProgram(TW_EXECUTABLE, arguments, dir_.pathOf(from), git_.environment());
    }

    /// The one file in `folder` whose name begins with `prefix`; empty when there is not one.
    std::string outputOf(const std::string& folder, const std::string& prefix) {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(dir_.pathOf(folder))) {
            if (entry.path().filename().string().starts_with(prefix)) {
                found.push_back(test::readBytes(entry.path()));
            }
        }
        EXPECT_EQ(found.size(), 1u) << folder << "/" << prefix;
        return found.size() == 1 ? found.front() : std::string();
    }

    test::TempDir dir_;
    test::GitCommands git_{dir_.pathOf("home")};
};

TEST_F(VersionRunTest, RevisionCountsAsItsCheckout) {
    const std::vector<std::string> common = {"-dir",    "work", "-ext", ".c",   ".h",
                                             "-report", "list", "csv",  "-out", "out"};
    std::vector<std::string> revision = common;
    revision.insert(revision.end(), {"-rev", "v1"});
    const test::ProcessResult fromRepository = run("a", revision);
    ASSERT_EQ(fromRepository.exitCode, 0) << fromRepository.err;
    const test::ProcessResult fromCheckout = run("b", common);
    ASSERT_EQ(fromCheckout.exitCode, 0) << fromCheckout.err;

    EXPECT_EQ(outputOf("a/out", "report_"), outputOf("b/out", "report_"));
    EXPECT_EQ(withoutLines(outputOf("a/out", "output_"), "Time"),
              withoutLines(outputOf("b/out", "output_"), "Time"));
    // The work tree is as it was: the edit after v2 is still there.
    EXPECT_EQ(test::readBytes(dir_.pathOf("a/work/src/a.c")), "int a;\n");
}

TEST_F(VersionRunTest, DiffOfRevisionsWritesItsFilesBesideTheNewSummary) {
    const test::ProcessResult result =
        run("a", {"-dir", "work", "-diff", "v1", "v2", "-report", "json", "-out", "out"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("Quick summary of 'v2' written to"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("removed"), std::string::npos) << "the totals table";

    std::size_t texts = 0;
    std::size_t jsons = 0;
    std::string jsonText;
    for (const auto& entry : fs::directory_iterator(dir_.pathOf("a/out"))) {
        const std::string name = entry.path().filename().string();
        texts += name.starts_with("diff_") && name.ends_with(".txt");
        if (name.starts_with("diff_") && name.ends_with(".json")) {
            ++jsons;
            jsonText = test::readBytes(entry.path());
        }
    }
    EXPECT_EQ(texts, 1u);
    ASSERT_EQ(jsons, 1u);
    const Json json = Json::parse(jsonText);
    EXPECT_EQ(json["old"], "v1");
    EXPECT_EQ(json["new"], "v2");
    std::map<std::string, std::string> statuses;
    for (const Json& file : json["files"]) {
        statuses[file["path"].get<std::string>()] = file["status"].get<std::string>();
    }
    const std::map<std::string, std::string> expected = {
        {"work/logo.c", "unchanged"},   {"work/src/a.c", "modified"},
        {"work/src/b.h", "removed"},    {"work/src/crlf.c", "modified"},
        {"work/src/gone.c", "removed"}, {"work/src/moved.h", "added"},
        {"work/src/new.c", "added"},
    };
    EXPECT_EQ(statuses, expected);

    // The summary is that of v2, as its checkout gives it.
    const test::ProcessResult checkout = run("b", {"-dir", "new", "-out", "out"});
    ASSERT_EQ(checkout.exitCode, 0) << checkout.err;
    EXPECT_EQ(withoutLines(outputOf("a/out", "output_"), "Time"),
              withoutLines(outputOf("b/out", "output_"), "Time"));
}

TEST_F(VersionRunTest, TwoDirectoriesCompareAsTheirRevisions) {
    const test::ProcessResult directories =
        run("b", {"-diff", "work", "new", "-report", "json", "-out", "-"});
    ASSERT_EQ(directories.exitCode, 0) << directories.err;
    const test::ProcessResult revisions =
        run("a", {"-dir", "work", "-diff", "v1", "v2", "-report", "json", "-out", "-"});
    ASSERT_EQ(revisions.exitCode, 0) << revisions.err;
    const Json byDirectory = Json::parse(directories.out);
    const Json byRevision = Json::parse(revisions.out);
    EXPECT_EQ(byDirectory["totals"], byRevision["totals"]);
    ASSERT_EQ(byDirectory["files"].size(), byRevision["files"].size());
    for (std::size_t i = 0; i < byDirectory["files"].size(); ++i) {
        Json left = byDirectory["files"][i];
        Json right = byRevision["files"][i];
        EXPECT_EQ(left["path"].get<std::string>().substr(left["path"].get<std::string>().find('/')),
                  right["path"].get<std::string>().substr(4));
        left.erase("path");
        right.erase("path");
        EXPECT_EQ(left, right);
    }
}

TEST_F(VersionRunTest, DiffAgainstTheWorkTree) {
    const test::ProcessResult result = run("a", {"-dir", "work", "-diff", "v2", "-out", "-"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("work tree"), std::string::npos) << result.out;
}

TEST_F(VersionRunTest, HistoryRowsMatchEachRevision) {
    const test::ProcessResult history =
        run("a", {"-dir", "work", "-history", "tags", "-report", "json", "-out", "-"});
    ASSERT_EQ(history.exitCode, 0) << history.err;
    const Json rows = Json::parse(history.out)["revisions"];
    ASSERT_EQ(rows.size(), 2u);
    for (const Json& row : rows) {
        const test::ProcessResult revision =
            run("a", {"-dir", "work", "-rev", row["commit"].get<std::string>(), "-report", "json",
                      "-out", "-"});
        ASSERT_EQ(revision.exitCode, 0) << revision.err;
        const Json totals = Json::parse(revision.out)["totals"];
        EXPECT_EQ(row["files"], totals["files"]) << row["revision"];
        for (const auto& [key, value] : row.items()) {
            if (totals.contains(key) && key != "files") {
                EXPECT_EQ(value, totals[key]) << row["revision"] << " " << key;
            }
        }
    }
    // The files: csv, and json beside it.
    const test::ProcessResult files =
        run("a", {"-dir", "work", "-history", "2", "-report", "json", "-out", "out"});
    ASSERT_EQ(files.exitCode, 0) << files.err;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.pathOf("a/out"))) {
        names.push_back(entry.path().extension().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".csv", ".json"}));
    EXPECT_NE(files.out.find("2 revisions counted"), std::string::npos) << files.out;
}

TEST_F(VersionRunTest, HtmlReportHoldsTheComparisonOrTheHistory) {
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        std::vector<std::string> names;  // the output files, by name up to the stamp
        std::vector<std::string> inReport;
    } cases[] = {
        {"diff",
         {"-diff", "v1", "v2"},
         {"diff", "output", "report"},
         {"<table id=\"types\">", "<table id=\"diff\">",
          "<tr><td>work/src/new.c</td><td>added</td>", "<svg id=\"treemap\""}},
        {"history",
         {"-history", "tags"},
         {"history", "report"},
         {"<svg id=\"history\"", "<table id=\"revisions\">", "<td>v1</td>"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir_.pathOf("a/out"));
        std::vector<std::string> arguments = {"-dir", "work", "-report", "html", "-out", "out"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const test::ProcessResult result = run("a", arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_.pathOf("a/out"))) {
            const std::string name = entry.path().filename().string();
            names.push_back(name.substr(0, name.find('_')));
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.names);
        EXPECT_NE(result.out.find("Report written to"), std::string::npos) << result.out;
        const std::string html = outputOf("a/out", "report_");
        for (const std::string& part : c.inReport) {
            EXPECT_NE(html.find(part), std::string::npos) << part;
        }
    }
}

/// Each error: exit 4, a message naming the thing and the reason, and no file in the output
/// directory.
TEST_F(VersionRunTest, ErrorsWriteNothing) {
    fs::create_directories(dir_.pathOf("plain"));
    dir_.write("plain/p.c", "int p;\n");
    struct Case {
        std::vector<std::string> arguments;
        std::vector<std::string> message;
    };
    const std::vector<Case> cases = {
        {{"-dir", "a/work", "-rev", "v9"}, {"a/work", "v9"}},
        {{"-dir", "plain", "-rev", "v1"}, {"plain", "repository"}},
        {{"-rev", "v1"}, {"-rev", "-dir"}},
        {{"-dir", "a/work", "-diff", "v1", "nope"}, {"nope"}},
        {{"-diff", "b/work", "b/missing"}, {"b/missing"}},
        {{"-diff", "b/work"}, {"b/work", "two directories"}},
        {{"-dir", "a/work", "-history", "many"}, {"many"}},
        {{"-dir", "plain", "-history", "3"}, {"plain"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-report", "json", "-out", "out"});
        const test::ProcessResult result = run("", arguments);
        EXPECT_EQ(result.exitCode, 4) << arguments[1] << " " << arguments[2] << "\n" << result.err;
        for (const std::string& word : c.message) {
            EXPECT_NE(result.err.find(word), std::string::npos) << word << " in " << result.err;
        }
        EXPECT_TRUE(!fs::exists(dir_.pathOf("out")) || fs::is_empty(dir_.pathOf("out")))
            << result.err;
    }
}

}  // namespace
}  // namespace tw
