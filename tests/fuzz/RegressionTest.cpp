// Every input a fuzz target once failed on, run again through the same entry in the ordinary
// build (and under the sanitizers in CI).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "FuzzEntries.h"

namespace tw {
namespace {

void runAll(const char* target, void (*entry)(const std::uint8_t*, std::size_t)) {
    const std::filesystem::path root = std::filesystem::path(TW_FUZZ_DIR);
    for (const char* kind : {"regressions", "corpus"}) {
        const std::filesystem::path directory = root / kind / target;
        if (!std::filesystem::exists(directory)) {
            continue;
        }
        for (const auto& entry_ : std::filesystem::directory_iterator(directory)) {
            std::ifstream in(entry_.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
            SCOPED_TRACE(entry_.path().string());
            entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        }
    }
}

TEST(FuzzRegressionTest, CountFileInputs) {
    runAll("count", fuzz::countFile);
}
TEST(FuzzRegressionTest, ProjectFileInputs) {
    runAll("project", fuzz::loadProject);
}
TEST(FuzzRegressionTest, CommandLineInputs) {
    runAll("commandline", fuzz::parseCommandLine);
}
TEST(FuzzRegressionTest, ListFileInputs) {
    runAll("listfile", fuzz::readListFile);
}
TEST(FuzzRegressionTest, PatternInputs) {
    runAll("pattern", fuzz::matchPattern);
}

}  // namespace
}  // namespace tw
