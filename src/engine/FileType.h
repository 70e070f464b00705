#pragma once

#include <cstdint>

namespace tw {

/// Kind of source file, fixed at construction of its record from the path's extension. The
/// value is stored in project files. What each kind means (its name, extensions and counting
/// rules) is its row in the language table, `engine/Language.h`.
enum class FileType : std::int32_t {
    CppHeader = 0,
    CppSource = 1,
    ResourceScript = 2,
    JavaSource = 3,
    CSharpSource = 4,
    Undefined = 5,
};

}  // namespace tw
