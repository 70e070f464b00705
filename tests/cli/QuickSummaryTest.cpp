#include "cli/QuickSummary.h"

#include <gtest/gtest.h>

#include "support/U16.h"

namespace tw {
namespace {

TEST(QuickSummaryTest, PercentagesRoundThroughSinglePrecision) {
    EXPECT_EQ(percentOf(0, 0), 0.0f);
    EXPECT_EQ(percentOf(5, 0), 0.0f);
    EXPECT_EQ(percentOf(1, 3), static_cast<float>(100.0L / 3.0L));
    EXPECT_EQ(percentOf(4294967295u, 4294967295u), 100.0f);
}

TEST(QuickSummaryTest, ExecutableModeListsDeclarationsAndDirectivesAndFailures) {
    ProjectFolder root;
    FileCount* a = root.AddFilePath(u"src/a.c", "/nonexistent/a.c");
    FileCount* b = root.AddFilePath(u"src/b.c", "/nonexistent/b.c");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    a->counted = true;
    a->code = 6;
    a->declaration = 2;
    a->directive = 1;
    a->commentOwnLine = 1;
    a->blank = 2;
    a->commentWords = 7;
    FailedCountTable failures = {{u"src\\b.c", u"Failed to open file."}};
    EXPECT_EQ(test::u8(buildQuickSummary(root, CountMode::Executable, failures)),
              "Tallyweaver Results Quick Summary\n"
              "---------------------------------\n\n"
              "Count Mode:\tLogical/Executable Statements\n\n"
              "Counted:\t1\nUncounted:\t1\nFailed:\t\t0\n\n"
              "Executable Statements:\t6 (50.0%)\n"
              "Declarations:\t\t2 (16.7%)\n"
              "Compiler Directives:\t1 (8.3%)\n"
              "Comment/Own Line:\t1 (8.3%)\n"
              "Comment/Code Line:\t0 (0.0%)\n"
              "Comment/Banner:\t\t0 (0.0%)\n"
              "Comment/Blank:\t\t0 (0.0%)\n"
              "(Total Comment):\t1 (8.3%)\n"
              "Blank:\t\t\t2 (16.7%)\n"
              "(Total):\t\t12\n"
              "Comment Words:\t\t7\n\n"
              "Tallyweaver failed to count the following files:\n"
              "------------------------------------------------\n\n"
              "src\\b.c\n\tFailed to open file.\n\n");
}

TEST(QuickSummaryTest, OtherModesHideDeclarationsButCountThemInTheTotal) {
    ProjectFolder root;
    FileCount* a = root.AddFilePath(u"a.c", "/nonexistent/a.c");
    a->counted = true;
    a->code = 1;
    a->declaration = 1;
    const std::string summary = test::u8(buildQuickSummary(root, CountMode::Physical, {}));
    EXPECT_NE(summary.find("Count Mode:\tPhysical Lines\n\n"), std::string::npos);
    EXPECT_NE(summary.find("Physical:\t1 (50.0%)\n"), std::string::npos);
    EXPECT_EQ(summary.find("Declarations"), std::string::npos);
    EXPECT_NE(summary.find("(Total):\t\t2\n"), std::string::npos);
    EXPECT_EQ(summary.find("failed"), std::string::npos);
}

}  // namespace
}  // namespace tw
