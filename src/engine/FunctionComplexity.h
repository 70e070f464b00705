#pragma once

#include <cstdint>
#include <string>

namespace tw {

/// One function of a file counted in the Cyclomatic Complexity mode: its name as written at its
/// definition (with the classes that hold it, or the qualification written there), where it
/// stands and its cyclomatic complexity (1 plus its decision points).
struct FunctionComplexity {
    std::u16string name;
    /// 1-based line of the name.
    std::uint32_t line = 0;
    /// Line where the declaration begins (its first specifier, template head or annotation).
    std::uint32_t firstLine = 0;
    /// Line of the closing brace; the last line of the file when the body never closes.
    std::uint32_t lastLine = 0;
    std::uint32_t complexity = 1;

    bool operator==(const FunctionComplexity&) const = default;
};

}  // namespace tw
