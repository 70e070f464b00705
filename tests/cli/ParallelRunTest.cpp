// Counting on several threads must not change a single byte of what a run produces.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "support/Process.h"
#include "support/TempDir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

/// A tree of a few hundred small files of every kind, with a few that fail to count.
void writeTree(const test::TempDir& dir) {
    const char* kinds[] = {".c", ".cpp", ".h", ".java", ".rc"};
    for (int i = 0; i < 300; ++i) {
        const std::string folder = "src/part" + std::to_string(i % 7) + (i % 3 ? "/deep/" : "/");
        const std::string name = folder + "file" + std::to_string(i) + kinds[i % 5];
        std::string text = "// file " + std::to_string(i) + "\n";
        for (int line = 0; line < i % 40; ++line) {
            text += "int v" + std::to_string(line) + " = f(" + std::to_string(line) +
                    ") + 1; /* note */\n\n";
        }
        if (i % 97 == 13) {
            text += "/* never closed\n";
        }
        dir.write(name, text);
    }
}

struct RunOutput {
    int exitCode = -1;
    std::string progress;
    std::map<std::string, std::string> files;  // name without its time stamp -> bytes
};

RunOutput run(const test::TempDir& dir, const std::string& threads, const std::string& mode) {
    const fs::path out = dir.path() / ("out" + threads + mode);
    fs::create_directories(out);
    RunOutput result;
    const test::ProcessResult process =
        test::runProgram(TW_EXECUTABLE,
                         {"-dir", "src", "-ext", ".c", ".cpp", ".h", ".java", ".rc", "-mode", mode,
                          "-report", "list", "-threads", threads, "-out", out.string()},
                         dir.path().string());
    result.exitCode = process.exitCode;
    // The names of the files written differ from run to run; what comes before them may not.
    result.progress = process.out.substr(0, process.out.find("Quick summary written to"));
    for (const auto& entry : fs::directory_iterator(out)) {
        std::string name = entry.path().filename().string();
        name.erase(name.find('_'), 20);
        result.files[name] = test::readBytes(entry.path());
    }
    return result;
}

TEST(ParallelRunTest, EveryThreadCountGivesTheSameBytes) {
    test::TempDir dir;
    writeTree(dir);
    for (const std::string mode : {"p", "e"}) {
        SCOPED_TRACE("mode " + mode);
        const RunOutput one = run(dir, "1", mode);
        ASSERT_EQ(one.exitCode, 0) << one.progress;
        ASSERT_EQ(one.files.size(), 2u);
        EXPECT_NE(one.files.at("output.txt").find("failed to count"), std::string::npos);
        for (const std::string threads : {"2", "5", "0"}) {
            SCOPED_TRACE("threads " + threads);
            const RunOutput many = run(dir, threads, mode);
            EXPECT_EQ(many.exitCode, one.exitCode);
            EXPECT_EQ(many.progress, one.progress);
            EXPECT_EQ(many.files, one.files);
        }
    }
}

}  // namespace
}  // namespace tw
