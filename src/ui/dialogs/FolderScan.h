#pragma once

#include <QStringList>

#include <functional>
#include <string>
#include <vector>

namespace tw::ui {

/// What a folder scan leaves out besides the extensions it does not include.
struct FolderScanExclusions {
    /// Names and paths below the folder, as shell patterns (see `ExcludePatterns`).
    QStringList patterns;
    /// Leave out what git ignores, when the folder is inside a git work tree.
    bool versionControlIgnored = false;
};

/// Finds the files of the Add Folder dialog: the scan of `ScanRequest` (the console's too), in
/// its order and by its extension rule (`included` may hold `kNoExtension`). Paths are bytes as
/// the file system gives them, joined with '/'.
///
/// A directory that cannot be read adds nothing. `onDirectory` is called before each directory
/// is read, so a caller can keep its window painted. What `leftOut` names is passed over, a
/// folder with all it holds. When git's rules are asked for but cannot be read, every file is
/// taken and `gitFailure`, when given, gets the message that says why.
std::vector<std::string> scanFolderForFiles(const std::string& directory,
                                            const QStringList& included, bool withSubfolders,
                                            const std::function<void()>& onDirectory = {},
                                            const FolderScanExclusions& leftOut = {},
                                            QString* gitFailure = nullptr);

}  // namespace tw::ui
