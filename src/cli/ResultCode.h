#pragma once

namespace tw {

/// Outcome of a console run; it becomes the process exit code. 1 is not used.
///
/// 2 to 6 stop the run early. 7 ends a run that wrote every output and found a function above
/// the limit of -max-complexity. 8 ends a run that wrote every output: some file it was given
/// could not be read at all, which is a fault of the input, where a file the counter cannot
/// parse is a limit of the counter and leaves the code as it is. A completed run with such a
/// file ends with 8 whatever else it found, a function above the limit included; a code from 2
/// to 6 means the run could not finish.
enum ResultCode : int {
    kResultCompleted = 0,             ///< counted, summary written, report written if asked
    kResultNoExtensions = 2,          ///< directories given without any extension
    kResultListFileUnreadable = 3,    ///< a list file could not be opened
    kResultNothingToCount = 4,        ///< no file path after collecting
    kResultBadOutputDirectory = 5,    ///< the output directory is missing or not a directory
    kResultCannotWriteOutput = 6,     ///< the summary, report or project file could not be written
    kResultComplexityAboveLimit = 7,  ///< every output written; a function above -max-complexity
    kResultUnreadableFiles = 8,       ///< every output written; some file could not be read
};

}  // namespace tw
