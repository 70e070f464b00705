#include "project/FileIo.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <new>

#include "project/PendingFile.h"

namespace tw {
namespace {

/// Where the bytes for `path` really go: the file a symbolic link points to, else `path`.
std::string replacementTarget(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            std::string target(resolved);
            std::free(resolved);
            return target;
        }
    }
    return path;
}

/// The directory part of `path` with its final '/', empty for a bare name.
std::string directoryPrefix(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

/// Makes a finished rename durable; a directory that cannot be synced is no failure of the save.
void syncDirectoryOf(const std::string& path) {
    const std::string prefix = directoryPrefix(path);
    const std::string directory = prefix.empty() ? std::string(".") : prefix;
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

int FileSystemCalls::open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
int FileSystemCalls::fstat(int fd, struct stat* status) {
    return ::fstat(fd, status);
}
ssize_t FileSystemCalls::read(int fd, void* buffer, std::size_t size) {
    return ::read(fd, buffer, size);
}
ssize_t FileSystemCalls::write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}
int FileSystemCalls::fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}
int FileSystemCalls::fsync(int fd) {
    return ::fsync(fd);
}
int FileSystemCalls::close(int fd) {
    return ::close(fd);
}
int FileSystemCalls::rename(const char* from, const char* to) {
    return ::rename(from, to);
}
int FileSystemCalls::unlink(const char* path) {
    return ::unlink(path);
}
int FileSystemCalls::linkat(int fromDirectory, const char* from, int toDirectory, const char* to,
                            int flags) {
    return ::linkat(fromDirectory, from, toDirectory, to, flags);
}

FileSystemCalls& systemFileCalls() {
    static FileSystemCalls calls;
    return calls;
}

int readWholeFile(const std::string& path, std::string& bytes, FileSystemCalls& calls) {
    if (path.find('\0') != std::string::npos) {
        return EINVAL;  // the system would open the shorter name before the NUL
    }
    // Non-blocking, so that opening a pipe does not wait for a writer.
    const int fd = calls.open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0);
    if (fd < 0) {
        return errno;
    }
    int error = 0;
    struct stat status {};
    if (calls.fstat(fd, &status) != 0) {
        error = errno;
    } else if (S_ISDIR(status.st_mode)) {
        error = EISDIR;
    } else if (!S_ISREG(status.st_mode)) {
        error = ENODEV;
    }
    std::string content;
    char buffer[65536];
    try {
        while (error == 0) {
            const ssize_t got = calls.read(fd, buffer, sizeof buffer);
            if (got < 0) {
                if (errno != EINTR) {
                    error = errno;
                }
            } else if (got == 0) {
                break;
            } else {
                content.append(buffer, static_cast<std::size_t>(got));
            }
        }
    } catch (const std::bad_alloc&) {
        error = ENOMEM;  // a file too large to hold is an error of reading, not of the program
    }
    calls.close(fd);
    if (error == 0) {
        bytes = std::move(content);
    }
    return error;
}

int writeFileReplacing(const std::string& path, std::string_view bytes, FileSystemCalls& calls) {
    if (path.find('\0') != std::string::npos) {
        return EINVAL;
    }
    const std::string target = replacementTarget(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) {
            return EISDIR;
        }
        if (!S_ISREG(existing.st_mode)) {
            return kNotARegularFile;
        }
        // No write bit: read-only, even for root, whom the permissions do not stop.
        if ((existing.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
            return kReadOnlyFile;
        }
    }
    PendingFile file(calls);
    if (const int error = file.create(directoryPrefix(target)); error != 0) {
        return error;
    }
    if (exists) {
        if (const int error = file.setMode(existing.st_mode & 07777); error != 0) {
            return error;
        }
    }
    if (const int error = file.write(bytes); error != 0) {
        return error;
    }
    if (const int error = file.replace(target); error != 0) {
        return error;
    }
    syncDirectoryOf(target);
    return 0;
}

std::string canonicalPath(const std::string& path) {
    char* resolved = ::realpath(path.empty() ? "." : path.c_str(), nullptr);
    if (resolved == nullptr) {
        return {};
    }
    std::string result = resolved;
    std::free(resolved);
    return result;
}

}  // namespace tw
