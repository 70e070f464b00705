#include "report/HtmlReport.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "engine/FileCount.h"
#include "engine/TextConversion.h"

namespace tw {
namespace {

FileCount& counted(ProjectFolder& root, std::u16string_view path, std::uint32_t code) {
    FileCount& record = *root.AddFilePath(path);
    record.counted = true;
    record.code = code;
    return record;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

TEST(HtmlReportTest, SelfContainedWithEveryNameEscaped) {
    ProjectFolder root;
    counted(root, u"src/<b>&\"x\".c", 50);
    counted(root, u"src/ok.cpp", 40).functions = {{u"operator<", 3, 2, 9, 4}};
    FileCount& failed = *root.AddFilePath(u"src/bad<1>.h");
    failed.counted = true;
    failed.failed = true;
    failed.remarks = u"Unexpected <end> of file";
    failed.errorLine = 12;

    const std::string html = buildHtmlReport(
        root, CountSettings{.mode = CountMode::CyclomaticComplexity}, HtmlReportContext{});
    // Nothing fetched from anywhere.
    EXPECT_EQ(html.find("http"), std::string::npos);
    EXPECT_EQ(html.find(" src="), std::string::npos);
    EXPECT_EQ(html.find(" href="), std::string::npos);
    // Names as text, never as markup.
    EXPECT_EQ(html.find("<b>"), std::string::npos);
    EXPECT_NE(html.find("data-path=\"src/&lt;b&gt;&amp;&quot;x&quot;.c\" data-lines=\"50\""),
              std::string::npos);
    EXPECT_NE(html.find("<td>src/bad&lt;1&gt;.h</td><td class=\"n\">12</td><td class=\"fail\">"
                        "Unexpected &lt;end&gt; of file</td>"),
              std::string::npos);
    EXPECT_NE(html.find("<td>operator&lt;</td><td>src/ok.cpp</td>"), std::string::npos);
    EXPECT_NE(html.find("<table id=\"types\">"), std::string::npos);
    // Outside mode c there is no functions table; without -diff and -history no such section.
    const std::string physical = buildHtmlReport(root, CountSettings{}, HtmlReportContext{});
    EXPECT_EQ(physical.find("id=\"functions\""), std::string::npos);
    EXPECT_EQ(physical.find("id=\"diff\""), std::string::npos);
    EXPECT_EQ(physical.find("id=\"history\""), std::string::npos);
}

TEST(HtmlReportTest, ComparisonAndHistorySectionsWhenGiven) {
    ProjectFolder root;
    counted(root, u"a.c", 10);
    VersionDiff diff{
        .oldLabel = "v1", .newLabel = "v2", .mode = CountMode::Physical, .files = {}, .totals = {}};
    diff.files.push_back(FileDiff{.path = "a.c",
                                  .change = FileChange::Modified,
                                  .code = {.same = 5, .modified = 2, .added = 3, .removed = 1},
                                  .comment = {},
                                  .blank = {},
                                  .oldCount = 0,
                                  .newCount = 0,
                                  .failure = {}});
    diff.files.push_back(FileDiff{.path = "same.c",
                                  .change = FileChange::Unchanged,
                                  .code = {},
                                  .comment = {},
                                  .blank = {},
                                  .oldCount = 0,
                                  .newCount = 0,
                                  .failure = {}});
    diff.totals.code = diff.files[0].code;
    std::vector<HistoryRow> history(3);
    history[0].version.label = "v1";
    history[1].version.label = "v2";
    history[2].version.label = "v3";
    const std::string html = buildHtmlReport(
        root, CountSettings{},
        HtmlReportContext{
            .counted = {}, .options = {}, .date = {}, .diff = &diff, .history = &history});
    EXPECT_NE(html.find("<tr><th>Code</th><td class=\"n\">5</td><td class=\"n\">2</td>"
                        "<td class=\"n\">3</td><td class=\"n\">1</td></tr>"),
              std::string::npos);
    EXPECT_NE(html.find("<tr><td>a.c</td><td>modified</td>"), std::string::npos);
    EXPECT_EQ(html.find("<td>same.c</td>"), std::string::npos);
    EXPECT_EQ(occurrences(html, "<circle "), 3u);
}

TEST(HtmlReportTest, ThousandsOfFilesStayWithinTheBudget) {
    // Long paths and many small files: the treemap merges until the page fits.
    ProjectFolder root;
    constexpr std::size_t kFiles = 4000;
    for (std::size_t i = 0; i < kFiles; ++i) {
        const std::string path = "project/a-rather-long-module-name-" + std::to_string(i % 37) +
                                 "/with-a-long-subfolder-name-" + std::to_string(i % 11) +
                                 "/source-file-with-a-long-name-" + std::to_string(i) + ".cpp";
        counted(root, utf16FromUtf8(path), static_cast<std::uint32_t>(1 + (i * 7919) % 900));
    }
    const std::string html = buildHtmlReport(root, CountSettings{}, HtmlReportContext{});
    EXPECT_LE(html.size(), htmlReportBudget(kFiles));
    EXPECT_GT(occurrences(html, "<rect class=\"f "), 100u);
    // A small project keeps every file.
    ProjectFolder small;
    for (int i = 0; i < 50; ++i) {
        counted(small, utf16FromUtf8("s/f" + std::to_string(i) + ".c"), 100);
    }
    const std::string page = buildHtmlReport(small, CountSettings{}, HtmlReportContext{});
    EXPECT_EQ(occurrences(page, "<rect class=\"f "), 50u);
}

}  // namespace
}  // namespace tw
