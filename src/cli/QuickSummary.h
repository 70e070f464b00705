#pragma once

#include <string>

#include "engine/CountMode.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"

namespace tw {

/// The quick summary of a console run: counted, uncounted and failed files, each total with
/// its share of the whole, the comment words and the files that failed. Line ends are "\n".
std::u16string buildQuickSummary(const ProjectFolder& root, CountMode mode,
                                 const FailedCountTable& failures);

/// `value` as a share of `total` in percent: computed in extended precision, then rounded to
/// single precision as the summary prints it; 0 when the total is 0.
float percentOf(std::uint32_t value, std::uint32_t total);

}  // namespace tw
