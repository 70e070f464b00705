#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tw::bench {

/// Kinds of source the generator writes.
enum class GeneratedLanguage { Cpp, CppHeader, Java, ResourceScript };

/// Writes realistic source text of roughly `bytes` bytes: functions with declarations, calls,
/// loops, conditions, operators, string literals, array initialisers, block, line and banner
/// comments and blank lines in the proportions of ordinary code. The same seed always gives
/// the same text.
std::string generateSource(GeneratedLanguage language, std::size_t bytes, std::uint32_t seed);

}  // namespace tw::bench
