#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <unordered_map>

namespace tw {

/// Tells when two paths name one file on disk (the same device and inode: a hard link, a
/// symbolic link, the same folder reached by two routes), so that each file makes one record,
/// under the path met first. Paths hold command-line text in the form of `argumentText`.
class SameFiles {
  public:
    /// The path met before `path` for the same file, or null when `path` is the first for its
    /// file or names nothing that can be looked at (its count then says why). The first path of
    /// each file is kept by reference: it must live as long as this object.
    const std::u16string* earlierPath(const std::u16string& path);

  private:
    struct Identity {
        dev_t device;
        ino_t inode;
        bool operator==(const Identity&) const = default;
    };
    struct IdentityHash {
        std::size_t operator()(const Identity& identity) const {
            return std::hash<ino_t>()(identity.inode) * 31 + std::hash<dev_t>()(identity.device);
        }
    };
    std::unordered_map<Identity, const std::u16string*, IdentityHash> first_;
};

}  // namespace tw
