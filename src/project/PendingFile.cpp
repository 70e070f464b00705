#include "project/PendingFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace tw {
namespace {

/// A hidden name for a temporary file of this process in `directory`,
/// "<dir>/.tw-<pid>-<random>.tmp". It is made with O_EXCL, so it never takes an existing file.
std::string temporaryName(const std::string& directory) {
    thread_local std::mt19937_64 generator{std::random_device{}()};
    return pathInDirectory(directory, ".tw-" + std::to_string(::getpid()) + "-" +
                                          std::to_string(generator() % 1000000000000) + ".tmp");
}

}  // namespace

std::string pathInDirectory(const std::string& directory, std::string_view name) {
    std::string path = directory;
    if (!path.empty() && path.back() != '/') {
        path.push_back('/');
    }
    path.append(name);
    return path;
}

PendingFile::~PendingFile() {
    discard();
}

int PendingFile::create(const std::string& directory) {
    discard();
    directory_ = directory;
    const std::string where = directory.empty() ? std::string(".") : directory;
    if (where.find('\0') != std::string::npos) {
        return EINVAL;
    }
    fd_ = calls_.open(where.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
        return 0;
    }
    // EOPNOTSUPP, EISDIR and EINVAL say the file system or the kernel makes no unnamed files;
    // anything else (a missing or unwritable directory) is the answer for named ones too.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return errno;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_ = temporaryName(directory);
        fd_ = calls_.open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            return 0;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    const int error = errno;
    temporary_.clear();
    return error;
}

int PendingFile::write(std::string_view bytes) {
    if (fd_ < 0) {
        return EBADF;
    }
    flushed_ = false;
    while (!bytes.empty()) {
        const ssize_t written = calls_.write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int PendingFile::setMode(unsigned mode) {
    if (fd_ < 0) {
        return EBADF;
    }
    return calls_.fchmod(fd_, static_cast<mode_t>(mode)) == 0 ? 0 : errno;
}

int PendingFile::flush() {
    if (fd_ < 0) {
        return EBADF;
    }
    if (!flushed_) {
        // Some file systems report a full disk only here.
        if (calls_.fsync(fd_) != 0) {
            return errno;
        }
        flushed_ = true;
    }
    return 0;
}

int PendingFile::link(const std::string& path) {
    if (!temporary_.empty()) {
        return calls_.linkat(AT_FDCWD, temporary_.c_str(), AT_FDCWD, path.c_str(), 0) == 0 ? 0
                                                                                           : errno;
    }
    // An unnamed file is reached through its descriptor's entry in /proc.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    return calls_.linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0
               ? 0
               : errno;
}

int PendingFile::publishAs(const std::string& name) {
    if (published_) {
        return EINVAL;
    }
    if (const int error = flush(); error != 0) {
        return error;
    }
    const std::string path = pathInDirectory(directory_, name);
    if (const int error = link(path); error != 0) {
        return error;
    }
    published_ = true;
    if (const int error = close(); error != 0) {
        calls_.unlink(path.c_str());
        return error;
    }
    discard();
    return 0;
}

int PendingFile::replace(const std::string& path) {
    if (published_) {
        return EINVAL;
    }
    if (const int error = flush(); error != 0) {
        return error;
    }
    // An unnamed file gets a temporary name just before the rename: the only moment a killed
    // process could leave it behind.
    std::string named = temporary_;
    if (named.empty()) {
        int error = EEXIST;
        for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
            named = temporaryName(directory_);
            error = link(named);
        }
        if (error != 0) {
            return error;
        }
    }
    int error = close();
    if (error == 0 && calls_.rename(named.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        calls_.unlink(named.c_str());
        temporary_.clear();
        discard();
        return error;
    }
    temporary_.clear();
    published_ = true;
    discard();
    return 0;
}

int PendingFile::close() {
    if (fd_ < 0) {
        return 0;
    }
    const int result = calls_.close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

void PendingFile::discard() {
    close();
    if (!temporary_.empty()) {
        // Unpublished, the file goes; published under its final name, it keeps only that one.
        calls_.unlink(temporary_.c_str());
        temporary_.clear();
    }
}

}  // namespace tw
