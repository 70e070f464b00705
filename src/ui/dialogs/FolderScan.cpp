#include "ui/dialogs/FolderScan.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QSet>
#include <QString>

#include <memory>
#include <string_view>
#include <utility>

#include "ui/dialogs/ExtensionLists.h"

namespace tw::ui {
namespace {

struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;
};

/// One directory being scanned: its entries and how far the scan has come.
struct ScanFrame {
    std::string path;  // ends in a separator
    std::vector<DirectoryEntry> entries;
    std::size_t next = 0;
    dev_t device = 0;
    ino_t inode = 0;
};

/// Reads the entries of `directory` without "." and "..", and its identity. A link counts as
/// what it points to; an entry whose kind cannot be found out counts as a file.
bool readDirectory(ScanFrame& frame) {
    DIR* handle = ::opendir(frame.path.c_str());
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

std::vector<std::string> scanFolderForFiles(std::string directory, const QStringList& included,
                                            bool withSubfolders,
                                            const std::function<void()>& onDirectory) {
    std::vector<std::string> found;
    if (included.isEmpty()) {
        return found;
    }
    QSet<QString> wanted;
    for (const QString& extension : included) {
        wanted.insert(extension.toCaseFolded());
    }
    const bool withoutPeriod = wanted.contains(QString::fromUtf16(kNoExtension).toCaseFolded());

    if (directory.empty() || (directory.back() != '/' && directory.back() != '\\')) {
        directory += '/';
    }

    std::vector<std::unique_ptr<ScanFrame>> stack;
    const auto enter = [&stack, &onDirectory](std::string path) {
        if (onDirectory) {
            onDirectory();
        }
        auto frame = std::make_unique<ScanFrame>();
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

    enter(std::move(directory));
    while (!stack.empty()) {
        ScanFrame& frame = *stack.back();
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
        const std::size_t period = entry.name.rfind('.');
        bool take = false;
        if (period == std::string::npos) {
            take = withoutPeriod;
        } else {
            const std::string_view extension = std::string_view(entry.name).substr(period);
            take = wanted.contains(
                QString::fromUtf8(extension.data(), static_cast<qsizetype>(extension.size()))
                    .toCaseFolded());
        }
        if (take) {
            found.push_back(frame.path + entry.name);
        }
    }
    return found;
}

}  // namespace tw::ui
