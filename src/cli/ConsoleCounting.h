#pragma once

#include <iosfwd>

#include "engine/CountSettings.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"

namespace tw {

/// Counts every record of `folder` and its subfolders, in the tree's order: a folder's own
/// files, then each subfolder. Prints the banner once per process and, unless `quiet`, one
/// "Parsing:" line per file. A failed record's remarks go into `failures` under its path and
/// the record is reset. `threads` files are counted at once (0: one per processor); whatever
/// the number, the output, the table and the records are the same as counting one at a time.
void CountAllForConsole(ProjectFolder& folder, const CountSettings& settings, bool showProgress,
                        bool quiet, unsigned threads, std::ostream& progress,
                        FailedCountTable& failures);

}  // namespace tw
