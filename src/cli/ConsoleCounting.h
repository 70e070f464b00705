#pragma once

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <mutex>

#include "engine/CountSettings.h"
#include "project/CountRunner.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"

namespace tw {

/// The console's count, begun before the project's folders are all in place: each record
/// added counts at once on the other threads while the rest are still being put in place.
/// Prints the banner once per process when it begins and, unless `quiet`, one "Parsing:" line
/// per file on `progress` as the records are handed over in the tree's order: a folder's own
/// files, then each subfolder. Each file whose count fails is reported on `errors` as it is
/// handed over, in the form compilers use (`countFailureLine`); its remarks go into `failures`
/// under its path. `threads` files are counted at once (0: one per processor); whatever the
/// number, the output, the table and the records are the same as counting one at a time.
class ConsoleCount {
  public:
    ConsoleCount(const CountSettings& settings, bool showProgress, bool quiet, unsigned threads,
                 std::ostream& progress, std::ostream& errors, FailedCountTable& failures);

    /// A record put into the project; it may start counting at once.
    void add(FileCount& record) { session_->add(record); }

    /// Counts what is left and hands every record of `folder` over in the tree's order.
    void finish(ProjectFolder& folder);

    /// Files that could not be read at all (missing, a directory, no permission, a read
    /// error), once `finish` has returned.
    std::size_t unreadable() const { return unreadable_; }

  private:
    std::ostream& progress_;
    std::mutex resultsLock_;
    CountRunner runner_;
    std::unique_ptr<CountRunner::Session> session_;
    std::size_t unreadable_ = 0;
};

}  // namespace tw
