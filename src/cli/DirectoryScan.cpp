// CCustomCommandLineInfo::AddFilesFromDirectory: the directory scan of the console run.
#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <utility>
#include <vector>

#include "cli/ArgumentText.h"
#include "cli/CustomCommandLineInfo.h"
#include "engine/WideChar.h"

namespace tw {
namespace {

struct DirectoryEntry {
    std::string name;  // bytes as the file system gives them
    bool isDirectory = false;
};

/// The entries of one directory in the file system's order, without "." and "..". A link is
/// taken as what it points to; an entry whose kind cannot be told is taken as a file.
bool readEntries(const std::string& directory, std::vector<DirectoryEntry>& entries,
                 struct stat& self) {
    entries.clear();
    DIR* handle = ::opendir(directory.empty() ? "." : directory.c_str());
    if (handle == nullptr) {
        return false;
    }
    if (::fstat(::dirfd(handle), &self) != 0) {
        ::closedir(handle);
        return false;
    }
    while (const dirent* entry = ::readdir(handle)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat target {};
            isDirectory = ::stat((directory + name).c_str(), &target) == 0 &&
                          S_ISDIR(target.st_mode);
        }
        entries.push_back({name, isDirectory});
    }
    ::closedir(handle);
    return true;
}

/// One directory being scanned: its entries and how far the scan has come.
struct ScanFrame {
    std::string path;  // ends in '/'
    std::vector<DirectoryEntry> entries;
    std::size_t next = 0;
    dev_t device = 0;
    ino_t inode = 0;
};

}  // namespace

bool CCustomCommandLineInfo::AddFilesFromDirectory(std::u16string_view path,
                                                   bool withSubfolders) {
    if (extensions.empty()) {
        return false;
    }
    std::string start = diskBytes(path);
    if (!start.empty() && start.back() != '/' && start.back() != '\\') {
        start += '/';
    }
    // An explicit stack, so depth costs memory rather than call stack; a directory already
    // being scanned (reached again through a link) is not entered again.
    std::vector<std::unique_ptr<ScanFrame>> stack;
    const auto enter = [&stack](std::string directory) {
        auto frame = std::make_unique<ScanFrame>();
        struct stat self {};
        if (!readEntries(directory, frame->entries, self)) {
            return;
        }
        for (const auto& open : stack) {
            if (open->device == self.st_dev && open->inode == self.st_ino) {
                return;
            }
        }
        frame->path = std::move(directory);
        frame->device = self.st_dev;
        frame->inode = self.st_ino;
        stack.push_back(std::move(frame));
    };
    enter(start);
    while (!stack.empty()) {
        ScanFrame& frame = *stack.back();
        if (frame.next == frame.entries.size()) {
            stack.pop_back();
            continue;
        }
        const DirectoryEntry& entry = frame.entries[frame.next++];
        if (entry.isDirectory) {
            if (withSubfolders) {
                enter(frame.path + entry.name + "/");
            }
            continue;
        }
        const std::size_t dot = entry.name.rfind('.');
        if (dot == std::string::npos) {
            continue;
        }
        std::u16string extension = argumentText(std::string_view(entry.name).substr(dot));
        for (char16_t& unit : extension) {
            unit = toLowerUnit(unit);
        }
        for (const std::u16string& wanted : extensions) {
            if (wanted == extension) {
                files.push_back(argumentText(frame.path + entry.name));
                break;
            }
        }
    }
    return true;
}

}  // namespace tw
