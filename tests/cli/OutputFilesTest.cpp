// The console run's output files: names claimed without overwriting anything, and no file that
// is empty, partial or truncated under its name, whatever stops the run.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <future>
#include <set>
#include <thread>

#include "project/ProjectFile.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "support/TinyFileSystem.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

const std::string kConsoleFixtures = std::string(TW_FIXTURES_DIR) + "/console";

std::set<std::string> namesIn(const fs::path& directory) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

/// "_DD_MM_YYYY_hh_mm_ss" of the local time `seconds` from now.
std::string stampIn(int seconds) {
    const std::time_t when = std::time(nullptr) + seconds;
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "_%02d_%02d_%04d_%02d_%02d_%02d", local.tm_mday,
                  local.tm_mon + 1, local.tm_year + 1900, local.tm_hour, local.tm_min,
                  local.tm_sec);
    return stamp;
}

TEST(OutputFilesTest, ARunNeverOverwritesTheFilesOfAnEarlierOneOfTheSameSecond) {
    test::TempDir out;
    // Files of other runs for every second this run could start in.
    std::vector<std::string> stamps;
    for (int second = 0; second < 10; ++second) {
        stamps.push_back(stampIn(second));
        out.write("output" + stamps.back() + ".txt", "earlier summary");
        out.write("report" + stamps.back() + ".csv", "earlier report");
    }
    const test::ProcessResult run = test::runProgram(
        TW_EXECUTABLE, {"-file", "tree/main.c", "-report", "list", "-out", out.path().string()},
        kConsoleFixtures);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const std::string& stamp : stamps) {
        EXPECT_EQ(test::readBytes(out.pathOf("output" + stamp + ".txt")), "earlier summary");
    }
    // Its own two files share the first free suffix, whatever report format took a name.
    std::size_t ownFiles = 0;
    for (const std::string& name : namesIn(out.path())) {
        if (name.find("_2.txt") != std::string::npos) {
            ++ownFiles;
            EXPECT_NE(test::readBytes(out.pathOf(name))
                          .find(name.starts_with("output") ? "Counted:\t1\r\n" : "tree/main.c"),
                      std::string::npos)
                << name;
        }
    }
    EXPECT_EQ(ownFiles, 2u);
    EXPECT_EQ(namesIn(out.path()).size(), 22u);
}

TEST(OutputFilesTest, TwoRunsStartedInOneSecondKeepAllFourFiles) {
    test::TempDir out;
    const auto start = [&out](std::vector<std::string> files) {
        std::vector<std::string> arguments = {"-report",           "list", "-quiet", "-out",
                                              out.path().string(), "-file"};
        arguments.insert(arguments.end(), files.begin(), files.end());
        return std::async(std::launch::async, [arguments] {
            return test::runProgram(TW_EXECUTABLE, arguments, kConsoleFixtures);
        });
    };
    // Started together they share a second almost always; a pair that straddles one is tried
    // again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        for (const auto& entry : fs::directory_iterator(out.path())) {
            fs::remove(entry.path());
        }
        auto one = start({"tree/main.c"});
        auto two = start({"tree/util/util.c", "tree/util/util.h"});
        ASSERT_EQ(one.get().exitCode, 0);
        ASSERT_EQ(two.get().exitCode, 0);
        const std::set<std::string> names = namesIn(out.path());
        ASSERT_EQ(names.size(), 4u);
        std::set<std::string> stamps;
        for (const std::string& name : names) {
            stamps.insert(name.substr(6, 20));
        }
        if (stamps.size() != 1) {
            continue;
        }
        const std::string stamp = *stamps.begin();
        // Each summary goes with the report of its own run: one file or two.
        for (const std::string suffix : {"", "_2"}) {
            const std::string summary =
                test::readBytes(out.pathOf("output" + stamp + suffix + ".txt"));
            const std::string report =
                test::readBytes(out.pathOf("report" + stamp + suffix + ".txt"));
            ASSERT_FALSE(summary.empty());
            const bool single = summary.find("Counted:\t1\r\n") != std::string::npos;
            EXPECT_NE(summary.find(single ? "Counted:\t1\r\n" : "Counted:\t2\r\n"),
                      std::string::npos);
            EXPECT_LT(report.find(single ? "\r\n1 Files:" : "\r\n2 Files:"), 100u) << report;
        }
        return;
    }
    GTEST_SKIP() << "the two runs never started in the same second";
}

TEST(OutputFilesTest, AFullDiskLeavesNoFileBehind) {
    test::TinyFileSystem disk(16);
    if (!disk.mounted()) {
        GTEST_SKIP() << "this machine does not let the tests mount a file system";
    }
    test::TempDir lists;
    std::string names;
    for (int i = 0; i < 400; ++i) {
        names += "missing/a_file_that_is_not_there_" + std::to_string(i) + ".c\n";
    }
    const std::string list = lists.write("list.txt", names);
    const test::ProcessResult run = test::runProgram(
        TW_EXECUTABLE, {"-list", list, "-report", "list", "-quiet", "-out", disk.path()},
        kConsoleFixtures);
    EXPECT_EQ(run.exitCode, 6);
    EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
    EXPECT_TRUE(namesIn(disk.path()).empty());
}

TEST(OutputFilesTest, AnUnwritableOutputDirectoryStopsTheRunBeforeCounting) {
    test::TinyFileSystem readOnly(16, true);
    if (!readOnly.mounted()) {
        GTEST_SKIP() << "this machine does not let the tests mount a file system";
    }
    const test::ProcessResult run = test::runProgram(
        TW_EXECUTABLE, {"-file", "tree/main.c", "-out", readOnly.path()}, kConsoleFixtures);
    EXPECT_EQ(run.exitCode, 6);
    EXPECT_EQ(run.err, "tallyweaver: cannot write into the output directory '" + readOnly.path() +
                           "': Read-only file system\n");
    EXPECT_EQ(run.out.find("Parsing:"), std::string::npos);
}

TEST(OutputFilesTest, ARunKilledWhileNamingItsFilesLeavesNoSummaryWithoutItsReport) {
    const std::string strace = "/usr/bin/strace";
    ASSERT_EQ(::access(strace.c_str(), X_OK), 0) << "strace is needed (scripts/bootstrap.sh)";
    // Each file gets its name by one link; the run is killed as it makes the first, the
    // second or (none) the third.
    for (const int kill : {1, 2, 3}) {
        SCOPED_TRACE(kill);
        test::TempDir out;
        const test::ProcessResult run = test::runProgram(
            strace,
            {"-f", "-qq", "-o", "/dev/null", "-e", "trace=linkat,link", "-e",
             "inject=linkat,link:error=EIO:signal=SIGKILL:when=" + std::to_string(kill),
             TW_EXECUTABLE, "-file", "tree/main.c", "-report", "list", "-quiet", "-out",
             out.path().string()},
            kConsoleFixtures);
        std::size_t summaries = 0;
        std::size_t reports = 0;
        for (const std::string& name : namesIn(out.path())) {
            summaries += name.starts_with("output_") ? 1 : 0;
            reports += name.starts_with("report_") ? 1 : 0;
        }
        EXPECT_LE(summaries, reports);
        EXPECT_EQ(summaries, kill == 3 ? 1u : 0u) << run.err;
    }
}

TEST(OutputFilesTest, AMissingOutputDirectoryIsMadeWithItsParents) {
    test::TempDir out;
    const std::string deep = out.pathOf("one/two/three");
    const test::ProcessResult run = test::runProgram(
        TW_EXECUTABLE, {"-file", "tree/main.c", "-out", deep, "-quiet"}, kConsoleFixtures);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "tallyweaver: created the output directory '" + deep + "'\n");
    EXPECT_EQ(namesIn(deep).size(), 1u);

    // One that exists is used as it is, without a word.
    const test::ProcessResult again = test::runProgram(
        TW_EXECUTABLE, {"-file", "tree/main.c", "-out", deep + "/", "-quiet"}, kConsoleFixtures);
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.err, "");
}

TEST(OutputFilesTest, AnOutputDirectoryThatCannotBeMadeStopsTheRunWithItsReason) {
    test::TinyFileSystem readOnly(16, true);
    if (!readOnly.mounted()) {
        GTEST_SKIP() << "this machine does not let the tests mount a file system";
    }
    const std::string wanted = readOnly.pathOf("results/new");
    const test::ProcessResult run =
        test::runProgram(TW_EXECUTABLE, {"-file", "tree/main.c", "-out", wanted}, kConsoleFixtures);
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_EQ(run.err, "tallyweaver: cannot create the output directory '" + wanted +
                           "': Read-only file system\n");
    EXPECT_EQ(run.out, "");
}

/// Starts the program with `arguments` in `directory`, its standard output thrown away.
pid_t startProgram(std::vector<std::string> arguments, const std::string& directory) {
    arguments.insert(arguments.begin(), TW_EXECUTABLE);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, TW_EXECUTABLE, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : -1;
}

TEST(OutputFilesTest, ASaveKilledAtAnyMomentLeavesNoTemporaryFile) {
    test::TempDir work;
    std::string list;
    for (int i = 0; i < 5000; ++i) {
        list += "missing/some/folder/file_" + std::to_string(i) + ".cpp\n";
    }
    work.write("list.txt", list);
    fs::create_directory(work.path() / "out");
    const std::vector<std::string> arguments = {"-list", "list.txt", "-quiet",     "-out",
                                                "out",   "-save",    "project.tyx"};
    // How long a whole run takes, so that the kills fall anywhere in it, the save included.
    const auto start = std::chrono::steady_clock::now();
    const pid_t whole = startProgram(arguments, work.path().string());
    ASSERT_GT(whole, 0);
    ::waitpid(whole, nullptr, 0);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(
                          std::chrono::steady_clock::now() - start)
                          .count();
    ASSERT_TRUE(fs::exists(work.path() / "project.tyx"));

    const char* wanted = std::getenv("TW_SAVE_KILLS");
    const int kills = wanted != nullptr ? std::atoi(wanted) : 20;
    std::srand(20261210);
    int killedWhileRunning = 0;
    for (int i = 0; i < kills; ++i) {
        const pid_t pid = startProgram(arguments, work.path().string());
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(std::rand() % (span + 1)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        killedWhileRunning += WIFSIGNALED(status) ? 1 : 0;
    }
    std::size_t temporaries = 0;
    for (const fs::path& folder : {work.path(), work.path() / "out"}) {
        for (const std::string& name : namesIn(folder)) {
            temporaries += name.starts_with(".tw-") ? 1 : 0;
        }
    }
    RecordProperty("kills", killedWhileRunning);
    EXPECT_EQ(temporaries, 0u) << "after " << killedWhileRunning << " kills";
    // The project file is always whole: the last complete save or an earlier one.
    ProjectFolder root;
    CountSettings settings;
    EXPECT_EQ(
        ProjectFile::load(test::readBytes(work.path() / "project.tyx"), root, settings).status,
        ProjectLoadStatus::Loaded);
    EXPECT_EQ(root.TotalRecords(), 5000u);
}

TEST(OutputFilesTest, AKilledRunLeavesNoFileBehind) {
    test::TempDir work;
    // Long enough to count that the kill comes while it runs.
    std::string big;
    for (int i = 0; i < 400000; ++i) {
        big += "int f" + std::to_string(i) + "(int a) { return a * 2 + g(a, 3); } // twice\n";
    }
    work.write("big.cpp", big);
    fs::create_directory(work.path() / "out");
    const std::string outDir = (work.path() / "out").string();
    const pid_t pid = startProgram(
        {"-file", "big.cpp", "-mode", "e", "-report", "list", "-quiet", "-out", outDir},
        work.path().string());
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFSIGNALED(status)) {
        GTEST_SKIP() << "the run ended before it could be killed";
    }
    EXPECT_TRUE(namesIn(outDir).empty());
}

}  // namespace
}  // namespace tw
