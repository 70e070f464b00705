#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "project/ScanFilter.h"

namespace tw {

/// Keeps a directory walk to the files that git tracks or would not ignore, the files
/// `git ls-files --cached --others --exclude-standard` lists: it passes over what the
/// `.gitignore` files of every level, `.git/info/exclude` and the user's global excludes file
/// leave out, unless git tracks it. An ignored folder is not entered unless git tracks
/// something inside it; then only the tracked files inside are taken. A nested work tree (a
/// submodule, or another repository inside this one) is entered and follows its own rules.
/// `.git` itself, and links to folders, are passed over: git keeps a link as a link and never
/// looks behind it.
///
/// libgit2 reads the repository, its index and its configuration, never `git`; every file it
/// would read is checked first, and one that is there but is no regular file (a pipe, a
/// device) is not opened: that repository is not read, and its files are all taken. The ignore
/// files are read by the program itself, each only when it is a regular file, and matched by
/// `GitIgnoreList` in time in proportion to the lengths of pattern and path, whatever they hold.
class GitWorkTreeFilter : public ScanFilter {
  public:
    /// Hears of a file whose rules are not used, or a nested repository that is not read:
    /// its path and why, as a sentence.
    using Warning = std::function<void(const std::string& path, const std::string& why)>;

    /// Rules for a walk that starts in `directory` (ending in '/', or empty for the current
    /// directory). Null when the directory is not inside a git work tree, with `whyNot` saying
    /// why ("not inside a git work tree", or what stopped the repository from being read).
    static std::unique_ptr<GitWorkTreeFilter> open(const std::string& directory,
                                                   std::string& whyNot, Warning warning = {});

    ~GitWorkTreeFilter() override;

    bool takes(const ScanEntry& entry) override;

    /// Whether `directory` lies inside a git work tree (its index is not read).
    static bool isInWorkTree(const std::string& directory);

  private:
    struct WorkTree;
    GitWorkTreeFilter(std::string directory, Warning warning);

    /// Opens the work tree whose top or inside is `directory` (reading its index when asked),
    /// or says why there is none.
    static std::unique_ptr<WorkTree> openWorkTree(const std::string& directory, bool search,
                                                  bool withIndex, std::string& whyNot);

    /// The innermost work tree holding the entry at `relativePath`; work trees the walk has
    /// left are dropped first.
    WorkTree& workTreeOf(std::string_view relativePath);

    std::string directory_;
    Warning warning_;
    /// Outermost first: the work tree the walk started in, then the nested ones it is in.
    std::vector<std::unique_ptr<WorkTree>> workTrees_;
};

}  // namespace tw
