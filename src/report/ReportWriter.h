#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/CountMode.h"
#include "project/ProjectFolder.h"

namespace tw {

/// Indentations beyond this are taken as this: a typed-in indentation of thousands of spaces
/// per level would otherwise make a report of gigabytes.
constexpr int kMaxReportIndentation = 100;

/// The widths of the whitespace-aligned layout.
struct ReportWidths {
    /// N: the longest name the rows show (with its tree indentation), at least 5 ("Total").
    /// The name field of a row is N + 4 wide.
    std::size_t name = 5;
    /// C: the longest column name plus 1; every value field is this wide.
    std::size_t column = 18;
};

/// The name of the first value column: "Code" in the physical mode, else the mode's name.
std::u16string_view reportModeColumnName(CountMode mode);

/// The widths of a report on `root` in `mode`. A list shows each record's path (`fullPaths`)
/// or file name; a tree shows file and folder names indented by depth × `indentation`.
ReportWidths reportWidths(const ProjectFolder& root, CountMode mode, bool listStyle, bool fullPaths,
                          int indentation);

/// The detailed file count report of the project below `root` in the mode of `countSettings()`:
/// summary, header, one row per record, totals. `csv` gives comma-separated values (tree rows
/// stay aligned text), `listStyle` a flat list of the records' paths or file names
/// (`fullPaths`), otherwise a tree indented by `indentation` spaces per level (0 to
/// `kMaxReportIndentation`). Lines end in "\r\n"; the totals row of the csv form has no line
/// end.
std::u16string buildReport(const ProjectFolder& root, bool csv, bool listStyle, bool fullPaths,
                           int indentation);

}  // namespace tw
