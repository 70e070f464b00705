#pragma once

namespace tw {

/// Outcome of a console run; it becomes the process exit code. 1 is not used.
enum ResultCode : int {
    kResultCompleted = 0,           ///< counted, summary written, report written if asked
    kResultNoExtensions = 2,        ///< directories given without any extension
    kResultListFileUnreadable = 3,  ///< a list file could not be opened
    kResultNothingToCount = 4,      ///< no file path after collecting
    kResultBadOutputDirectory = 5,  ///< the output directory is missing or not a directory
    kResultCannotWriteOutput = 6,   ///< the summary, report or project file could not be written
};

}  // namespace tw
