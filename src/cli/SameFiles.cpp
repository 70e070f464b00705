#include "cli/SameFiles.h"

#include <sys/stat.h>

#include "cli/ArgumentText.h"

namespace tw {

const std::u16string* SameFiles::earlierPath(const std::u16string& path) {
    struct stat info {};
    if (path.empty() || ::stat(diskBytes(path).c_str(), &info) != 0) {
        return nullptr;
    }
    const auto [place, first] = first_.try_emplace({info.st_dev, info.st_ino}, &path);
    return first ? nullptr : place->second;
}

}  // namespace tw
