#include <gtest/gtest.h>

#include <string>

#include "report/ChangeReports.h"

namespace tw {
namespace {

VersionDiff sampleDiff(CountMode mode) {
    VersionDiff diff;
    diff.oldLabel = "v1";
    diff.newLabel = "v2";
    diff.mode = mode;
    FileDiff changed;
    changed.path = "src/a, \"b\".c";
    changed.change = FileChange::Modified;
    changed.code = {2, 1, 3, 0};
    changed.comment = {0, 0, 0, 1};
    changed.blank = {1, 0, 0, 0};
    changed.oldCount = 4;
    changed.newCount = 6;
    FileDiff failed;
    failed.path = "src/b\n.c";
    failed.change = FileChange::Added;
    failed.failure = "src/b\n.c: Failed to open file.";
    diff.files = {changed, failed};
    diff.totals = changed;
    diff.totals.path.clear();
    return diff;
}

TEST(ChangeReportsTest, DiffReportsInEachForm) {
    const VersionDiff diff = sampleDiff(CountMode::TerminatingCharacters);
    const std::string table =
        "          same        modified    added       removed     \r\n"
        "code      2           1           3           0           \r\n"
        "comment   0           0           0           1           \r\n"
        "blank     1           0           0           0           \r\n"
        "Terminating Characters: 4 -> 6\r\n";
    EXPECT_EQ(diffTotalsTable(diff), table);
    EXPECT_EQ(diffText(diff), "Old: v1\r\nNew: v2\r\n\r\nsrc/a, \"b\".c (modified)\r\n" + table +
                                  "\r\nsrc/b?.c (added)\r\nNot compared: src/b?.c: Failed to "
                                  "open file.\r\n\r\nTotals\r\n" +
                                  table);
    EXPECT_EQ(diffCsv(diff),
              "Path,Status,code same,code modified,code added,code removed,comment same,"
              "comment modified,comment added,comment removed,blank same,blank modified,blank "
              "added,blank removed,Old Terminating Characters,New Terminating Characters\r\n"
              "\"src/a, \"\"b\"\".c\",modified,2,1,3,0,0,0,0,1,1,0,0,0,4,6\r\n"
              "src/b?.c,failed,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n"
              "Total,,2,1,3,0,0,0,0,1,1,0,0,0,4,6\r\n");
    const std::string changes =
        "\"code\": {\"same\": 2, \"modified\": 1, \"added\": 3, \"removed\": 0}, \"comment\": "
        "{\"same\": 0, \"modified\": 0, \"added\": 0, \"removed\": 1}, \"blank\": {\"same\": 1, "
        "\"modified\": 0, \"added\": 0, \"removed\": 0}, \"oldCount\": 4, \"newCount\": 6";
    EXPECT_EQ(diffJson(diff),
              "{\n  \"old\": \"v1\",\n  \"new\": \"v2\",\n  \"mode\": \"Terminating "
              "Characters\",\n  \"files\": [\n"
              "    {\"path\": \"src/a, \\\"b\\\".c\", \"status\": \"modified\", " +
                  changes +
                  "},\n    {\"path\": \"src/b\\n.c\", \"status\": \"added\", \"code\": "
                  "{\"same\": 0, \"modified\": 0, \"added\": 0, \"removed\": 0}, \"comment\": "
                  "{\"same\": 0, \"modified\": 0, \"added\": 0, \"removed\": 0}, \"blank\": "
                  "{\"same\": 0, \"modified\": 0, \"added\": 0, \"removed\": 0}, \"oldCount\": "
                  "0, \"newCount\": 0, \"failure\": \"src/b\\n.c: Failed to open file.\"}\n  ],"
                  "\n  \"totals\": {" +
                  changes + "}\n}\n");
    // The physical mode has no count of its own on each side.
    EXPECT_EQ(diffCsv(sampleDiff(CountMode::Physical)).find("Old"), std::string::npos);
    EXPECT_EQ(diffJson(sampleDiff(CountMode::Physical)).find("oldCount"), std::string::npos);
}

TEST(ChangeReportsTest, HistoryReportsARowPerRevision) {
    HistoryRow row;
    row.version.label = "HEAD~1";
    row.version.isCommit = true;
    row.version.commit.fill(0xab);
    row.version.time = 1700000000;
    row.version.offsetMinutes = -90;
    row.files = 3;
    FileCount record(u"a.c", "", FileCount::Measure::AtFirstCount);
    record.code = 5;
    record.blank = 2;
    record.commentOwnLine = 1;
    row.values = CountValues::of(record);
    const std::string id = "abababababababababababababababababababab";
    EXPECT_EQ(historyCsv({row}, CountMode::Physical),
              "Revision,Commit,Date,Files,Code,Comment/Own Line,Comment/Code Line,"
              "Comment/Banner,Comment/Blank,(Total Comment),Blank,(Total),Comment Words\r\n"
              "HEAD~1," +
                  id + ",2023-11-14T20:43:20-01:30,3,5,1,0,0,0,1,2,8,0\r\n");
    EXPECT_NE(historyCsv({row}, CountMode::Executable).find(",Declaration,"), std::string::npos);
    const std::string json = historyJson({row}, CountMode::Physical);
    const std::string start =
        "{\n  \"mode\": \"Physical\",\n  \"revisions\": [\n    {\"revision\": "
        "\"HEAD~1\", \"commit\": \"" +
        id + "\", ";
    EXPECT_EQ(json.substr(0, start.size()), start);
    EXPECT_NE(json.find("\"date\": \"2023-11-14T20:43:20-01:30\", \"files\": 3, \"failed\": 0, "
                        "\"code\": 5"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"total\": 8"), std::string::npos) << json;
    EXPECT_EQ(historyJson({}, CountMode::Physical),
              "{\n  \"mode\": \"Physical\",\n  \"revisions\": []\n}\n");
}

}  // namespace
}  // namespace tw
