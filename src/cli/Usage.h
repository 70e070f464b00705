#pragma once

#include <string_view>

#include "TallyweaverVersion.h"

namespace tw {

/// The text `--help` prints: every option, the report words, the mode letters, exit codes.
std::string_view usageText();

/// The text `--version` prints.
inline constexpr std::string_view kVersionText = "Tallyweaver " TW_VERSION "\n";

}  // namespace tw
