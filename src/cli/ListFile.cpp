#include "cli/ListFile.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>

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

bool readListFile(const std::u16string& path, std::vector<std::u16string>& files) {
    const std::string diskPath = diskBytes(path);
    struct stat info {};
    if (::stat(diskPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return false;
    }
    std::ifstream in(diskPath, std::ios::binary);
    if (!in) {
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    appendListLines(bytes, files);
    return true;
}

}  // namespace tw
