#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "engine/CountSettings.h"

namespace tw {

/// `-explain`: counts each file by `settings` and prints it line by line on `out` instead of
/// writing the output files: as text for people, or as one JSON document with `json`. Each
/// file is counted once, under the first path given for it; a file whose count fails is also
/// reported on `errors` as the console run reports it. Returns the run's result code: 8 when
/// some file could not be read at all.
int runExplain(const std::vector<std::u16string>& files, const CountSettings& settings, bool json,
               std::ostream& out, std::ostream& errors);

}  // namespace tw
