#pragma once

#include <string>
#include <string_view>

#include "project/FileIo.h"

namespace tw {

/// A new file that gets its name only once it is complete, so that no reader, crash or full
/// disk ever leaves a partial file under that name. Where the file system offers it, the file
/// is made without any name (`O_TMPFILE`) and vanishes by itself if the process dies; elsewhere
/// it is written under a hidden temporary name beside its final one (".tw-<pid>-<random>.tmp").
/// A pending file that is never published is removed when it is destroyed. Nothing else in the
/// directory is ever removed: a file this process did not make may be anyone's, another
/// machine's on a shared folder too, so a temporary left by a killed process stays.
class PendingFile {
  public:
    explicit PendingFile(FileSystemCalls& calls = systemFileCalls()) : calls_(calls) {}
    ~PendingFile();

    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    /// Makes the file in `directory` (empty: the current directory). Returns 0 or the `errno`
    /// of the failure, so an unwritable directory is known before any work is done.
    int create(const std::string& directory);

    /// Appends `bytes`. Returns 0 or the `errno` of the failure (ENOSPC for a full disk).
    int write(std::string_view bytes);

    /// Flushes the file to the disk and gives it the name `name` in its directory, unless a
    /// file of that name exists: EEXIST then, and the file stays pending for another name.
    /// Returns 0 or the `errno` of the failure.
    int publishAs(const std::string& name);

    /// Flushes the file to the disk and puts it in place of `path` (a path, unlike the name
    /// above) in one step: `path` holds either its old content or all of the new. Returns 0 or
    /// the `errno` of the failure; `path` is then untouched.
    int replace(const std::string& path);

    /// Sets the permission bits the file will have.
    int setMode(unsigned mode);

    /// The directory the file was made in, as given to `create`.
    const std::string& directory() const { return directory_; }

  private:
    int flush();
    /// Closes the descriptor; 0 or the `errno` of a close that failed.
    int close();
    /// Links the unnamed file to `path`; EEXIST when the name is taken.
    int link(const std::string& path);
    void discard();

    FileSystemCalls& calls_;
    std::string directory_;
    int fd_ = -1;
    /// The temporary name, when the file system gave no unnamed file.
    std::string temporary_;
    bool flushed_ = false;
    bool published_ = false;
};

/// `name` in `directory`: joined with '/' unless `directory` is empty or ends in one.
std::string pathInDirectory(const std::string& directory, std::string_view name);

}  // namespace tw
