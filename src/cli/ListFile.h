#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// Appends one path per line of a list file's bytes to `files`: UTF-8 (bytes that are not
/// kept escaped), a trailing carriage return dropped, quotes at either end stripped. Empty
/// lines are appended too; the project tree refuses them later.
void appendListLines(std::string_view bytes, std::vector<std::u16string>& files);

/// Reads the list file at `path` (escaped text) into `files`; false when it cannot be opened
/// as a list file, a directory included.
bool readListFile(const std::u16string& path, std::vector<std::u16string>& files);

}  // namespace tw
