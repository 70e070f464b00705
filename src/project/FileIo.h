#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <string_view>

#include "engine/SourceFile.h"

namespace tw {

/// The system calls through which whole files are read and written. The default versions call
/// the system; a test derives from it to make one step fail with the error it chooses.
class FileSystemCalls {
  public:
    virtual ~FileSystemCalls() = default;

    virtual int open(const char* path, int flags, mode_t mode);
    virtual int fstat(int fd, struct stat* status);
    virtual ssize_t read(int fd, void* buffer, std::size_t size);
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual int fchmod(int fd, mode_t mode);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
    virtual int linkat(int fromDirectory, const char* from, int toDirectory, const char* to,
                       int flags);
};

/// The calls that go straight to the system.
FileSystemCalls& systemFileCalls();

/// Reads the whole regular file `path` into `bytes`. Returns 0, or the `errno` of the step that
/// failed; something that is not a regular file (a directory, a pipe) gives EISDIR or ENODEV
/// without being read, so a pipe cannot block the caller. A name holding a NUL byte is EINVAL.
int readWholeFile(const std::string& path, std::string& bytes,
                  FileSystemCalls& calls = systemFileCalls());

/// What `writeFileReplacing` returns, in place of an `errno`, for a `path` it will not replace:
/// something other than a regular file or a folder (a device, a pipe, a socket), which
/// replacing would turn into a regular file (`kNotARegularFile`, as the engine names it); and a
/// regular file that is read-only.
inline constexpr int kReadOnlyFile = -2;

/// Writes `bytes` as the new content of `path`: they go into a new, unnamed file in the same
/// directory (a `PendingFile`), which is flushed to the disk and then renamed over `path`, so
/// `path` holds either its old content or all of the new one, and a process killed at any
/// moment leaves no temporary file behind. The new file takes the place of the old: an existing
/// file keeps its permissions, but no other hard link to it sees the new content; a symbolic
/// link keeps pointing where it did. Only a new name or a regular file that may be written is
/// replaced: a folder gives EISDIR, anything else `kNotARegularFile` or `kReadOnlyFile`, checked
/// before anything is opened. Returns 0, or the `errno` of the step that failed; the new file is
/// removed then and `path` is untouched. A name holding a NUL byte is EINVAL.
int writeFileReplacing(const std::string& path, std::string_view bytes,
                       FileSystemCalls& calls = systemFileCalls());

/// The canonical absolute form of `path` (links resolved), without a final '/'; empty when it
/// cannot be resolved. An empty `path` is the working directory.
std::string canonicalPath(const std::string& path);

}  // namespace tw
