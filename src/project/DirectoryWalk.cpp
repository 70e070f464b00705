#include "project/DirectoryWalk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <utility>
#include <vector>

namespace tw {
namespace {

struct DirectoryEntry {
    std::string name;  // bytes as the file system gives them
    bool isDirectory = false;
};

/// One directory being walked: its entries and how far the walk has come.
struct WalkFrame {
    std::string path;  // ends in '/', or empty for the current directory
    std::vector<DirectoryEntry> entries;
    std::size_t next = 0;
    dev_t device = 0;
    ino_t inode = 0;
};

/// Reads the entries of `frame.path` and its identity.
bool readDirectory(WalkFrame& frame) {
    DIR* handle = ::opendir(frame.path.empty() ? "." : frame.path.c_str());
    if (handle == nullptr) {
        return false;
    }
    struct stat self {};
    if (::fstat(::dirfd(handle), &self) != 0) {
        ::closedir(handle);
        return false;
    }
    frame.device = self.st_dev;
    frame.inode = self.st_ino;
    while (const dirent* entry = ::readdir(handle)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat target {};
            isDirectory =
                ::stat((frame.path + name).c_str(), &target) == 0 && S_ISDIR(target.st_mode);
        }
        frame.entries.push_back({std::move(name), isDirectory});
    }
    ::closedir(handle);
    return true;
}

}  // namespace

void walkDirectory(
    const std::string& directory, bool withSubfolders,
    const std::function<void(const std::string& directory, const std::string& name)>& onFile,
    const std::function<void()>& onDirectory) {
    // An explicit stack, so depth costs memory rather than call stack.
    std::vector<std::unique_ptr<WalkFrame>> stack;
    const auto enter = [&stack, &onDirectory](std::string path) {
        if (onDirectory) {
            onDirectory();
        }
        auto frame = std::make_unique<WalkFrame>();
        frame->path = std::move(path);
        if (!readDirectory(*frame)) {
            return;
        }
        for (const auto& open : stack) {
            if (open->device == frame->device && open->inode == frame->inode) {
                return;
            }
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
        if (entry.isDirectory) {
            if (withSubfolders) {
                enter(frame.path + entry.name + '/');
            }
            continue;
        }
        onFile(frame.path, entry.name);
    }
}

}  // namespace tw
