#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "engine/CountSettings.h"
#include "project/ProjectFolder.h"

namespace tw {

/// The detailed report as JSON for other programs: UTF-8 without a byte-order mark, line feeds.
/// It holds the count mode and the three logical options; one object per record in the tree's
/// order with its path, type, encoding, size, flags, remarks, error line and every counter, and
/// for a file whose count failed its error text as `failure`; in the Cyclomatic Complexity mode
/// also its `functions` (name, line, first and last line, complexity); then the totals over the
/// counted records and the numbers of counted, uncounted and failed records, and
/// the counted files and their counters per file type (`byType`). The bytes go to
/// `output` in pieces of a few tens of kilobytes; `output` returns false to end the report there,
/// and so does this function then.
bool writeJsonReport(const ProjectFolder& root, const CountSettings& settings,
                     const std::function<bool(std::string_view piece)>& output);

}  // namespace tw
