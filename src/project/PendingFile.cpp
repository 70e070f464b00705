#include "project/PendingFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <vector>

namespace tw {
namespace {

/// A hidden name for a temporary file of this process in `directory`, "<dir>/.tw-<pid>-<n>.tmp".
std::string temporaryName(const std::string& directory) {
    thread_local std::minstd_rand generator{std::random_device{}()};
    return pathInDirectory(directory, ".tw-" + std::to_string(::getpid()) + "-" +
                                          std::to_string(generator() % 1000000) + ".tmp");
}

/// The process id in a temporary name of this program (".tw-<pid>-<n>.tmp", or
/// ".tw-save-<pid>-<n>.tmp" as earlier versions named them); 0 for any other name.
pid_t ownerOfTemporary(std::string_view name) {
    if (!name.starts_with(".tw-") || !name.ends_with(".tmp")) {
        return 0;
    }
    name.remove_prefix(4);
    if (name.starts_with("save-")) {
        name.remove_prefix(5);
    }
    pid_t pid = 0;
    std::size_t digits = 0;
    for (; digits < name.size() && name[digits] >= '0' && name[digits] <= '9' && digits < 9;
         ++digits) {
        pid = pid * 10 + (name[digits] - '0');
    }
    return digits > 0 && digits < name.size() && name[digits] == '-' ? pid : 0;
}

}  // namespace

void removeAbandonedTemporaries(const std::string& directory) {
    DIR* handle = ::opendir(directory.empty() ? "." : directory.c_str());
    if (handle == nullptr) {
        return;
    }
    std::vector<std::string> abandoned;
    while (const dirent* entry = ::readdir(handle)) {
        const pid_t owner = ownerOfTemporary(entry->d_name);
        // Only a process that no longer exists has given its file up.
        if (owner > 0 && ::kill(owner, 0) != 0 && errno == ESRCH) {
            abandoned.push_back(pathInDirectory(directory, entry->d_name));
        }
    }
    ::closedir(handle);
    for (const std::string& path : abandoned) {
        ::unlink(path.c_str());
    }
}

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
    removeAbandonedTemporaries(directory);
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
