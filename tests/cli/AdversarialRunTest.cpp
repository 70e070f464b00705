// Hostile files through the whole console run: every one ends counted or listed with one of
// the program's failure texts, in every mode, and the run itself completes.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/AdversarialInputs.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

/// The failure texts a count may end with, by the stage that failed.
bool isKnownFailure(const std::string& remarks) {
    for (const char* prefix : {"Failed to open file.", "Failed to read source code from file: ",
                               "Physical pre-parser failure: ", "Physical parser failure: ",
                               "Logical pre-parser failure: ", "Logical parser failure: "}) {
        if (remarks.rfind(prefix, 0) == 0) {
            return true;
        }
    }
    return false;
}

/// The number after `label` in the summary.
int summaryNumber(const std::string& summary, const std::string& label) {
    const std::size_t at = summary.find(label);
    return at == std::string::npos ? -1 : std::stoi(summary.substr(at + label.size()));
}

TEST(AdversarialRunTest, HostileFilesCountOrFailWithTheirMessages) {
    test::TempDir dir;
    const auto inputs = test::adversarialInputs();
    for (const auto& input : inputs) {
        dir.write("input/" + input.name, input.bytes);
    }
    for (const std::string mode : {"p", "t", "e", "c"}) {
        SCOPED_TRACE("mode " + mode);
        const fs::path out = dir.path() / ("out" + mode);
        fs::create_directories(out);
        const test::ProcessResult run =
            test::runProgram(TW_EXECUTABLE,
                             {"-dir", "input", "-ext", ".c", ".cpp", ".h", ".java", ".rc", "-mode",
                              mode, "-quiet", "-out", out.string()},
                             dir.path().string());
        ASSERT_EQ(run.exitCode, 0) << run.out;
        std::string summary;
        for (const auto& entry : fs::directory_iterator(out)) {
            summary = test::readBytes(entry.path());
        }
        const int counted = summaryNumber(summary, "Counted:\t");
        const int uncounted = summaryNumber(summary, "Uncounted:\t");
        EXPECT_EQ(counted + uncounted, static_cast<int>(inputs.size())) << summary;
        // Each failed file is listed as its path, then a tab and its remarks.
        int listed = 0;
        for (std::size_t at = summary.find("\r\n\t"); at != std::string::npos;
             at = summary.find("\r\n\t", at + 3)) {
            const std::size_t end = summary.find("\r\n", at + 3);
            const std::string remarks = summary.substr(at + 3, end - at - 3);
            EXPECT_TRUE(isKnownFailure(remarks)) << remarks;
            ++listed;
        }
        EXPECT_EQ(listed, uncounted);
    }
}

}  // namespace
}  // namespace tw
