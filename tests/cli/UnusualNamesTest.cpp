// Paths with spaces, quotes, '%', non-ASCII letters and bytes that are not UTF-8 reach the files
// they name, whether given as values, found by a scan or read from a list file.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/Process.h"
#include "support/TempDir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

TEST(UnusualNamesTest, EveryNamedFileIsCounted) {
    test::TempDir dir;
    const std::vector<std::string> names = {"with space.c",    "100%done.c", "it's.h",
                                            "caf\xC3\xA9.cpp", "raw\xFF.c",  "quote\".c"};
    for (const std::string& name : names) {
        dir.write("src/" + name, "int x; // one\n");
    }
    dir.write("list.txt", "\"src/with space.c\"\r\nsrc/100%done.c\r\n'src/caf\xC3\xA9.cpp'\r\n");
    fs::create_directories(dir.path() / "out");
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        int counted;
    } cases[] = {
        {"scan", {"-dir", "src", "-ext", "c", "cpp", "h"}, 6},
        {"values", {"-file", "src/it's.h", "src/raw\xFF.c", "src/quote\".c"}, 3},
        {"list file", {"-list", "list.txt"}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(dir.path() / "out")) {
            fs::remove(entry.path());
        }
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-out", "out"});
        const test::ProcessResult run =
            test::runProgram(TW_EXECUTABLE, arguments, dir.path().string());
        ASSERT_EQ(run.exitCode, 0) << run.out;
        std::string summary;
        for (const auto& entry : fs::directory_iterator(dir.path() / "out")) {
            summary = test::readBytes(entry.path());
        }
        EXPECT_FALSE(summary.empty());
        EXPECT_NE(summary.find("Counted:\t" + std::to_string(c.counted) + "\r\n"),
                  std::string::npos)
            << summary;
        EXPECT_NE(summary.find("Uncounted:\t0\r\n"), std::string::npos) << summary;
    }
    // Progress lines print names as they are; a byte that is not UTF-8 shows as U+FFFD.
    const test::ProcessResult run =
        test::runProgram(TW_EXECUTABLE, {"-file", "src/100%done.c", "src/raw\xFF.c", "-out", "out"},
                         dir.path().string());
    EXPECT_NE(run.out.find("Parsing:\tsrc/100%done.c\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Parsing:\tsrc/raw\xEF\xBF\xBD.c\n"), std::string::npos) << run.out;
}

TEST(UnusualNamesTest, ControlCharactersInNamesShowAsQuestionMarks) {
    test::TempDir dir;
    dir.write("src/line\nfeed.c", "int x;\n");
    dir.write("src/tab\there/broken.c", "/* never closed\n");
    // Next line (U+0085) and the line separator (U+2028) break lines for some readers too.
    dir.write("src/next\xC2\x85line.c", "int x;\n");
    dir.write("src/line\xE2\x80\xA8sep.c", "int x;\n");
    fs::create_directories(dir.path() / "out");
    const struct {
        const char* name;
        std::vector<std::string> report;
        std::string extension;
        std::vector<std::string> expected;  // in the report file
    } cases[] = {
        {"text list",
         {"list"},
         ".txt",
         {"\r\nsrc/line?feed.c ", "\r\n[FAILED] src/tab?here/broken.c ", "\r\nsrc/next?line.c ",
          "\r\nsrc/line?sep.c "}},
        {"tree", {"tree"}, ".txt", {"\r\n    tab?here/\r\n", "    line?feed.c "}},
        // Inside quotes a name keeps its bytes, its line feed too.
        {"csv quotes them", {"list", "csv"}, ".csv", {"\r\n\"src/line\nfeed.c\",1,"}},
        {"json escapes them",
         {"json"},
         ".json",
         {"\"src/line\\nfeed.c\"", "\"src/tab\\there/broken.c\""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(dir.path() / "out")) {
            fs::remove(entry.path());
        }
        std::vector<std::string> arguments = {"-dir", "src", "-ext", "c", "-out", "out", "-report"};
        arguments.insert(arguments.end(), c.report.begin(), c.report.end());
        const test::ProcessResult run =
            test::runProgram(TW_EXECUTABLE, arguments, dir.path().string());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        for (const char* shown : {"src/line?feed.c\n", "src/next?line.c\n", "src/line?sep.c\n"}) {
            EXPECT_NE(run.out.find(std::string("Parsing:\t") + shown), std::string::npos)
                << run.out;
        }
        EXPECT_NE(run.out.find("\nsrc/tab?here/broken.c\n\tPhysical"), std::string::npos)
            << run.out;
        for (const auto& entry : fs::directory_iterator(dir.path() / "out")) {
            const std::string bytes = test::readBytes(entry.path());
            if (entry.path().extension() == c.extension &&
                entry.path().filename().string().starts_with("report")) {
                for (const std::string& expected : c.expected) {
                    EXPECT_NE(bytes.find(expected), std::string::npos) << expected << "\n" << bytes;
                }
            } else {
                EXPECT_NE(bytes.find("\r\nsrc/tab?here/broken.c\r\n"), std::string::npos) << bytes;
            }
        }
    }
}

}  // namespace
}  // namespace tw
