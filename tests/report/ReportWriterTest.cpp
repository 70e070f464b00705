#include "report/ReportWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/TextConversion.h"
#include "report/TextFile.h"
#include "support/Golden.h"
#include "support/U16.h"

namespace tw {
namespace {

using test::u16;
using test::u8;

void setCounts(FileCount& record, std::uint32_t code, std::uint32_t declaration,
               std::uint32_t directive, std::uint32_t ownLine, std::uint32_t codeLine,
               std::uint32_t banner, std::uint32_t commentBlank, std::uint32_t blank,
               std::uint32_t words) {
    record.counted = true;
    record.code = code;
    record.declaration = declaration;
    record.directive = directive;
    record.commentOwnLine = ownLine;
    record.commentCodeLine = codeLine;
    record.commentBanner = banner;
    record.commentBlank = commentBlank;
    record.blank = blank;
    record.commentWords = words;
}

/// Six records in five folders, one with a comma in its name: three counted, one failed with its
/// error text, one never counted that still holds counters (they must not show).
void fillSample(ProjectFolder& root) {
    setCounts(*root.AddFilePath(u"Proj/Src/Main.cpp"), 120, 14, 9, 30, 5, 4, 3, 25, 410);
    setCounts(*root.AddFilePath(u"Proj/Src/Util/Strings.h"), 40, 6, 3, 12, 2, 0, 1, 8, 95);
    FileCount* broken = root.AddFilePath(u"Proj/Src/Util/Broken.cpp");
    broken->failed = true;
    broken->remarks = u"Failed to open file.";
    root.AddFilePath(u"Proj/Readme.txt")->code = 77;
    setCounts(*root.AddFilePath(u"Proj/Src/Res/App.rc"), 50, 0, 0, 0, 0, 0, 0, 4, 0);
    setCounts(*root.AddFilePath(u"/abs/My Folder,2/Say \"Hi\".c"), 7, 1, 1, 1, 0, 0, 0, 2, 3);
}

TEST(ReportWriterTest, GoldenReportsInEveryLayout) {
    ProjectFolder sample;
    fillSample(sample);
    const ProjectFolder empty;
    const struct {
        const char* golden;
        const ProjectFolder& root;
        CountMode mode;
        bool csv;
        bool listStyle;
        bool fullPaths;
        int indentation;
    } cases[] = {
        {"physical-list-paths.txt", sample, CountMode::Physical, false, true, true, 4},
        {"physical-list-names.txt", sample, CountMode::Physical, false, true, false, 4},
        {"physical-list-paths.csv", sample, CountMode::Physical, true, true, true, 4},
        {"physical-list-names.csv", sample, CountMode::Physical, true, true, false, 4},
        {"physical-tree-4.txt", sample, CountMode::Physical, false, false, true, 4},
        {"physical-tree-0.txt", sample, CountMode::Physical, false, false, false, 0},
        {"physical-tree-4-csv.txt", sample, CountMode::Physical, true, false, false, 4},
        {"executable-list-paths.txt", sample, CountMode::Executable, false, true, true, 4},
        {"executable-list-paths.csv", sample, CountMode::Executable, true, true, true, 4},
        {"terminating-tree-2.txt", sample, CountMode::TerminatingCharacters, false, false, false,
         2},
        {"cyclomatic-list-names.txt", sample, CountMode::CyclomaticComplexity, false, true, false,
         4},
        {"empty-list.txt", empty, CountMode::Physical, false, true, true, 4},
        {"empty-list.csv", empty, CountMode::Physical, true, true, true, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.golden);
        const std::u16string report =
            buildReport(c.root, c.mode,
                        ReportLayout{.format = c.csv ? ReportFormatId::Csv : ReportFormatId::Text,
                                     .listStyle = c.listStyle,
                                     .fullPaths = c.fullPaths,
                                     .indentation = c.indentation});
        test::expectMatchesGolden(u8(report), std::string(TW_FIXTURES_DIR) + "/report/" + c.golden);
        EXPECT_TRUE(report.ends_with(u"\r\n"));
        EXPECT_EQ(report.find(u'\n'), report.find(u"\r\n") + 1);
    }
}

TEST(ReportWriterTest, ColumnWidthFollowsTheLongestColumnName) {
    const struct {
        CountMode mode;
        std::size_t column;
        std::u16string_view modeColumn;
    } cases[] = {
        {CountMode::Physical, 18, u"Code"},
        {CountMode::TerminatingCharacters, 23, u"Terminating Characters"},
        {CountMode::Executable, 18, u"Executable"},
        {CountMode::CyclomaticComplexity, 22, u"Cyclomatic Complexity"},
        {static_cast<CountMode>(9), 18, u"Code"},
    };
    const ProjectFolder empty;
    for (const auto& c : cases) {
        EXPECT_EQ(reportWidths(empty, c.mode, true, true, 4).column, c.column);
        EXPECT_EQ(reportModeColumnName(c.mode), c.modeColumn);
    }
}

TEST(ReportWriterTest, NameWidthIsTheLongestShownNameButAtLeastFive) {
    ProjectFolder thirty;
    thirty.AddFilePath(u"c/dir/abcdefghijklmnopqrstuvwxyz.cpp");
    ProjectFolder shortNames;
    shortNames.AddFilePath(u"c/ab.h");
    const struct {
        const char* name;
        const ProjectFolder& root;
        bool listStyle;
        bool fullPaths;
        int indentation;
        std::size_t width;
    } cases[] = {
        {"file names", thirty, true, false, 4, 30},
        {"full paths", thirty, true, true, 4, 36},
        {"short names", shortNames, true, true, 4, 6},
        {"short file names", shortNames, true, false, 4, 5},
        {"tree: deepest name plus its indentation", thirty, false, true, 4, 30 + 8},
        {"tree without indentation", thirty, false, true, 0, 30},
        {"negative indentation is none", thirty, false, true, -3, 30},
        {"indentation is capped", thirty, false, true, 1000000,
         30 + 2 * static_cast<std::size_t>(kMaxReportIndentation)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(
            reportWidths(c.root, CountMode::Physical, c.listStyle, c.fullPaths, c.indentation).name,
            c.width);
    }
}

/// The line of `report` that contains `needle`, without its line end.
std::u16string lineWith(const std::u16string& report, std::u16string_view needle) {
    const std::size_t at = report.find(needle);
    if (at == std::u16string::npos) {
        return {};
    }
    const std::size_t begin = report.rfind(u'\n', at) + 1;
    const std::size_t end = report.find(u"\r\n", at);
    return report.substr(begin, end - begin);
}

TEST(ReportWriterTest, TreeIndentationStaysInsideTheNameField) {
    ProjectFolder root;
    setCounts(*root.AddFilePath(u"c/a/deep.cpp"), 1, 0, 0, 0, 0, 0, 0, 0, 0);
    root.AddFilePath(u"c/a/bad.cpp")->failed = true;
    const std::u16string report =
        buildReport(root, CountMode::Physical, ReportLayout{.listStyle = false});
    const std::size_t n = reportWidths(root, CountMode::Physical, false, true, 4).name;
    EXPECT_EQ(n, 8u + 8u);  // "deep.cpp" two levels down
    EXPECT_EQ(lineWith(report, u"c/"), u"c/");
    EXPECT_EQ(lineWith(report, u"a/"), u"    a/");
    const std::u16string deep = lineWith(report, u"deep.cpp");
    EXPECT_EQ(deep.substr(0, 16), u"        deep.cpp");
    EXPECT_EQ(deep.substr(n + 4, 2), u"1 ");
    const std::u16string bad = lineWith(report, u"bad.cpp");
    EXPECT_EQ(bad.substr(0, 24), u"        [FAILED] bad.cpp");
    EXPECT_EQ(bad.substr(n + 4 + 9, 2), u"- ");
}

TEST(ReportWriterTest, CsvOutsideExecutableModeHidesButCountsDeclarations) {
    ProjectFolder root;
    setCounts(*root.AddFilePath(u"c/xy.cpp"), 3, 2, 1, 0, 0, 0, 0, 4, 5);
    const std::u16string report = buildReport(root, CountMode::TerminatingCharacters,
                                              ReportLayout{.format = ReportFormatId::Csv});
    EXPECT_EQ(lineWith(report, u"xy"), u"c/xy.cpp,3,-,-,0,0,0,0,0,4,10,5,");
    EXPECT_TRUE(report.ends_with(u"\r\nTotal,3,-,-,0,0,0,0,0,4,10,5,\r\n"));
}

/// The fields of one CSV record as RFC 4180 reads them; `at` moves past the record.
std::vector<std::u16string> csvRecord(const std::u16string& text, std::size_t& at) {
    std::vector<std::u16string> fields(1);
    bool quoted = false;
    for (; at < text.size(); ++at) {
        const char16_t c = text[at];
        if (quoted) {
            if (c == u'"' && at + 1 < text.size() && text[at + 1] == u'"') {
                fields.back().push_back(u'"');
                ++at;
            } else if (c == u'"') {
                quoted = false;
            } else {
                fields.back().push_back(c);
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields.emplace_back();
        } else if (c == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') {
            at += 2;
            break;
        } else {
            fields.back().push_back(c);
        }
    }
    return fields;
}

TEST(ReportWriterTest, CsvFieldsWithCommasQuotesOrLineBreaksReadBackToTheirColumns) {
    ProjectFolder root;
    setCounts(*root.AddFilePath(u"My Folder,2/a.c"), 1, 2, 3, 4, 5, 6, 7, 8, 9);
    setCounts(*root.AddFilePath(u"q/Say \"Hi\".c"), 1, 0, 0, 0, 0, 0, 0, 0, 0);
    FileCount* odd = root.AddFilePath(u"line\nbreak.c");
    setCounts(*odd, 2, 0, 0, 0, 0, 0, 0, 0, 0);
    odd->remarks = u"warn, \"quoted\"";
    root.AddFilePath(u"bad,name.c")->failed = true;
    // A lone carriage return, and one before a line feed: both are part of the name.
    setCounts(*root.AddFilePath(u"car\rret.c"), 1, 0, 0, 0, 0, 0, 0, 0, 0);
    setCounts(*root.AddFilePath(u"both\r\n.c"), 1, 0, 0, 0, 0, 0, 0, 0, 0);
    const std::u16string report =
        buildReport(root, CountMode::Executable, ReportLayout{.format = ReportFormatId::Csv});

    // Read back from the bytes the file holds, as another program would.
    const std::string bytes = csvFileBytes(report);
    const std::u16string written = utf16FromUtf8(bytes);
    std::vector<std::vector<std::u16string>> records;
    std::size_t at = written.find(u"File,");
    ASSERT_NE(at, std::u16string::npos);
    while (at < written.size()) {
        records.push_back(csvRecord(written, at));
    }
    ASSERT_EQ(records.size(), 8u);  // header, six files, totals
    for (std::size_t i = 1; i < records.size(); ++i) {
        EXPECT_EQ(records[i].size(), records.front().size()) << i;
    }
    EXPECT_EQ(records[1][0], u"line\nbreak.c");
    EXPECT_EQ(records[1][12], u"warn, \"quoted\"");
    EXPECT_EQ(records[2][0], u"[FAILED] bad,name.c");
    EXPECT_EQ(records[3][0], u"car\rret.c");
    EXPECT_EQ(records[4][0], u"both\r\n.c");
    EXPECT_EQ(records[5][0], u"My Folder,2/a.c");
    EXPECT_EQ(records[5][1], u"1");
    EXPECT_EQ(records[5][10], u"36");
    EXPECT_EQ(records[6][0], u"q/Say \"Hi\".c");
    EXPECT_EQ(records[7][0], u"Total");
    EXPECT_EQ(records[7][12], u"");
    // Quoted as RFC 4180 says; a field that needs no quotes is written as it is.
    EXPECT_NE(bytes.find("\r\n\"My Folder,2/a.c\",1,2,3,"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n\"q/Say \"\"Hi\"\".c\",1,"), std::string::npos);
    EXPECT_TRUE(bytes.ends_with("\r\nTotal,6,2,3,4,5,6,7,22,8,41,9,\r\n"));
}

TEST(ReportWriterTest, AProjectWithoutCountedFilesShowsDashesAndZeroTotals) {
    ProjectFolder root;
    fillSample(root);
    root.ResetAllCounts();
    const std::u16string report =
        buildReport(root, CountMode::Executable,
                    ReportLayout{.format = ReportFormatId::Csv, .fullPaths = false});
    EXPECT_NE(report.find(u"6 Files:\r\n  Counted:,0\r\n  Uncounted:,6\r\n  Failed:,0\r\n"),
              std::u16string::npos);
    EXPECT_EQ(lineWith(report, u"Main.cpp"), u"Main.cpp,-,-,-,-,-,-,-,-,-,-,-,");
    EXPECT_TRUE(report.ends_with(u"\r\nTotal,0,0,0,0,0,0,0,0,0,0,0,\r\n"));
}

TEST(ReportWriterTest, DeepTreesAreIndentedNoFurtherThanTheLimitAndStreamed) {
    ProjectFolder root;
    std::u16string chain;
    for (std::size_t level = 1; level < ProjectFolder::kMaxDepth; ++level) {
        chain += u"d/";
    }
    for (const char16_t* name : {u"a.c", u"b.c", u"c.c"}) {
        setCounts(*root.AddFilePath(chain + name, "/nonexistent"), 1, 0, 0, 0, 0, 0, 0, 0, 0);
    }
    std::size_t longest = 0;
    std::size_t lines = 0;
    std::size_t largestPiece = 0;
    writeReport(root, CountMode::Physical,
                ReportLayout{.listStyle = false, .indentation = kMaxReportIndentation},
                [&](std::u16string_view piece) {
                    largestPiece = std::max(largestPiece, piece.size());
                    for (std::size_t start = 0; start < piece.size();) {
                        const std::size_t end = piece.find(u'\n', start);
                        const std::size_t next =
                            end == std::u16string_view::npos ? piece.size() : end + 1;
                        longest = std::max(longest, next - start);
                        start = next;
                        ++lines;
                    }
                    return true;
                });
    EXPECT_EQ(lines, 12u + (ProjectFolder::kMaxDepth - 1) + 3 + 2);
    // The name field: the deepest indentation allowed, the name, four spaces; then the values.
    EXPECT_LE(longest, kMaxTreeIndent + 5 + 4 + 12 * 18 + 2);
    // The text is handed out in pieces, never as a whole.
    EXPECT_LT(largestPiece, 64u * 1024u);

    // A reader that has seen enough ends the report.
    std::size_t pieces = 0;
    EXPECT_FALSE(writeReport(root, CountMode::Physical, ReportLayout{.listStyle = false},
                             [&pieces](std::u16string_view) { return ++pieces < 2; }));
    EXPECT_EQ(pieces, 2u);
}

}  // namespace
}  // namespace tw
