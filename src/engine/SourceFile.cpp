#include "engine/SourceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tw {

SourceFile::~SourceFile() {
    close();
}

bool SourceFile::open(const std::string& diskPath) {
    close();
    error_ = 0;
    // A name with a NUL byte would open a different, shorter name.
    if (diskPath.find('\0') != std::string::npos) {
        error_ = EINVAL;
        return false;
    }
    // Non-blocking so that opening a named pipe cannot wait for a writer.
    const int fd = ::open(diskPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error_ = errno;
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error_ = errno;
        ::close(fd);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error_ = S_ISDIR(info.st_mode) ? EISDIR : kNotARegularFile;
        ::close(fd);
        return false;
    }
    fd_ = fd;
    length_ = info.st_size < 0 ? 0 : static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool SourceFile::open(const HeldFile& held) {
    close();
    error_ = held.error;
    if (held.error != 0) {
        return false;
    }
    // Never null while open, whatever an empty view holds.
    held_ = held.bytes.data() != nullptr ? held.bytes.data() : "";
    length_ = held.bytes.size();
    return true;
}

void SourceFile::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    held_ = nullptr;
}

std::uint32_t SourceFile::sizeBytes() const {
    if (!isOpen() || length_ >= 0xFFFFFFFFull) {
        return 0xFFFFFFFFu;
    }
    return static_cast<std::uint32_t>(length_);
}

std::size_t SourceFile::readAt(std::uint64_t offset, unsigned char* into, std::size_t count) const {
    const std::int64_t got = readSome(offset, into, count);
    return got < 0 ? 0 : static_cast<std::size_t>(got);
}

std::int64_t SourceFile::readSome(std::uint64_t offset, unsigned char* into, std::size_t count,
                                  std::uint64_t knownEnd) const {
    if (held_ != nullptr) {
        const std::uint64_t from = std::min(offset, length_);
        const auto got = static_cast<std::size_t>(std::min<std::uint64_t>(count, length_ - from));
        if (got != 0) {
            std::memcpy(into, held_ + from, got);
        }
        return static_cast<std::int64_t>(got);
    }
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(fd_, into + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error_ = errno;
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
        if (done < count && offset + done >= knownEnd) {
            break;
        }
    }
    return static_cast<std::int64_t>(done);
}

}  // namespace tw
