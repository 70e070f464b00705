#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "engine/CountMode.h"
#include "project/ProjectFolder.h"
#include "report/ReportLayout.h"

namespace tw {

/// Indentations beyond this are taken as this: a typed-in indentation of thousands of spaces
/// per level would otherwise make a report of gigabytes.
constexpr int kMaxReportIndentation = 100;

/// A tree row is indented by its depth times the indentation, but by no more than this: a
/// tree thousands of folders deep would otherwise make every row of its report as wide.
constexpr std::size_t kMaxTreeIndent = 1024;

/// The widths of the whitespace-aligned layout.
struct ReportWidths {
    /// N: the longest name the rows show (with its tree indentation), at least 5 ("Total").
    /// The name field of a row is N + 4 wide.
    std::size_t name = 5;
    /// C: the longest column name plus 1; every value field is this wide.
    std::size_t column = 18;
};

/// A field of a csv row: as it is, or in double quotes with its quotes doubled when it holds a
/// comma, a double quote, a line break or another control character, so that any reader finds
/// the columns.
std::u16string csvField(std::u16string_view text);

/// The name of the first value column: "Code" in the physical mode, else the mode's name.
std::u16string_view reportModeColumnName(CountMode mode);

/// The widths of a report on `root` in `mode`. A list shows each record's path (`fullPaths`)
/// or file name; a tree shows file and folder names indented by depth × `indentation`.
ReportWidths reportWidths(const ProjectFolder& root, CountMode mode, bool listStyle, bool fullPaths,
                          int indentation);

/// Receives a report piece by piece, in order, each piece ending at the end of a line (the last
/// one may have no line end); returns false to end the report there.
using ReportOutput = std::function<bool(std::u16string_view piece)>;

/// The detailed file count report of the project below `root` in `mode`:
/// summary, header, one row per record, totals. A CSV `layout` gives comma-separated values
/// (tree rows stay aligned text), any other whitespace-aligned text; `layout.listStyle` a flat
/// list of the records' paths or file names (`layout.fullPaths`), otherwise a tree indented by
/// `layout.indentation` spaces per level (0 to `kMaxReportIndentation`). Lines end in "\r\n";
/// the totals row of the csv form has no line end. The text goes to `output` in pieces of a few
/// tens of kilobytes, so the whole report is never held; returns false when `output` ended it
/// early.
bool writeReport(const ProjectFolder& root, CountMode mode, const ReportLayout& layout,
                 const ReportOutput& output);

/// The whole report of `writeReport` as one text.
std::u16string buildReport(const ProjectFolder& root, CountMode mode, const ReportLayout& layout);

}  // namespace tw
