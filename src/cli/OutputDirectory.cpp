#include "cli/OutputDirectory.h"

#include <sys/stat.h>

#include <cerrno>

namespace tw {
namespace {

/// Makes one folder whose parent exists; 0 when it is a folder afterwards.
int makeOne(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) {
        return 0;
    }
    const int error = errno;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    }
    return error;
}

}  // namespace

int makeDirectories(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return path.empty() ? ENOENT : EINVAL;
    }
    // Each folder from the top down; a '/' at the start or doubled names no folder of its own.
    for (std::size_t end = path.find('/', 1); end != std::string::npos;
         end = path.find('/', end + 1)) {
        if (path[end - 1] == '/') {
            continue;
        }
        if (const int error = makeOne(path.substr(0, end)); error != 0) {
            return error;
        }
    }
    return path.back() == '/' ? 0 : makeOne(path);
}

}  // namespace tw
