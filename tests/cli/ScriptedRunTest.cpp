// The console run as a script or a CI job uses it: the report alone on standard output, every
// failed file named on standard error with an exit code that tells an unreadable input from a
// file the counter cannot parse, one record per file on disk, absolute paths that are never
// options, and a warning for every word that would do nothing.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "support/Csv.h"
#include "support/Process.h"
#include "support/ProgressLines.h"
#include "support/TempDir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

const std::string kConsoleFixtures = std::string(TW_FIXTURES_DIR) + "/console";
const std::string kUnreadable =
    "tallyweaver: 1 file could not be read; the lines with 'error:' above name them\n";
const std::string kBrokenC =
    "tree/broken.c:3: warning: Physical pre-parser failure: Unclosed "
    "comment\n";

/// A run and what it shows: the paths it counts, one record each, and its standard error.
struct RunCase {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> counted;
    std::string errors;
};

/// A folder holding a copy of the console fixtures' tree and list file, for runs that must
/// show what they leave behind.
class ScriptedRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy(kConsoleFixtures + "/tree", work_.path() / "tree", fs::copy_options::recursive);
        fs::copy(kConsoleFixtures + "/files.txt", work_.path() / "files.txt");
    }

    test::ProcessResult run(const std::vector<std::string>& arguments) const {
        return test::runProgram(TW_EXECUTABLE, arguments, work_.path().string());
    }

    std::set<std::string> namesIn(const std::string& folder = ".") const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(work_.path() / folder)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    test::TempDir work_;
};

/// `text` with every CR LF as LF: a golden output file as standard output holds it.
std::string withLineFeeds(std::string text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            result += text[i];
        }
    }
    return result;
}

TEST_F(ScriptedRunTest, OutDashPutsTheReportAloneOnStandardOutput) {
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        const char* golden;  // the output file this run writes otherwise
    } cases[] = {
        {"no report: the quick summary", {}, "physical_summary.txt"},
        {"list", {"-report", "list"}, "physical_report_list.txt"},
        {"csv without directories",
         {"-report", "list", "csv", "nodir"},
         "physical_report_nodir.csv"},
        {"tree", {"-mode", "t", "-report", "tree"}, "terminating_report_tree.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> arguments = {"-list", "files.txt", "-out", "-"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const test::ProcessResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 8) << result.err;  // files.txt names a missing tree/MAIN.C
        EXPECT_EQ(result.out,
                  withLineFeeds(test::readBytes(kConsoleFixtures + "/expected/" + c.golden)));
        // Progress and messages went to standard error; no file was written.
        EXPECT_NE(result.err.find("Working.  Please wait...\nParsing:\ttree/main.c\n"),
                  std::string::npos)
            << result.err;
        EXPECT_NE(result.err.find("tree/MAIN.C: error: No such file or directory\n"),
                  std::string::npos)
            << result.err;
        EXPECT_EQ(namesIn(), (std::set<std::string>{"files.txt", "tree"}));
    }
}

TEST_F(ScriptedRunTest, JsonAndCsvFromStandardOutputParseToTheSameCounts) {
    const std::vector<std::string> files = {"-list",  "files.txt", "-mode", "e",
                                            "-quiet", "-out",      "-"};
    std::vector<std::string> json = files;
    json.insert(json.end(), {"-report", "json"});
    std::vector<std::string> csv = files;
    csv.insert(csv.end(), {"-report", "list", "csv"});

    const test::ProcessResult jsonRun = run(json);
    const nlohmann::json report = nlohmann::json::parse(jsonRun.out);
    EXPECT_EQ(report["totals"]["files"], 7);
    const test::ProcessResult csvRun = run(csv);
    const test::CsvTable table = test::parseCsv(csvRun.out);
    ASSERT_TRUE(table.ok) << csvRun.out;

    // The rows below the header "File,Code,...", by file.
    std::map<std::string, std::vector<std::string>> rows;
    std::vector<std::string> header;
    for (const std::vector<std::string>& record : table.records) {
        if (!header.empty() && record.size() == header.size()) {
            rows[record[0]] = record;
        } else if (!record.empty() && record[0] == "File") {
            header = record;
        }
    }
    ASSERT_GE(header.size(), 4u) << csvRun.out;
    ASSERT_EQ(header[1], "Executable");
    ASSERT_EQ(header[2], "Declaration");
    std::size_t compared = 0;
    for (const nlohmann::json& file : report["files"]) {
        if (!file["counted"].get<bool>()) {
            continue;
        }
        const std::string path = file["path"];
        ASSERT_TRUE(rows.count(path)) << path << "\n" << csvRun.out;
        EXPECT_EQ(rows[path][1], std::to_string(file["code"].get<int>())) << path;
        EXPECT_EQ(rows[path][2], std::to_string(file["declaration"].get<int>())) << path;
        ++compared;
    }
    EXPECT_EQ(compared, 5u);
}

TEST_F(ScriptedRunTest, AStandardOutputThatCannotBeWrittenEndsWithCodeSix) {
    // The shell hands the program a standard output on a full device.
    const test::ProcessResult result =
        test::runProgram("/bin/sh",
                         {"-c", "exec \"$0\" \"$@\" >/dev/full", TW_EXECUTABLE, "-file",
                          "tree/main.c", "-report", "json", "-out", "-", "-quiet"},
                         work_.path().string());
    EXPECT_EQ(result.exitCode, 6) << result.err;
    EXPECT_NE(result.err.find("tallyweaver: cannot write to standard output: No space left on "
                              "device\n"),
              std::string::npos)
        << result.err;
}

TEST_F(ScriptedRunTest, UnreadableFilesEndWithCodeEightAndUnparseableOnesDoNot) {
    work_.write("array.cpp", "int a[] = {1,\n");
    work_.write("locked.c", "int x;\n");
    ::chmod(work_.pathOf("locked.c").c_str(), 0);
    ASSERT_EQ(::mkfifo(work_.pathOf("pipe.c").c_str(), 0600), 0);
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        int exitCode;
        std::string errors;  // standard error, whole
    } cases[] = {
        {"a missing file",
         {"-file", "tree/main.c", "nothere.c"},
         8,
         "nothere.c: error: No such file or directory\n" + kUnreadable},
        {"a directory", {"-file", "tree"}, 8, "tree: error: Is a directory\n" + kUnreadable},
        {"a pipe", {"-file", "pipe.c"}, 8, "pipe.c: error: Not a regular file\n" + kUnreadable},
        {"a list naming a missing file and a broken one",
         {"-list", "files.txt"},
         8,
         kBrokenC + "tree/MAIN.C: error: No such file or directory\n" + kUnreadable},
        {"a comment never closed", {"-file", "tree/broken.c"}, 0, kBrokenC},
        {"an array initialiser never closed",
         {"-file", "array.cpp", "-mode", "t"},
         0,
         "array.cpp:1: warning: Logical pre-parser failure: Failed to parse array "
         "initialization: Unclosed array initialization brackets ({})\n"},
        {"no permission",
         {"-file", "locked.c"},
         ::geteuid() == 0 ? 0 : 8,  // nothing stops root from reading it
         ::geteuid() == 0 ? "" : "locked.c: error: Permission denied\n" + kUnreadable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(work_.path() / "out");
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-report", "list", "-quiet", "-out", "out"});
        const test::ProcessResult result = run(arguments);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err, "tallyweaver: created the output directory 'out'\n" + c.errors);
        // Every output is written, whatever the code.
        EXPECT_EQ(namesIn("out").size(), 2u);
    }
}

TEST_F(ScriptedRunTest, EachFileOnDiskMakesOneRecordUnderThePathMetFirst) {
    work_.write("a.c", "int a;\n");
    fs::create_hard_link(work_.path() / "a.c", work_.path() / "hard.c");
    fs::create_symlink("a.c", work_.path() / "soft.c");
    const std::string absolute = work_.path().string();
    const auto same = [](const std::string& later, const std::string& first) {
        return "tallyweaver: warning: file '" + later + "' is the same file as '" + first +
               "'; passed over\n";
    };
    const RunCase cases[] = {
        {"a folder inside another",
         {"-dir", ".", "tree/util", "-ext", ".c", ".h"},
         {"./a.c", "./tree/broken.c", "./tree/main.c", "./tree/util/util.c", "./tree/util/util.h"},
         same("./hard.c", "./a.c") + same("./soft.c", "./a.c") +
             same("tree/util/util.c", "./tree/util/util.c") +
             same("tree/util/util.h", "./tree/util/util.h") + "./" + kBrokenC},
        {"one folder by two paths",
         {"-dir", "tree/util", absolute + "/tree/util", "-ext", ".c"},
         {"tree/util/util.c"},
         same(absolute + "/tree/util/util.c", "tree/util/util.c")},
        {"a hard link and a symbolic link",
         {"-file", "soft.c", "a.c", "hard.c"},
         {"soft.c"},
         same("a.c", "soft.c") + same("hard.c", "soft.c")},
        {"the same path twice", {"-file", "a.c", "a.c"}, {"a.c"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-out", "-"});
        const test::ProcessResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        // One "Parsing:" line per record.
        EXPECT_EQ(test::parsedPaths(result.err), c.counted);
        // What is left of standard error once the progress lines are taken out.
        std::string errors;
        for (std::size_t at = 0; at < result.err.size();) {
            const std::size_t end = result.err.find('\n', at) + 1;
            const std::string line = result.err.substr(at, end - at);
            if (!line.starts_with("Parsing:") && !line.starts_with("Working.")) {
                errors += line;
            }
            at = end;
        }
        EXPECT_EQ(errors, c.errors);
    }
}

TEST_F(ScriptedRunTest, AbsolutePathsThatEndInAnOptionNameAreValues) {
    // Where the program comes from, "/git" ran -git and "/out" was the option -out; here a
    // value beginning with '/' is a path, whatever its last name.
    work_.write("dir/a.c", "int a;\n");
    work_.write("git", "int g;\n");
    work_.write("other.c", "int o;\n");
    const std::string list = work_.write("file", work_.pathOf("other.c") + "\n");
    fs::create_directory(work_.path() / "out");
    const test::ProcessResult result =
        run({"-file", work_.pathOf("git"), "-dir", work_.pathOf("dir"), "-ext", ".c", "-list", list,
             "-out", work_.pathOf("out"), "-quiet"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_NE(result.out.find("Counted:\t3\n"), std::string::npos) << result.out;
    EXPECT_EQ(namesIn("out").size(), 1u);
}

TEST_F(ScriptedRunTest, WordsThatWouldDoNothingAreNamed) {
    const std::string languages =
        "tallyweaver: no -ext given: directories are scanned for the extensions of the "
        "program's languages: .h .hpp .hxx .hh .c .cpp .cc .cxx .inl .rc .java\n";
    const RunCase cases[] = {
        {"no -ext: every language",
         {"-dir", "tree"},
         {"tree/app.rc", "tree/broken.c", "tree/main.c", "tree/Shape.java", "tree/util/util.c",
          "tree/util/util.h"},
         languages + kBrokenC},
        {"-nosub: no subfolders for any -dir",
         {"-dir", "tree", "-nosub", "-ext", "c", "h"},
         {"tree/broken.c", "tree/main.c"},
         kBrokenC},
        {"an extension in capitals",
         {"-dir", "tree", "-ext", ".C"},
         {"tree/broken.c", "tree/main.c", "tree/util/util.c"},
         "tallyweaver: warning: -ext: '.C' is taken as '.c': extensions match in any letter "
         "case\n" +
             kBrokenC},
        {"an extension of no language",
         {"-dir", "tree", "-ext", ".java", ".txt"},
         {"tree/Shape.java"},
         "tallyweaver: warning: -ext: '.txt' is not an extension of a language the program "
         "knows; its files are counted with the rules of C\n"},
        {"a typo's value is no file",
         {"-file", "tree/main.c", "-mdoe", "e"},
         {"tree/main.c"},
         "tallyweaver: warning: unknown option '-mdoe' ignored, and the value after it: 'e'\n"},
        {"a second report word",
         {"-file", "tree/main.c", "-report", "list", "json"},
         {"tree/main.c"},
         "tallyweaver: warning: -report: 'json' replaces the earlier 'list': a run writes one "
         "report\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-out", "out"});
        fs::create_directories(work_.path() / "out");
        const test::ProcessResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(test::parsedPaths(result.out), c.counted);
        EXPECT_EQ(result.err, c.errors);
    }
}

}  // namespace
}  // namespace tw
