#pragma once

#include <cstdint>
#include <string_view>

namespace tw {

/// What the `code` counter counts, and which stages of a count run.
enum class CountMode : std::int32_t {
    Physical = 0,
    TerminatingCharacters = 1,
    Executable = 2,
    CyclomaticComplexity = 3,
};

/// The mode's name in reports and the quick summary ("Terminating Characters").
/// Values outside the enumeration read as "Physical", the default mode.
std::u16string_view countModeName(CountMode mode);

/// The mode of a command-line letter ("p", "t", "e", "c"); false for any other text.
bool countModeFromLetter(std::u16string_view letter, CountMode& mode);

}  // namespace tw
