#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// The patterns of one ignore file of a git work tree (a `.gitignore`, `info/exclude` or the
/// global excludes file), read and matched as git reads and matches them: a blank line or one
/// beginning with '#' holds none, trailing spaces are dropped unless escaped, '!' makes a
/// pattern bring back what an earlier one left out, a final '/' makes it match folders only. A
/// pattern with no '/' but a final one matches a name at any depth below the file's folder; any
/// other is matched against the path below that folder, where `*`, `?` and `[...]` do not cross
/// a '/', a leading `**/` stands for any folders, `/**/` for none or any, and a final `/**` for
/// everything inside. Names are compared byte for byte. Each pattern costs time in proportion to
/// its length times the path's, whatever either holds.
class GitIgnoreList {
  public:
    /// What the patterns say of a path: the last one that matches decides.
    enum class Verdict { NoMatch, Ignored, Kept };

    GitIgnoreList() = default;
    /// The patterns in `text`; `base` is the folder the file applies to, below the work tree's
    /// top: empty for the top, else ending in '/'.
    GitIgnoreList(std::string_view text, std::string base);

    /// The verdict on `path` (below the work tree's top, without a final '/').
    Verdict verdict(std::string_view path, bool isDirectory) const;

    const std::string& base() const { return base_; }
    bool empty() const { return patterns_.empty(); }

  private:
    struct Pattern {
        /// The components, each with its escapes; "**" stands alone for any depth.
        std::vector<std::string> components;
        bool negated = false;
        bool directoriesOnly = false;
        /// No '/' in it but a final one: matched against the last name of the path.
        bool nameOnly = false;
    };
    void add(std::string_view line);

    std::string base_;
    std::vector<Pattern> patterns_;
};

}  // namespace tw
