#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/CountMode.h"

namespace tw {

class FileCount;

/// The values shown for a file or a total, in the order of every view and report: the nine
/// counters of a record, with the two totals derived from them.
enum class CountColumn : int {
    Code,
    Declaration,
    Directive,
    CommentOwnLine,
    CommentCodeLine,
    CommentBanner,
    CommentBlank,
    TotalComment,
    Blank,
    Total,
    CommentWords,
};
inline constexpr std::size_t kCountColumnCount = 11;

/// How each rule that concerns a counter sees it.
enum class CountSum {
    Counter,       ///< a counter of the record, summed over counted records
    TotalComment,  ///< own line + code line + banner + blank comment
    Total,         ///< code + declaration + directive + total comment + blank
};

/// One column: where its value comes from, and what the views and reports call it.
struct CountColumnInfo {
    CountColumn column;
    /// The counter it shows; null for the derived totals.
    std::uint32_t FileCount::*counter;
    CountSum sum;
    /// Heading in reports; empty for the code column, which is named after the mode.
    std::u16string_view reportLabel;
    /// Heading in the file list; empty for the code column.
    std::u16string_view listLabel;
    /// Line label in the quick summary (with the tabs that align it); empty for the code
    /// column, whose label is the mode's.
    std::u16string_view summaryLabel;
    /// Name in the JSON report.
    std::string_view jsonName;
    /// Shown only in the executable mode ("-" in the others), though the totals include it.
    bool executableOnly;
    /// Shown with its share of the total in summaries.
    bool withShare;
};

/// Every column, in order. The one place that lists the counters: every view, report, file
/// and total reads it.
extern const std::array<CountColumnInfo, kCountColumnCount> kCountColumns;

/// The info of one column.
const CountColumnInfo& countColumnInfo(CountColumn column);

/// The nine counters in the order a project file holds them (blank comment before comment
/// words, unlike the record's own order).
extern const std::array<std::uint32_t FileCount::*, 9> kStoredCounters;

/// Whether `column` shows its value in `mode`.
inline bool shownInMode(const CountColumnInfo& info, CountMode mode) {
    return !info.executableOnly || mode == CountMode::Executable;
}

/// The nine counters of one record, or their sums over several, and every column's value.
/// Sums wrap around at 32 bits.
class CountValues {
  public:
    CountValues() = default;
    /// The counters of `record`, whatever its flags say.
    static CountValues of(const FileCount& record);

    /// Adds the counters of `other`.
    CountValues& operator+=(const CountValues& other);

    /// The value of `column`, the totals formed from the counters.
    std::uint32_t operator[](CountColumn column) const;

  private:
    /// In the order of `kCountColumns`, the derived columns left at 0.
    std::array<std::uint32_t, kCountColumnCount> counters_{};
};

}  // namespace tw
