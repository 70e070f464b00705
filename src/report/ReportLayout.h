#pragma once

#include <cstdint>

namespace tw {

/// The report formats; each has one row in the table of `ReportFormat.h`.
enum class ReportFormatId : std::uint8_t { Text, Csv, Json, Html, Functions };

/// What a report looks like: its format and, for the formats that have rows of names, how the
/// rows are laid out. The console and the Generate Report dialog both fill one in.
struct ReportLayout {
    ReportFormatId format = ReportFormatId::Text;
    /// A flat list of the records, else a tree of folders and files.
    bool listStyle = true;
    /// List rows show each record's path, else its file name alone.
    bool fullPaths = true;
    /// Spaces per tree level (0 to `kMaxReportIndentation`).
    int indentation = 4;

    bool operator==(const ReportLayout&) const = default;
};

}  // namespace tw
