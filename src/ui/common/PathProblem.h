#pragma once

#include <QString>

namespace tw::ui {

/// A message about a file or folder, as a box shows it: `text` (kept exactly as it is), then
/// beneath it the path, unless `text` names it already, and the system's `reason` when there is
/// one. The path is made printable first.
QString withPathAndReason(const QString& text, const QString& path,
                          const QString& reason = QString());

/// What a folder is wanted for.
enum class FolderUse {
    Read,   ///< its entries listed (Add Folder)
    Write,  ///< a file written in it (Generate Report); whether it may be is the write's to say
};

/// Why `path` cannot serve as a folder for `use`, in the system's words ("No such file or
/// directory", "Not a directory", "Permission denied"); empty when it can.
QString folderProblem(const QString& path, FolderUse use);

}  // namespace tw::ui
