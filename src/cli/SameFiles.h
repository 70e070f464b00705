#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <utility>

namespace tw {

/// Tells when two paths name one file on disk (the same device and inode: a hard link, a
/// symbolic link, the same folder reached by two routes), so that each file makes one record,
/// under the path met first. Paths hold command-line text in the form of `argumentText`.
class SameFiles {
  public:
    /// The path met before `path` for the same file, or null when `path` is the first for its
    /// file or names nothing that can be looked at (its count then says why).
    const std::u16string* earlierPath(const std::u16string& path);

  private:
    std::map<std::pair<dev_t, ino_t>, std::u16string> first_;
};

}  // namespace tw
