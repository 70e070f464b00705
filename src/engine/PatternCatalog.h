#pragma once

#include <string_view>
#include <vector>

#include "engine/Pattern.h"

namespace tw {

/// How a stage applies one of its fixed patterns.
enum class PatternUse {
    Search,     ///< searched in a text; positions and groups matter
    FullMatch,  ///< matched against a whole piece; only yes or no matters
};

/// One fixed pattern of the engine as the counting rules write it, and the form the engine runs
/// when that differs (a rewrite whose cost is linear where the written form backtracks without
/// end). The two must accept exactly the same texts.
struct CataloguedPattern {
    std::u16string_view name;
    std::u16string_view written;
    std::u16string_view running;  ///< equal to `written` unless rewritten
    PatternUse use;
    PatternScanner scanner = nullptr;     ///< what the engine runs in a search's place, if any
    WholeScanner wholeScanner = nullptr;  ///< what it runs in a full match's place, if any
};

/// Every fixed pattern of the engine, for the tests that hold them to their written meaning.
const std::vector<CataloguedPattern>& patternCatalog();

}  // namespace tw
