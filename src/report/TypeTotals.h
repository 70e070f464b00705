#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/CountColumns.h"
#include "engine/CountMode.h"
#include "engine/FileType.h"
#include "project/ProjectFolder.h"

namespace tw {

/// The counted files of one file type and their summed counters.
struct TypeTotal {
    FileType type = FileType::Undefined;
    std::uint32_t files = 0;
    CountValues sums;
};

/// The totals per file type over the counted records below `root`, one entry per type that
/// occurs, in the order of the language table. The entries add up to the project's own sums
/// and counted records, so that every view of them agrees with the quick summary.
std::vector<TypeTotal> typeTotals(const ProjectFolder& root);

/// The columns every by-type table shows after the type and the number of files: the mode's
/// count, comment lines, blank lines, comment words.
inline constexpr CountColumn kTypeTableColumns[] = {CountColumn::Code, CountColumn::TotalComment,
                                                    CountColumn::Blank, CountColumn::CommentWords};

/// The heading of a by-type table's column.
std::string typeTableHeading(CountColumn column, CountMode mode);

/// The table by file type as aligned text for the console: a header row beginning
/// "File type", a row per type, a Total row; numbers right-aligned; lines end in "\n".
std::string typeTotalsText(const std::vector<TypeTotal>& totals, CountMode mode);

/// `, "byType": [...]`: one object per type with its name, files and every counter.
void appendJsonByType(std::string& out, const std::vector<TypeTotal>& totals);

}  // namespace tw
