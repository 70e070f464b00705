#include "project/DiskPaths.h"

#include "engine/FileCount.h"
#include "project/ProjectFolder.h"

namespace tw {
namespace {

/// The first record of the subtree in pre-order, and how many folders below `folder` it lies.
struct FirstRecord {
    const FileCount* record = nullptr;
    std::size_t levels = 0;
};

FirstRecord firstRecordBelow(const ProjectFolder& folder) {
    if (!folder.files().empty()) {
        return {folder.files().front().get(), 0};
    }
    for (const auto& subfolder : folder.subfolders()) {
        FirstRecord found = firstRecordBelow(*subfolder);
        if (found.record != nullptr) {
            ++found.levels;
            return found;
        }
    }
    return {};
}

}  // namespace

std::string diskPathOfFile(const ProjectFolder& root, std::u16string_view path) {
    const FileCount* record = root.FindFile(path).record;
    return record != nullptr ? record->diskPath : diskPathOfPath(path);
}

std::string diskPathOfFolder(const ProjectFolder& folder) {
    const FirstRecord first = firstRecordBelow(folder);
    if (first.record == nullptr) {
        return diskPathOfPath(folder.FullPath());
    }
    // The file name and each folder between the record's folder and `folder` are one
    // component of the disk path each.
    std::string path = first.record->diskPath;
    for (std::size_t strip = 0; strip <= first.levels; ++strip) {
        const std::size_t slash = path.rfind('/');
        if (slash == std::string::npos) {
            return ".";
        }
        path.resize(slash);
    }
    return path.empty() ? "/" : path;
}

}  // namespace tw
