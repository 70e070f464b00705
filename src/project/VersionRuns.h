#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "project/VersionDiff.h"
#include "project/VersionFiles.h"
#include "project/VersionHistory.h"

namespace tw {

// A whole run over versions of the directories a user names, each as one call: the values of
// the run's options go in; the results, the messages for standard error and the outcome come
// back, and nothing is written, so that a run that fails leaves no partial output.

/// How a run over versions ended.
enum class VersionRunOutcome {
    /// Something was counted; messages may still tell of parts passed over.
    Completed,
    /// Nothing remained to count (the console's exit 4); the messages say why.
    NothingToCount,
};

/// What every run over versions takes from the console.
struct VersionRunSettings {
    /// The directories (`-dir`), bytes as given.
    std::vector<std::string> directories;
    ScanChoices choices;
    CountSettings settings;
    /// Files counted at once; 0 for one per processor.
    unsigned threads = 0;
};

/// The files of REV below each directory, counted: the records of each directory in the
/// scan's order, the directories in the order given. A directory outside any repository, or
/// in one where the revision does not exist, adds nothing and a message.
struct RevisionRun {
    std::vector<FileCount> records;
    /// Why counts failed, by record path.
    FailedCountTable failures;
    std::vector<std::string> messages;
    VersionRunOutcome outcome = VersionRunOutcome::NothingToCount;
};
RevisionRun runRevision(const VersionRunSettings& run, const std::string& revision);

/// Two versions compared: with directories, OLD and NEW are revisions of each directory's
/// repository (NEW empty: the work tree as it is on disk), the directories' comparisons one
/// after the other; without, OLD and NEW are two directories, each scanned with the same
/// choices.
struct DiffRun {
    VersionDiff diff;
    std::vector<std::string> messages;
    VersionRunOutcome outcome = VersionRunOutcome::NothingToCount;
};
DiffRun runDiff(const VersionRunSettings& run, const std::string& oldVersion,
                const std::string& newVersion);

/// A series of revisions (`historySeries`: "tags" or a number) of each directory's
/// repository, counted from `from` (empty: HEAD): the rows of each directory.
struct HistoryRun {
    std::vector<std::pair<std::string, std::vector<HistoryRow>>> directories;
    std::vector<std::string> messages;
    VersionRunOutcome outcome = VersionRunOutcome::NothingToCount;
};
HistoryRun runHistory(const VersionRunSettings& run, const std::string& seriesName,
                      const std::string& from);

}  // namespace tw
