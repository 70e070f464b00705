#pragma once

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
/// per file as the records are handed over in the tree's order: a folder's own files, then each
/// subfolder. A failed record's remarks go into `failures` under its path and the record is
/// reset. `threads` files are counted at once (0: one per processor); whatever the number, the
/// output, the table and the records are the same as counting one at a time.
class ConsoleCount {
  public:
    ConsoleCount(const CountSettings& settings, bool showProgress, bool quiet, unsigned threads,
                 std::ostream& progress, FailedCountTable& failures);

    /// A record put into the project; it may start counting at once.
    void add(FileCount& record) { session_->add(record); }

    /// Counts what is left and hands every record of `folder` over in the tree's order.
    void finish(ProjectFolder& folder);

  private:
    std::ostream& progress_;
    std::mutex resultsLock_;
    CountRunner runner_;
    std::unique_ptr<CountRunner::Session> session_;
};

}  // namespace tw
