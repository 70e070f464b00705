#include "cli/ListFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "cli/ArgumentText.h"

namespace tw {

void ListFileLines::feed(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const char c = bytes[i];
        if (c == '\n' || c == '\r') {
            // The line feed of a CR LF pair ends nothing more.
            if (!(c == '\n' && afterCarriageReturn_)) {
                endLine();
            }
            afterCarriageReturn_ = c == '\r';
            ++i;
            continue;
        }
        afterCarriageReturn_ = false;
        std::size_t end = bytes.find_first_of("\r\n", i);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        if (!tooLong_) {
            const std::size_t room = kLongestListLine - line_.size();
            if (end - i > room) {
                tooLong_ = true;
                line_.clear();
                line_.shrink_to_fit();
            } else {
                line_.append(bytes.substr(i, end - i));
            }
        }
        i = end;
    }
}

void ListFileLines::finish() {
    if (!line_.empty() || tooLong_) {
        endLine();
    }
}

void ListFileLines::endLine() {
    if (tooLong_) {
        if (onLongLine_) {
            onLongLine_(lineNumber_);
        }
    } else if (!line_.empty()) {
        files_.push_back(stripQuotes(argumentText(line_)));
    } else if (!keptEmpty_) {
        keptEmpty_ = true;
        files_.emplace_back();
    }
    line_.clear();
    tooLong_ = false;
    ++lineNumber_;
}

void appendListLines(std::string_view bytes, std::vector<std::u16string>& files) {
    ListFileLines lines(files);
    lines.feed(bytes);
    lines.finish();
}

int readListFile(const std::u16string& path, std::vector<std::u16string>& files,
                 const std::function<void(std::size_t line)>& onLongLine) {
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
    } else if (S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) > kLargestListFile) {
        error = EFBIG;
    } else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        error = errno;
    }
    try {
        ListFileLines lines(files, onLongLine);
        std::size_t total = 0;
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
                lines.finish();
                break;
            }
            total += static_cast<std::size_t>(got);
            if (total > kLargestListFile) {
                error = EFBIG;  // a pipe without end, or a file that grew while read
                break;
            }
            lines.feed(std::string_view(buffer, static_cast<std::size_t>(got)));
        }
    } catch (const std::bad_alloc&) {
        error = ENOMEM;
    }
    ::close(fd);
    return error;
}

}  // namespace tw
