#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// Appends one path per line of a list file's bytes to `files`: UTF-8 (bytes that are not
/// kept escaped), a trailing carriage return dropped, quotes at either end stripped. Empty
/// lines are appended too; the project tree refuses them later.
void appendListLines(std::string_view bytes, std::vector<std::u16string>& files);

/// List files larger than this are refused (a list of a million long paths is far smaller).
inline constexpr std::size_t kLargestListFile = std::size_t{1} << 30;

/// Reads the list file at `path` (escaped text) into `files`: a regular file or a pipe. Returns 0,
/// or the `errno` that says why it cannot be opened or read as one: missing (ENOENT), a
/// directory (EISDIR), a device (ENODEV), larger than `kLargestListFile` (EFBIG), more than the
/// memory can hold (ENOMEM).
int readListFile(const std::u16string& path, std::vector<std::u16string>& files);

}  // namespace tw
