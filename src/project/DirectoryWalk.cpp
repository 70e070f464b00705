#include "project/DirectoryWalk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "engine/TextConversion.h"
#include "engine/WideChar.h"

namespace tw {
namespace {

struct DirectoryEntry {
    std::string name;      // bytes as the file system gives them
    std::u16string order;  // the name upper-cased, for the order of the walk
    bool isDirectory = false;
    bool isLink = false;
};

/// One directory being walked: its entries and how far the walk has come.
struct WalkFrame {
    std::string path;  // ends in '/', or empty for the current directory
    std::vector<DirectoryEntry> entries;
    std::size_t next = 0;
};

/// What `readDirectory` returns for a directory walked already.
constexpr int kWalkedAlready = -1;

/// Reads the entries of `frame.path`, in name order, unless the directory is in `walked`, to
/// which it is added; 0, `kWalkedAlready`, or the `errno` that says why it cannot be read.
int readDirectory(WalkFrame& frame, std::set<std::pair<dev_t, ino_t>>& walked) {
    DIR* handle = ::opendir(frame.path.empty() ? "." : frame.path.c_str());
    if (handle == nullptr) {
        return errno;
    }
    struct stat self {};
    if (::fstat(::dirfd(handle), &self) != 0) {
        const int error = errno;
        ::closedir(handle);
        return error;
    }
    if (!walked.insert({self.st_dev, self.st_ino}).second) {
        ::closedir(handle);
        return kWalkedAlready;
    }
    while (const dirent* entry = ::readdir(handle)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        bool isDirectory = entry->d_type == DT_DIR;
        bool isLink = entry->d_type == DT_LNK;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat self {};
            isLink = ::lstat((frame.path + name).c_str(), &self) == 0 && S_ISLNK(self.st_mode);
            isDirectory = !isLink && S_ISDIR(self.st_mode);
        }
        if (isLink) {
            struct stat target {};
            isDirectory =
                ::stat((frame.path + name).c_str(), &target) == 0 && S_ISDIR(target.st_mode);
        }
        std::u16string order = scanOrderKey(name);
        frame.entries.push_back({std::move(name), std::move(order), isDirectory, isLink});
    }
    ::closedir(handle);
    // Names in order regardless of case, ties by their bytes: the same tree is walked in the
    // same order on every machine and file system.
    std::sort(frame.entries.begin(), frame.entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) {
                  return scanOrderLess(a.order, a.name, b.order, b.name);
              });
    return 0;
}

}  // namespace

std::u16string scanOrderKey(std::string_view name) {
    std::u16string key = utf16FromUtf8(name, InvalidUtf8::Escape);
    for (char16_t& unit : key) {
        unit = toUpperUnit(unit);
    }
    return key;
}

bool scanPathLess(std::string_view pathA, std::string_view pathB) {
    for (;;) {
        const std::size_t slashA = pathA.find('/');
        const std::size_t slashB = pathB.find('/');
        const std::string_view nameA = pathA.substr(0, slashA);
        const std::string_view nameB = pathB.substr(0, slashB);
        if (nameA != nameB) {
            return scanOrderLess(scanOrderKey(nameA), nameA, scanOrderKey(nameB), nameB);
        }
        if (slashA == std::string_view::npos || slashB == std::string_view::npos) {
            // One path is the other's folder, or both are the same.
            return slashA == std::string_view::npos && slashB != std::string_view::npos;
        }
        pathA.remove_prefix(slashA + 1);
        pathB.remove_prefix(slashB + 1);
    }
}

void walkDirectory(const std::string& directory, bool withSubfolders,
                   const DirectoryWalkCalls& calls, const std::vector<ScanFilter*>& filters) {
    // An explicit stack, so depth costs memory rather than call stack.
    std::vector<std::unique_ptr<WalkFrame>> stack;
    // Every directory walked so far: a graph of links, each level linking twice to the next,
    // would otherwise be walked once for every way through it.
    std::set<std::pair<dev_t, ino_t>> walked;
    const auto enter = [&stack, &walked, &calls](std::string path) {
        if (calls.onDirectory) {
            calls.onDirectory();
        }
        auto frame = std::make_unique<WalkFrame>();
        frame->path = std::move(path);
        const int status = readDirectory(*frame, walked);
        if (status == kWalkedAlready) {
            if (calls.onSeenAgain) {
                calls.onSeenAgain(frame->path);
            }
            return;
        }
        if (status != 0) {
            if (calls.onUnreadable) {
                calls.onUnreadable(frame->path, status);
            }
            return;
        }
        stack.push_back(std::move(frame));
    };

    enter(directory);
    while (!stack.empty()) {
        WalkFrame& frame = *stack.back();
        if (frame.next == frame.entries.size()) {
            stack.pop_back();
            continue;
        }
        const DirectoryEntry& entry = frame.entries[frame.next++];
        if (entry.isDirectory && !withSubfolders) {
            continue;
        }
        if (!filters.empty()) {
            const std::string relativePath = frame.path.substr(directory.size()) + entry.name;
            const ScanEntry seen{relativePath, entry.name, entry.isDirectory, entry.isLink};
            bool taken = true;
            for (ScanFilter* filter : filters) {
                taken = taken && filter->takes(seen);
            }
            if (!taken) {
                continue;
            }
        }
        if (entry.isDirectory) {
            enter(frame.path + entry.name + '/');
            continue;
        }
        calls.onFile(frame.path, entry.name);
    }
}

}  // namespace tw
