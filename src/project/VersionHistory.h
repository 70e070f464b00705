#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/CountColumns.h"
#include "project/GitRevisions.h"
#include "project/VersionFiles.h"

namespace tw {

/// One revision of a series, counted.
struct HistoryRow {
    GitVersion version;
    /// Files of the revision the scan took, counted or not.
    std::size_t files = 0;
    /// Files whose count failed; they add nothing to `values`.
    std::size_t failed = 0;
    /// The counters summed over the counted files.
    CountValues values;
};

/// The revisions a series names, oldest first: `seriesName` "tags" for every tag (in the order of
/// their commits' dates), or a number N for the last N commits along the first parents of
/// `from` (a revision; empty for HEAD). False with `why` for a name that is neither, a
/// revision that does not exist, or a history that ends early because the clone is shallow;
/// `notice` tells of a history shorter than N.
bool historySeries(const GitRevisions& revisions, const std::string& seriesName,
                   const std::string& from, std::vector<GitVersion>& series, std::string& why,
                   std::string& notice, const GitRevisions::Warning& warning = {});

/// Counts each revision of `series` below `directory` as `revisionFiles` and `counter` take
/// them: one row per revision, in order. Contents met before in the run are not counted again.
/// False with `why` when a revision's files cannot be read.
bool countHistory(const std::shared_ptr<GitRevisions>& revisions,
                  const std::vector<GitVersion>& series, const std::string& directory,
                  const ScanChoices& choices, VersionCounter& counter,
                  std::vector<HistoryRow>& rows, std::string& why,
                  const GitRevisions::Warning& warning = {});

}  // namespace tw
