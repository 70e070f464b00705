#include "cli/ListFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "cli/ArgumentText.h"

namespace tw {

void appendListLines(std::string_view bytes, std::vector<std::u16string>& files) {
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        files.push_back(stripQuotes(argumentText(line)));
        start = next;
    }
}

int readListFile(const std::u16string& path, std::vector<std::u16string>& files) {
    const std::string diskPath = diskBytes(path);
    if (diskPath.find('\0') != std::string::npos) {
        return EINVAL;
    }
    // Opened without blocking, so a named pipe nobody writes to reads as empty rather than
    // waiting for ever; then read normally.
    const int fd = ::open(diskPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    int error = 0;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
    } else if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) {
        error = ENODEV;  // a device is no list file, and might never end
    } else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        error = errno;
    }
    std::string bytes;
    try {
        char buffer[65536];
        while (error == 0) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0) {
                if (errno != EINTR) {
                    error = errno;
                }
                continue;
            }
            if (got == 0) {
                break;
            }
            if (bytes.size() + static_cast<std::size_t>(got) > kLargestListFile) {
                error = EFBIG;
                break;
            }
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        if (error == 0) {
            appendListLines(bytes, files);
        }
    } catch (const std::bad_alloc&) {
        error = ENOMEM;
    }
    ::close(fd);
    return error;
}

}  // namespace tw
