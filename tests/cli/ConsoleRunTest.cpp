// The console run through the real executable: result codes, output files byte for byte,
// progress lines.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "TallyweaverVersion.h"
#include "support/Golden.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

const std::string kConsoleFixtures = std::string(TW_FIXTURES_DIR) + "/console";

test::ProcessResult tallyweaver(const std::vector<std::string>& arguments,
                                const std::string& directory = kConsoleFixtures) {
    return test::runProgram(TW_EXECUTABLE, arguments, directory);
}

/// The files a run wrote into `directory`, by name, with their time stamps cut out.
std::map<std::string, std::string> outputFiles(const fs::path& directory) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(directory)) {
        std::string name = entry.path().filename().string();
        const std::size_t stamp = name.find('_');
        if (stamp != std::string::npos && name.size() > stamp + 20) {
            name.erase(stamp, 20);  // _DD_MM_YYYY_hh_mm_ss
        }
        files[name] = test::readBytes(entry.path());
    }
    return files;
}

TEST(ConsoleRunTest, ResultCodes) {
    test::TempDir out;
    const std::string outDir = out.path().string();
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        int exitCode;
        std::size_t filesWritten;
    } cases[] = {
        {"directories without extensions", {"-dir", "tree", "-out", outDir}, 2, 0},
        {"list file missing", {"-list", "nothing.txt", "-out", outDir}, 3, 0},
        {"list file is a directory", {"-list", "tree", "-out", outDir}, 3, 0},
        {"list file is a device without end", {"-list", "/dev/zero", "-out", outDir}, 3, 0},
        {"nothing to count", {"-quiet"}, 4, 0},
        {"directory that does not exist", {"-dir", "nowhere", "-ext", "c", "-out", outDir}, 4,
         0},
        {"output directory missing", {"-file", "tree/main.c", "-out", outDir + "/none"}, 5, 0},
        {"output directory is a file", {"-file", "tree/main.c", "-out", "files.txt"}, 5, 0},
        {"project file cannot be written",
         {"-file", "tree/main.c", "-out", outDir, "-save", outDir + "/none/p.tyx"}, 6, 1},
        {"completed", {"-file", "tree/main.c", "-out", outDir, "-report", "list"}, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(out.path())) {
            fs::remove_all(entry.path());
        }
        const test::ProcessResult run = tallyweaver(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.out;
        EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(out.path()),
                                                         fs::directory_iterator())),
                  c.filesWritten);
    }
}

TEST(ConsoleRunTest, APipeNobodyWritesToIsAnEmptyListFile) {
    test::TempDir out;
    const std::string pipe = out.pathOf("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const test::ProcessResult run = tallyweaver({"-list", pipe, "-out", out.path().string()});
    EXPECT_EQ(run.exitCode, 4) << run.out;
}

TEST(ConsoleRunTest, HelpAndVersionBeforeAnyOption) {
    for (const char* help : {"--help", "-h", "-?", "/?"}) {
        const test::ProcessResult run = tallyweaver({help});
        EXPECT_EQ(run.exitCode, 0) << help;
        for (const char* named : {"-dir", "-ext", "-file", "-list", "-mode", "-nosub", "-report",
                                  "-out", "-quiet", "-save", "-threads", "nodir", "csv",
                                  "Cyclomatic Complexity", "Exit codes", "--open FILE"}) {
            EXPECT_NE(run.out.find(named), std::string::npos) << help << " " << named;
        }
    }
    const test::ProcessResult version = tallyweaver({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "Tallyweaver " TW_VERSION "\n");
    // After an option they are unknown switches, ignored like any other.
    test::TempDir out;
    const test::ProcessResult counted =
        tallyweaver({"-file", "tree/main.c", "-h", "-out", out.path().string()});
    EXPECT_EQ(counted.exitCode, 0);
    EXPECT_EQ(counted.out.find("Usage"), std::string::npos);
}

TEST(ConsoleRunTest, NothingToCountPrintsNothing) {
    // The early stops happen before the banner: the exit code is the only report.
    const test::ProcessResult run = tallyweaver({"-quiet"});
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_EQ(run.out, "");
}

TEST(ConsoleRunTest, OutputFilesThatCannotBeCreatedGiveCodeSix) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only directories";
    }
    test::TempDir out;
    fs::permissions(out.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const test::ProcessResult run =
        tallyweaver({"-file", "tree/main.c", "-out", out.path().string()});
    EXPECT_EQ(run.exitCode, 6) << run.out;
}

TEST(ConsoleRunTest, ListRunWritesTheGoldenSummaryAndReports) {
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        std::map<std::string, std::string> golden;  // output file -> golden file
    } cases[] = {
        {"physical, text list",
         {"-list", "files.txt", "-report", "list", "-quiet"},
         {{"output.txt", "physical_summary.txt"}, {"report.txt", "physical_report_list.txt"}}},
        {"physical, csv without directories",
         {"-list", "files.txt", "-report", "list", "csv", "nodir", "-mode", "p"},
         {{"output.txt", "physical_summary.txt"}, {"report.csv", "physical_report_nodir.csv"}}},
        {"terminating characters, tree",
         {"-list", "files.txt", "-mode", "t", "-report", "tree", "-quiet"},
         {{"output.txt", "terminating_summary.txt"},
          {"report.txt", "terminating_report_tree.txt"}}},
        {"executable, text list",
         {"-list", "files.txt", "-mode", "e", "-report", "list", "-quiet", "-threads", "1"},
         {{"output.txt", "executable_summary.txt"},
          {"report.txt", "executable_report_list.txt"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir out;
        std::vector<std::string> arguments = c.arguments;
        arguments.push_back("-out");
        arguments.push_back(out.path().string());
        const test::ProcessResult run = tallyweaver(arguments);
        ASSERT_EQ(run.exitCode, 0) << run.out;
        const auto written = outputFiles(out.path());
        ASSERT_EQ(written.size(), c.golden.size());
        for (const auto& [file, golden] : c.golden) {
            ASSERT_TRUE(written.count(file)) << file;
            test::expectMatchesGolden(written.at(file),
                                      kConsoleFixtures + "/expected/" + golden);
        }
    }
}

TEST(ConsoleRunTest, ProgressLinesNameEachFileInTreeOrderOnce) {
    test::TempDir out;
    const test::ProcessResult run =
        tallyweaver({"-list", "files.txt", "-out", out.path().string()});
    ASSERT_EQ(run.exitCode, 0) << run.out;
    // The tree lists a folder's own files in the order they came, then its subfolders; the
    // second spelling of main.c is the same record.
    EXPECT_EQ(run.out,
              "Working.  Please wait...\n"
              "Parsing:\ttree\\main.c\n"
              "Parsing:\ttree\\broken.c\n"
              "Parsing:\ttree\\shape.java\n"
              "Parsing:\ttree\\app.rc\n"
              "Parsing:\ttree\\util\\util.h\n"
              "Parsing:\ttree\\util\\util.c\n");
}

}  // namespace
}  // namespace tw
