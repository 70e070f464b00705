#pragma once

#include <functional>
#include <string>
#include <vector>

#include "project/ScanFilter.h"

namespace tw {

/// Hands every file below `directory` to `onFile`, as the directory it lies in (ending in '/')
/// and its name, both bytes as the file system gives them. Entries come in name order, letter
/// case ignored (names upper-cased per UTF-16 code unit) and ties broken by their bytes, hidden
/// ones included, without "." and ".."; a subfolder is walked where it is met, before the
/// entries after it, when `withSubfolders` is set. A link counts as what it points
/// to; an entry whose kind cannot be found out counts as a file.
///
/// `directory` ends in '/', or is empty for the current directory. A directory that cannot be
/// read adds nothing; `onUnreadable`, when given, hears of it with the system's reason. A directory reached again through a link while it is being walked (same
/// device and inode) is not entered again, so link loops end; depth costs heap, not call stack.
/// `onDirectory`, when given, is called before each directory is read.
///
/// Every entry the walk would take (a file, or a subfolder when `withSubfolders` is set) is
/// first put to `filters`, in order; one that any of them refuses is passed over, a folder
/// with everything below it.
void walkDirectory(
    const std::string& directory, bool withSubfolders,
    const std::function<void(const std::string& directory, const std::string& name)>& onFile,
    const std::function<void()>& onDirectory = {},
    const std::function<void(const std::string& directory, int error)>& onUnreadable = {},
    const std::vector<ScanFilter*>& filters = {});

}  // namespace tw
