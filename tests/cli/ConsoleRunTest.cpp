// The console run through the real executable: result codes, output files byte for byte,
// progress lines.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>

#include "TallyweaverVersion.h"
#include "support/Golden.h"
#include "support/PeakMemory.h"
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
        if (!entry.is_regular_file()) {
            continue;
        }
        std::string name = entry.path().filename().string();
        const std::size_t stamp = name.find('_');
        if (stamp != std::string::npos && name.size() > stamp + 20) {
            name.erase(stamp, 20);  // _DD_MM_YYYY_hh_mm_ss
        }
        files[name] = test::readBytes(entry.path());
    }
    return files;
}

TEST(ConsoleRunTest, EveryStopSaysWhyOnStandardError) {
    test::TempDir out;
    const std::string outDir = out.path().string();
    // Where a project file must not be saved: a pipe, and a read-only file.
    test::TempDir targets;
    const std::string pipe = targets.pathOf("pipe.tyx");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string readOnly = targets.write("read-only.tyx", "old");
    fs::permissions(readOnly, fs::perms::owner_read);
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        int exitCode;
        std::size_t filesWritten;
        std::string error;  // the line on standard error, after "tallyweaver: "
    } cases[] = {
        {"an -ext without extensions",
         {"-dir", "tree", "-ext", "-out", outDir},
         2,
         0,
         "-ext was given without an extension; name the files to take (for example -ext .c "
         ".h), or leave -ext out for every language the program knows"},
        {"list file missing",
         {"-list", "nothing.txt", "-out", outDir},
         3,
         0,
         "cannot read list file 'nothing.txt': No such file or directory"},
        {"list file is a directory",
         {"-list", "tree", "-out", outDir},
         3,
         0,
         "cannot read list file 'tree': Is a directory"},
        {"list file is a device without end",
         {"-list", "/dev/zero", "-out", outDir},
         3,
         0,
         "cannot read list file '/dev/zero': No such device"},
        {"nothing to count",
         {"-quiet"},
         4,
         0,
         "nothing to count: no file was named, and no directory held a file with the given "
         "extensions"},
        {"output directory is a file",
         {"-file", "tree/main.c", "-out", "files.txt"},
         5,
         0,
         "output directory 'files.txt': Not a directory"},
        {"output directory below a file",
         {"-file", "tree/main.c", "-out", "files.txt/results"},
         5,
         0,
         "output directory 'files.txt/results': Not a directory"},
        {"output directory given empty",
         {"-file", "tree/main.c", "-out", ""},
         5,
         0,
         "the output directory given with -out is empty"},
        {"project file cannot be written",
         {"-file", "tree/main.c", "-out", outDir, "-save", outDir + "/none/p.tyx"},
         6,
         1,
         "cannot save the project '" + outDir + "/none/p.tyx': No such file or directory"},
        {"project file is a pipe",
         {"-file", "tree/main.c", "-out", outDir, "-save", pipe},
         6,
         1,
         "cannot save the project '" + pipe +
             "': it is not a regular file (a device, a pipe or a socket)"},
        {"project file is read-only",
         {"-file", "tree/main.c", "-out", outDir, "-save", readOnly},
         6,
         1,
         "cannot save the project '" + readOnly + "': the file is read-only"},
        {"completed", {"-file", "tree/main.c", "-out", outDir, "-report", "list"}, 0, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(out.path())) {
            fs::remove_all(entry.path());
        }
        const test::ProcessResult run = tallyweaver(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.out;
        EXPECT_EQ(static_cast<std::size_t>(
                      std::distance(fs::directory_iterator(out.path()), fs::directory_iterator())),
                  c.filesWritten);
        EXPECT_EQ(run.err, c.error.empty() ? "" : "tallyweaver: " + c.error + "\n");
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(test::readBytes(readOnly), "old");
}

TEST(ConsoleRunTest, ManyThreadsUnderAnAddressSpaceLimitAreLoweredNotAborted) {
    if (!test::kMemoryIsMeasurable) {
        GTEST_SKIP() << "the sanitizers reserve more address space than any such limit";
    }
    test::TempDir work;
    // Enough files in the Executable mode that every thread matches patterns.
    for (int i = 0; i < 400; ++i) {
        work.write("src/f" + std::to_string(i) + ".c",
                   "int f(int a) { if (a) { return g(a, 2); } return 0; }\n");
    }
    const struct {
        const char* threads;
        std::string warning;
    } cases[] = {
        {"128", "-threads: 128 lowered to "},
        {"9999", "-threads: 9999 lowered to "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.threads);
        const test::ProcessResult run =
            test::runProgram("/usr/bin/prlimit",
                             {"--as=4294967296", TW_EXECUTABLE, "-dir", "src", "-ext", ".c",
                              "-mode", "e", "-threads", c.threads, "-quiet", "-out", "."},
                             work.path().string());
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.err.find("tallyweaver: warning: " + c.warning), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(": the address-space limit leaves room for no more\n"),
                  std::string::npos)
            << run.err;
        EXPECT_NE(run.out.find("Counted:\t400\n"), std::string::npos) << run.out;
    }
    // Without a limit, only the fixed bound applies, and says so.
    const test::ProcessResult run = tallyweaver(
        {"-file", "tree/main.c", "-threads", "300", "-quiet", "-out", work.path().string()});
    EXPECT_EQ(run.err,
              "tallyweaver: warning: -threads: 300 lowered to 256: no run counts on more\n");
}

TEST(ConsoleRunTest, IgnoredValuesAndUnreadableFoldersGiveWarningsAndTheRunGoesOn) {
    test::TempDir out;
    const test::ProcessResult run = tallyweaver(
        {"stray", "-file", "tree/main.c", "-mode", "x", "-report", "foo", "csv", "-threads", "abc",
         "-x", "-dir", "nowhere", "-ext", "c", "-out", out.path().string(), "-quiet"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err,
              "tallyweaver: warning: 'stray' ignored: it comes before any option\n"
              "tallyweaver: warning: -mode: 'x' ignored: not a mode (p, t, e or c)\n"
              "tallyweaver: warning: -report: 'foo' ignored: not a report word (none, list, "
              "tree, json, html, functions; nodir and csv after list)\n"
              "tallyweaver: warning: -report: 'csv' ignored: it applies only after list\n"
              "tallyweaver: warning: -threads: 'abc' ignored: not a number from 0 to 9999\n"
              "tallyweaver: warning: unknown option '-x' ignored\n"
              "tallyweaver: warning: cannot read directory 'nowhere': No such file or "
              "directory; passed over\n");
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
        for (const char* named :
             {"-dir", "-ext", "-file", "-list", "-mode", "-nosub", "-report", "-out", "-quiet",
              "-save", "-threads", "nodir", "csv", "json", "Cyclomatic Complexity", "Exit codes",
              "current directory", "--open FILE"}) {
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

TEST(ConsoleRunTest, EarlyStopsPrintNothingOnStandardOutput) {
    // The early stops happen before the banner: standard error says why, nothing else.
    const test::ProcessResult run = tallyweaver({"-quiet"});
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err, "");
}

TEST(ConsoleRunTest, TheEndOfARunShowsTheSummaryAndTheFilesWritten) {
    test::TempDir out;
    const std::string outDir = out.path().string();
    const test::ProcessResult run = tallyweaver({"-file", "tree/main.c", "-report", "list", "-out",
                                                 outDir, "-save", outDir + "/p.tyx", "-quiet"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::map<std::string, std::string> written = outputFiles(out.path());
    ASSERT_EQ(written.size(), 3u);
    std::string summary = written.at("output.txt");
    summary.erase(std::remove(summary.begin(), summary.end(), '\r'), summary.end());
    const std::regex shape("Working\\.  Please wait\\.\\.\\.\n\n" + std::string("([\\s\\S]*)") +
                           "Quick summary written to " + outDir +
                           "/output(_[0-9_]{19})\\.txt\n"
                           "Report written to " +
                           outDir +
                           "/report\\2\\.txt\n"
                           "Project written to " +
                           outDir + "/p\\.tyx\n");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(run.out, match, shape)) << run.out;
    // The summary as its file holds it, then the table by file type.
    EXPECT_EQ(match[1].str(),
              summary +
                  "File type     Files  Physical  Comment lines  Blank lines  Comment words\n"
                  "------------------------------------------------------------------------\n"
                  "C/C++ Source      1         8              2            1              7\n"
                  "------------------------------------------------------------------------\n"
                  "Total             1         8              2            1              7\n\n");
}

TEST(ConsoleRunTest, DefaultOutputDirectoryIsTheCurrentOne) {
    test::TempDir work;
    fs::copy(kConsoleFixtures + "/tree", work.path() / "tree", fs::copy_options::recursive);
    const test::ProcessResult run =
        test::runProgram(TW_EXECUTABLE, {"-file", "tree/main.c", "-quiet"}, work.path().string());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Quick summary written to output_"), std::string::npos) << run.out;
    EXPECT_EQ(outputFiles(work.path()).count("output.txt"), 1u);
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
         {{"output.txt", "executable_summary.txt"}, {"report.txt", "executable_report_list.txt"}}},
        // The functions report counts in mode c without being told.
        {"cyclomatic complexity, functions",
         {"-list", "files.txt", "-report", "functions", "-quiet"},
         {{"output.txt", "complexity_summary.txt"}, {"report.csv", "functions_report.csv"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir out;
        std::vector<std::string> arguments = c.arguments;
        arguments.push_back("-out");
        arguments.push_back(out.path().string());
        const test::ProcessResult run = tallyweaver(arguments);
        // files.txt names tree/MAIN.C, which does not exist.
        ASSERT_EQ(run.exitCode, 8) << run.err;
        const auto written = outputFiles(out.path());
        ASSERT_EQ(written.size(), c.golden.size());
        for (const auto& [file, golden] : c.golden) {
            ASSERT_TRUE(written.count(file)) << file;
            test::expectMatchesGolden(written.at(file), kConsoleFixtures + "/expected/" + golden);
        }
    }
}

TEST(ConsoleRunTest, MaxComplexityNamesEachFunctionAboveItAfterEveryOutputIsWritten) {
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        int exitCode;
        std::string errors;  // standard error, without the lines of broken.c and MAIN.C
    } cases[] = {
        {"above the limit",
         {"-file", "tree/main.c", "tree/util/util.c", "-max-complexity", "1"},
         7,
         "tree/main.c:4: warning: function 'main' has cyclomatic complexity 2 (limit 1)\n"
         "tallyweaver: 1 function has a cyclomatic complexity above 1; the warnings above name "
         "them\n"},
        {"an explicit mode gives way",
         {"-file", "tree/main.c", "tree/Shape.java", "-mode", "e", "-max-complexity", "0"},
         7,
         "tallyweaver: warning: counting in mode c (Cyclomatic Complexity), not Executable: "
         "-max-complexity needs the functions that only mode c finds\n"
         "tree/main.c:4: warning: function 'main' has cyclomatic complexity 2 (limit 0)\n"
         "tree/Shape.java:8: warning: function 'Shape.toString' has cyclomatic complexity 1 "
         "(limit 0)\n"
         "tallyweaver: 2 functions have a cyclomatic complexity above 0; the warnings above name "
         "them\n"},
        {"at the limit", {"-file", "tree/main.c", "-max-complexity", "2"}, 0, ""},
        // A file that cannot be read decides the code, as it does in every completed run.
        {"an unreadable file too",
         {"-list", "files.txt", "-max-complexity", "1"},
         8,
         "tree/main.c:4: warning: function 'main' has cyclomatic complexity 2 (limit 1)\n"
         "tallyweaver: 1 file could not be read; the lines with 'error:' above name them\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir out;
        const std::string outDir = out.path().string();
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-quiet", "-report", "functions", "-out", outDir,
                                           "-save", outDir + "/p.tyx"});
        const test::ProcessResult run = tallyweaver(arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        std::string errors;
        std::istringstream lines(run.err);
        for (std::string line; std::getline(lines, line);) {
            if (line.find("broken.c") == std::string::npos &&
                line.find("MAIN.C") == std::string::npos) {
                errors += line + "\n";
            }
        }
        EXPECT_EQ(errors, c.errors);
        // Every output is there, complete: the summary, the report and the project.
        const std::map<std::string, std::string> written = outputFiles(out.path());
        ASSERT_EQ(written.size(), 3u);
        EXPECT_NE(written.at("output.txt").find("Cyclomatic Complexity"), std::string::npos);
        EXPECT_TRUE(
            written.at("report.csv").starts_with("File,Function,Line,Lines,Complexity\r\n"));
        EXPECT_NE(written.at("report.csv").find("tree/main.c,main,4,8,2\r\n"), std::string::npos);
        EXPECT_NE(run.out.find("Project written to"), std::string::npos);
        EXPECT_NE(written.at("p.tyx").find("TWFUNC01"), std::string::npos);  // with the functions
    }
}

TEST(ConsoleRunTest, ProgressLinesNameEachFileInTreeOrderOnce) {
    test::TempDir out;
    const test::ProcessResult run =
        tallyweaver({"-list", "files.txt", "-out", out.path().string()});
    ASSERT_EQ(run.exitCode, 8) << run.err;
    // The tree lists a folder's own files in the order they came, then its subfolders; MAIN.C
    // is another file than main.c (one that does not exist).
    EXPECT_EQ(run.out.substr(0, run.out.find("\n\nTallyweaver Results") + 1),
              "Working.  Please wait...\n"
              "Parsing:\ttree/main.c\n"
              "Parsing:\ttree/broken.c\n"
              "Parsing:\ttree/Shape.java\n"
              "Parsing:\ttree/app.rc\n"
              "Parsing:\ttree/MAIN.C\n"
              "Parsing:\ttree/util/util.h\n"
              "Parsing:\ttree/util/util.c\n");
}

}  // namespace
}  // namespace tw

namespace tw {
namespace {

TEST(ConsoleRunTest, TableByFileTypeFollowsTheSummaryOnStandardOutputOnly) {
    const struct {
        const char* mode;
        const char* golden;
    } cases[] = {
        {"p", "mixed_types_physical.txt"},
        {"e", "mixed_types_executable.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        test::TempDir out;
        // -quiet hides the progress, not the table.
        const test::ProcessResult run =
            tallyweaver({"-dir", "mixed", "-mode", c.mode, "-quiet", "-out", out.path().string()},
                        TW_FIXTURES_DIR);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::size_t begin = run.out.find("File type");
        const std::size_t end = run.out.find("\nQuick summary written to");
        ASSERT_NE(begin, std::string::npos) << run.out;
        ASSERT_NE(end, std::string::npos) << run.out;
        const std::size_t summary = run.out.find("Tallyweaver Results Quick Summary");
        EXPECT_LT(summary, begin);
        test::expectMatchesGolden(run.out.substr(begin, end - begin),
                                  kConsoleFixtures + "/expected/" + c.golden);
        // The summary file keeps its own form.
        const auto written = outputFiles(out.path());
        ASSERT_EQ(written.count("output.txt"), 1u);
        EXPECT_EQ(written.at("output.txt").find("File type"), std::string::npos);
    }
}

}  // namespace
}  // namespace tw
