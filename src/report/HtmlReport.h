#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CountSettings.h"
#include "project/ProjectFolder.h"
#include "project/VersionDiff.h"
#include "project/VersionHistory.h"

namespace tw {

/// What the HTML report says about its run besides the project itself.
struct HtmlReportContext {
    /// What was counted, one entry each ("-dir src", "-list files.txt"); when empty, the
    /// report names the folders of the project.
    std::vector<std::string> counted;
    /// The options of the run beyond the mode, as given ("-ext .c .h -git"); may be empty.
    std::string options;
    /// When the count ran, as the report shows it.
    std::string date;
    /// With -diff: the comparison, shown with its totals and changed files.
    const VersionDiff* diff = nullptr;
    /// With -history: the revisions, shown as a chart of the mode's count.
    const std::vector<HistoryRow>* history = nullptr;
};

/// The most bytes a report on `countedFiles` files may take: 300 per file and 256 KiB. The
/// treemap gives up detail (merging more small items) to stay within it.
std::size_t htmlReportBudget(std::size_t countedFiles);

/// `time` as the report shows it: local date and time, "2026-12-11 09:40".
std::string htmlReportDate(std::time_t time);

/// The report of the project below `root` as one self-contained HTML page (styles and the small
/// zoom script inside it, nothing fetched): the run, the quick summary's figures, the table by
/// file type (`table#types`), a squarified treemap of the folders and files
/// (`svg#treemap`, one rect per item with `data-path` and `data-lines`), the largest files,
/// the failed files, in the Cyclomatic Complexity mode the most complex functions, and the
/// comparison or the history of `context`. Every table reads without scripts.
std::string buildHtmlReport(const ProjectFolder& root, const CountSettings& settings,
                            const HtmlReportContext& context);

}  // namespace tw
