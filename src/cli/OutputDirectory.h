#pragma once

#include <string>

namespace tw {

/// Makes the folder `path` and every missing folder above it, as `mkdir -p` does. Returns 0
/// when `path` is a folder afterwards, else the `errno` of the step that failed (ENOTDIR when
/// something on the way is not a folder).
int makeDirectories(const std::string& path);

}  // namespace tw
