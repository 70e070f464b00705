#pragma once

#include <sys/mount.h>

#include <string>

#include "support/TempDir.h"

namespace tw::test {

/// A tmpfs of `kilobytes` mounted on a fresh directory for the test's lifetime, read-only when
/// asked; `mounted()` is false where the machine does not let the tests mount one.
class TinyFileSystem {
  public:
    explicit TinyFileSystem(int kilobytes, bool readOnly = false) {
        const std::string options = "size=" + std::to_string(kilobytes) + "k";
        mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", readOnly ? MS_RDONLY : 0,
                           options.c_str()) == 0;
    }
    ~TinyFileSystem() {
        if (mounted_) {
            ::umount(dir_.path().c_str());
        }
    }
    TinyFileSystem(const TinyFileSystem&) = delete;
    TinyFileSystem& operator=(const TinyFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    std::string path() const { return dir_.path().string(); }
    std::string pathOf(const std::string& name) const { return dir_.pathOf(name); }

  private:
    TempDir dir_;
    bool mounted_ = false;
};

}  // namespace tw::test
