#pragma once

#include <string_view>

namespace tw {

/// One entry a directory walk met, as a filter sees it. Paths are bytes as the file system
/// gives them.
struct ScanEntry {
    /// The path below the directory the walk started in, joined with '/', without a final '/'.
    std::string_view relativePath;
    /// The last component of `relativePath`.
    std::string_view name;
    /// A folder, or a link to one.
    bool isDirectory = false;
    /// A symbolic link, to whatever it leads to.
    bool isLink = false;
};

/// Decides which entries a directory walk takes: a file it passes over is not handed on, a
/// folder it passes over is not entered, so nothing below it costs anything. The walk asks in
/// its own order (depth first, a folder's entries before the entries after the folder), and
/// asks about a folder before any entry inside it. Implementations: `ExcludePatterns` (names
/// and paths the user leaves out) and `GitWorkTreeFilter` (what git ignores).
class ScanFilter {
  public:
    virtual ~ScanFilter() = default;

    /// False for an entry the walk passes over.
    virtual bool takes(const ScanEntry& entry) = 0;
};

}  // namespace tw
