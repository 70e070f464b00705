// Paths are shown as the user gave them: case and '/' kept, relative stays relative, absolute
// stays absolute, and files whose names differ only in case are two files.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/Process.h"
#include "support/ProgressLines.h"
#include "support/TempDir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

TEST(PathFormsTest, EachFormIsShownAsGivenAndCounted) {
    test::TempDir dir;
    for (const char* name : {"src/Foo.c", "src/foo.c", "My Dir/a b.c", "caf\xE9.c", "a.c"}) {
        dir.write(name, "int x; /* one */\n");
    }
    fs::create_directory(dir.path() / "out");
    const std::string absolute = dir.path().string();
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        std::vector<std::string> shown;
    } cases[] = {
        {"bare name", {"-file", "a.c"}, {"a.c"}},
        {"relative", {"-file", "src/Foo.c"}, {"src/Foo.c"}},
        {"dot first", {"-file", "./src/Foo.c"}, {"./src/Foo.c"}},
        {"absolute", {"-file", absolute + "/src/Foo.c"}, {absolute + "/src/Foo.c"}},
        {"case twins", {"-file", "src/foo.c", "src/Foo.c"}, {"src/foo.c", "src/Foo.c"}},
        {"scan of a relative directory, name order",
         {"-dir", "src", "-ext", "c"},
         {"src/Foo.c", "src/foo.c"}},
        {"scan given with its '/'",
         {"-dir", "./src/", "-ext", "c"},
         {"./src/Foo.c", "./src/foo.c"}},
        {"scan of an absolute directory",
         {"-dir", absolute + "/src", "-ext", "c"},
         {absolute + "/src/Foo.c", absolute + "/src/foo.c"}},
        {"spaces", {"-file", "My Dir/a b.c"}, {"My Dir/a b.c"}},
        {"not UTF-8", {"-file", "caf\xE9.c"}, {"caf\xEF\xBF\xBD.c"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-out", "out", "-report", "list"});
        const test::ProcessResult run = test::runProgram(TW_EXECUTABLE, arguments, absolute);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(test::parsedPaths(run.out), c.shown);
        EXPECT_NE(run.out.find("Counted:\t" + std::to_string(c.shown.size()) + "\n"),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find("Uncounted:\t0\n"), std::string::npos) << run.out;
        // The report's rows name the files the same way.
        for (const std::string& name : c.shown) {
            bool inReport = false;
            for (const auto& entry : fs::directory_iterator(dir.path() / "out")) {
                inReport = inReport || (entry.path().filename().string().starts_with("report") &&
                                        test::readBytes(entry.path()).find("\r\n" + name + " ") !=
                                            std::string::npos);
            }
            EXPECT_TRUE(inReport) << name;
        }
    }
}

}  // namespace
}  // namespace tw
