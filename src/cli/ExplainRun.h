#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "engine/CountSettings.h"

namespace tw {

/// `-explain`: counts each file by `settings` and prints it line by line instead of writing the
/// output files: as text for people, or as one JSON document with `json`. Each path is
/// counted once, in the order given. Returns the run's result code.
int runExplain(const std::vector<std::u16string>& files, const CountSettings& settings, bool json,
               std::ostream& out);

}  // namespace tw
