#pragma once

#include <string>
#include <vector>

#include "project/VersionDiff.h"
#include "project/VersionHistory.h"

namespace tw {

// The reports of a comparison of two versions and of a series of revisions. Each returns the
// whole file's text, in UTF-8; paths are shown with their control characters as '?' (and bytes
// that are not UTF-8 as U+FFFD) in the text and csv forms, escaped in JSON.

/// `diff_<stamp>.txt`: the two versions, a table per file (rows code, comment, blank; columns
/// same, modified, added, removed), then the totals' table.
std::string diffText(const VersionDiff& diff);
/// The totals' table alone, as standard output shows it.
std::string diffTotalsTable(const VersionDiff& diff);
/// `diff_<stamp>.csv`: a row per file (path, status, then same, modified, added, removed of
/// code, comment and blank, and in the logical modes the mode's count on each side), and a
/// last row of totals.
std::string diffCsv(const VersionDiff& diff);
/// `diff_<stamp>.json`: {"old", "new", "files": [{"path", "status", "code": {"same",
/// "modified", "added", "removed"}, "comment": {...}, "blank": {...}}], "totals": {...}}; in the
/// logical modes each file and the totals also have "oldCount" and "newCount".
std::string diffJson(const VersionDiff& diff);

/// `history_<stamp>.csv`: a row per revision: revision, commit id, commit date, files, then
/// the columns `mode` shows, the totals included.
std::string historyCsv(const std::vector<HistoryRow>& rows, CountMode mode);
/// `history_<stamp>.json`: {"mode", "revisions": [{"revision", "commit", "date", "files",
/// "failed", and every column's value by its JSON name}]}.
std::string historyJson(const std::vector<HistoryRow>& rows, CountMode mode);

}  // namespace tw
