#include "engine/SourceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tw {

SourceFile::~SourceFile() {
    close();
}

bool SourceFile::open(const std::string& diskPath) {
    close();
    // A name with a NUL byte would open a different, shorter name.
    if (diskPath.find('\0') != std::string::npos) {
        return false;
    }
    // Non-blocking so that opening a named pipe cannot wait for a writer.
    const int fd = ::open(diskPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void SourceFile::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::uint32_t SourceFile::sizeBytes() const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0 || info.st_size < 0 ||
        static_cast<std::uint64_t>(info.st_size) >= 0xFFFFFFFFull) {
        return 0xFFFFFFFFu;
    }
    return static_cast<std::uint32_t>(info.st_size);
}

std::uint64_t SourceFile::byteLength() const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0 || info.st_size < 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

std::size_t SourceFile::readAt(std::uint64_t offset, unsigned char* into, std::size_t count) const {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_, into + done, count - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool SourceFile::readAll(std::string& bytes, std::uint64_t limit) const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) {
        bytes.clear();
        return false;
    }
    // The size is a hint: the file may grow or shrink while it is read. Resizing a reused
    // buffer that is already large enough costs nothing.
    bytes.resize(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 0) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            bytes.resize(bytes.size() * 2 + 4096);
        }
        const ssize_t got = ::pread(fd_, bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            bytes.clear();
            return false;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
        if (done > limit) {
            bytes.resize(done);
            return false;
        }
    }
    bytes.resize(done);
    return true;
}

}  // namespace tw
