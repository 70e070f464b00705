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

/// Finds the files of the Add Folder dialog. Entries come in name order, letter case ignored,
/// hidden ones included; a subfolder is scanned where it is met, before the
/// entries after it, when `withSubfolders` is set. A file is taken when its extension (from
/// the last period of its name on) equals an entry of `included` ignoring case, or, for a
/// name without a period, when `included` holds "[none]". Paths are bytes as the file system
/// gives them, joined with '/'; `directory` gets a '/' unless it ends in '/' or '\'.
///
/// A directory that cannot be read adds nothing. A directory reached again through a link
/// while it is being scanned (same device and inode) is not entered again, so link loops end;
/// depth costs heap, not call stack. `onDirectory` is called before each directory is read,
/// so a caller can keep its window painted. What `leftOut` names is passed over, a folder with
/// all it holds.
std::vector<std::string> scanFolderForFiles(std::string directory, const QStringList& included,
                                            bool withSubfolders,
                                            const std::function<void()>& onDirectory = {},
                                            const FolderScanExclusions& leftOut = {});

}  // namespace tw::ui
