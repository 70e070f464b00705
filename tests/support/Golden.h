#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "support/TempDir.h"

namespace tw::test {

/// Compares `actual` with the golden file at `path`. With TW_REFRESH_GOLDEN=1 in the
/// environment the golden file is rewritten instead (then review the change with git diff).
inline void expectMatchesGolden(const std::string& actual, const std::string& path) {
    const char* refresh = std::getenv("TW_REFRESH_GOLDEN");
    if (refresh != nullptr && std::string(refresh) == "1") {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << actual;
        return;
    }
    const std::string expected = readBytes(path);
    EXPECT_FALSE(expected.empty()) << "missing golden file " << path;
    EXPECT_EQ(actual, expected) << "differs from " << path << " (TW_REFRESH_GOLDEN=1 rewrites it)";
}

}  // namespace tw::test
