#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "project/ScanFilter.h"

namespace tw {

/// What a directory walk tells its caller. Each callback but `onFile` may be left empty.
struct DirectoryWalkCalls {
    /// A file: the directory it lies in (ending in '/') and its name, both bytes as the file
    /// system gives them.
    std::function<void(const std::string& directory, const std::string& name)> onFile;
    /// Before each directory is read (a caller can keep its window painted).
    std::function<void()> onDirectory;
    /// A directory that cannot be read, with the system's reason; it adds nothing.
    std::function<void(const std::string& directory, int error)> onUnreadable;
    /// A directory reached again through a link; it is not walked a second time.
    std::function<void(const std::string& directory)> onSeenAgain;
};

/// Hands every file below `directory` to `calls.onFile`. Entries come in name order, letter
/// case ignored (names upper-cased per UTF-16 code unit) and ties broken by their bytes, hidden
/// ones included, without "." and ".."; a subfolder is walked where it is met, before the
/// entries after it, when `withSubfolders` is set. A link counts as what it points to; an
/// entry whose kind cannot be found out counts as a file.
///
/// `directory` ends in '/', or is empty for the current directory. Each directory is walked
/// once in a walk (known by device and inode), however many links lead to it, so neither a
/// link loop nor a graph of links can make the walk go on for long; depth costs heap, not call
/// stack.
///
/// Every entry the walk would take (a file, or a subfolder when `withSubfolders` is set) is
/// first put to `filters`, in order; one that any of them refuses is passed over, a folder
/// with everything below it.
void walkDirectory(const std::string& directory, bool withSubfolders,
                   const DirectoryWalkCalls& calls, const std::vector<ScanFilter*>& filters = {});

/// The order of a scan among the names of one folder: letter case ignored (each name decoded,
/// undecodable bytes kept apart, and upper-cased per UTF-16 code unit), ties broken by bytes.
/// `key` is `scanOrderKey(name)`.
std::u16string scanOrderKey(std::string_view name);
inline bool scanOrderLess(const std::u16string& keyA, std::string_view nameA,
                          const std::u16string& keyB, std::string_view nameB) {
    return keyA != keyB ? keyA < keyB : nameA < nameB;
}

/// Whether a scan meets the file at `pathA` before the one at `pathB`, both '/' separated
/// paths below the scanned directory: folder by folder in name order, a subfolder's files where
/// the subfolder is met.
bool scanPathLess(std::string_view pathA, std::string_view pathB);

}  // namespace tw
