#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "project/ScanFilter.h"

namespace tw {

/// The files and folders a directory scan leaves out, given as shell patterns: `*` any run of
/// characters and `?` any one character, neither crossing a '/'; `[...]` one character of a
/// set or range (`[!...]` or `[^...]` one not in it); `\` makes the next character plain; a
/// component `**` stands for any number of folders, none included. An entry is left out when
/// its name, or its path below the scanned directory, matches a pattern; a pattern with a '/'
/// between two components can only match a path. A pattern ending in '/' matches folders
/// only; one beginning with '/' matches the path only, so `/build` is the top folder `build`
/// and no other. Matching compares characters exactly (POSIX names are
/// case-sensitive); names that are not UTF-8 match byte for byte where they are not.
class ExcludePatterns : public ScanFilter {
  public:
    ExcludePatterns() = default;
    explicit ExcludePatterns(const std::vector<std::string>& patterns);

    /// Adds one pattern (bytes); false, adding nothing, for one that names nothing ("", "/").
    bool add(std::string_view pattern);
    bool empty() const { return patterns_.empty(); }

    /// Whether an entry with this path below the scanned directory is left out.
    bool matches(std::string_view relativePath, bool isDirectory) const;

    bool takes(const ScanEntry& entry) override {
        return !matches(entry.relativePath, entry.isDirectory);
    }

  private:
    struct Pattern {
        /// The components; "**" stands alone for any depth.
        std::vector<std::u32string> components;
        bool directoriesOnly = false;
        bool pathOnly = false;
    };
    std::vector<Pattern> patterns_;
};

}  // namespace tw
