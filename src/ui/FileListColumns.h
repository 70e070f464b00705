#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/CountColumns.h"
#include "engine/CountMode.h"
#include "engine/FileType.h"
#include "engine/TextEncoding.h"
#include "project/FailedCountTable.h"

namespace tw {
class FileCount;
}

namespace tw::ui {

/// Where each column of the file list stands when the list is first shown. The count columns
/// follow the counter table, so a counter added there is a list column without a change here.
enum FileListColumn : int {
    ColumnFileName = 0,
    ColumnType,
    ColumnSize,
    ColumnEncoding,
    ColumnCountTime,
    ColumnFirstCount,
    ColumnLargestFunction = ColumnFirstCount + static_cast<int>(kCountColumnCount),
    ColumnRemarks,
    /// The file's folder: last in the table, so that no column before it moves; the view shows
    /// it beside the name when the user shows it.
    ColumnFolder,
    FileListColumnCount
};

/// The list column that shows the counter column `column`.
constexpr int listColumnOf(CountColumn column) {
    return ColumnFirstCount + static_cast<int>(column);
}

inline constexpr int ColumnCode = listColumnOf(CountColumn::Code);
inline constexpr int ColumnDeclaration = listColumnOf(CountColumn::Declaration);
inline constexpr int ColumnDirective = listColumnOf(CountColumn::Directive);
inline constexpr int ColumnCommentOwnLine = listColumnOf(CountColumn::CommentOwnLine);
inline constexpr int ColumnCommentCodeLine = listColumnOf(CountColumn::CommentCodeLine);
inline constexpr int ColumnCommentBanner = listColumnOf(CountColumn::CommentBanner);
inline constexpr int ColumnCommentBlank = listColumnOf(CountColumn::CommentBlank);
inline constexpr int ColumnTotalComment = listColumnOf(CountColumn::TotalComment);
inline constexpr int ColumnBlank = listColumnOf(CountColumn::Blank);
inline constexpr int ColumnTotal = listColumnOf(CountColumn::Total);
inline constexpr int ColumnCommentWords = listColumnOf(CountColumn::CommentWords);

/// What a file row shows, copied from its record when the list is built, so that the list
/// never reads a record afterwards.
struct FileListRow {
    std::u16string path;
    QString label;
    QString remarks;
    FileType fileType = FileType::Undefined;
    TextEncoding encoding = TextEncoding::Ansi;
    std::uint32_t sizeBytes = 0;
    double countSeconds = 0.0;
    CountValues counts;
    /// The highest complexity among the file's functions; 0 for a file without functions.
    std::uint32_t largestFunction = 0;
    bool counted = false;
    bool failed = false;
    /// Why the last count of this session failed, from the failure table; empty for none.
    QString failure;

    /// The row of `record`, its first column showing `label`.
    static FileListRow of(const FileCount& record, QString label, const FailedCountTable& failures);
    /// The row has counts to show: counted, and the count did not fail.
    bool hasCounts() const { return counted && !failed; }
};

/// One column of the file list: everything the list, its sorting and the saved widths know of
/// it. A new column is one entry in `fileListColumns()`, with a field of `FileListRow` when it
/// shows something no column shows yet.
struct FileListColumnInfo {
    /// The name its saved width is kept under; never changes once a release used it.
    std::string_view id;
    /// The header; for the code column that of the count mode (`countColumnTitle`).
    QString title;
    /// Numbers are right-aligned so that their digits line up.
    bool numeric = false;
    /// Hidden until the user shows it from the header's menu.
    bool hiddenAtFirst = false;
    /// The user cannot hide it: a row is known by it.
    bool alwaysShown = false;
    /// The counter it shows; null for the other columns.
    const CountColumnInfo* counter = nullptr;
    /// The text of a file row in the count mode given.
    QString (*text)(const FileListColumnInfo& column, const FileListRow& row,
                    CountMode mode) = nullptr;
    /// The value a file row is sorted by; null to sort by the text.
    QVariant (*sortValue)(const FileListColumnInfo& column, const FileListRow& row,
                          CountMode mode) = nullptr;
    /// The longest text of the column over `rows`, found without formatting every cell where
    /// the column's texts allow that.
    QString (*widestText)(const FileListColumnInfo& column, std::span<const FileListRow> rows,
                          CountMode mode) = nullptr;

    QString titleIn(CountMode mode) const;
    QString textOf(const FileListRow& row, CountMode mode) const { return text(*this, row, mode); }
    QVariant sortValueOf(const FileListRow& row, CountMode mode) const;
};

/// Every column of the file list, in the order they are first shown: the file's own facts, one
/// column per row of the counter table, the remarks.
std::span<const FileListColumnInfo> fileListColumns();

/// The column at `position` of `fileListColumns()`; null outside it.
const FileListColumnInfo* fileListColumnAt(int position);

/// The column whose saved width is kept under `id`; null for an id no column has.
const FileListColumnInfo* fileListColumnById(std::string_view id);

/// "C/C++ Source", ...; "Undefined" for any value outside the known types.
QString fileTypeText(FileType type);
/// How the list names the way a file was read: "8-bit" for a file without a byte-order mark,
/// "UTF-8", "UTF-16LE", ... for the others; "Unknown" for any value outside the known
/// encodings.
QString encodingText(TextEncoding encoding);
/// The texts below write their numbers as the default `QLocale` does (digit groups and the
/// decimal sign of the user's language); the list is the only place they show, so reports and
/// project files keep their own plain numbers.

/// "1023 Bytes", "1.50 KB", "2.00 MB", "3.00 GB".
QString sizeText(std::uint32_t sizeBytes);
/// The count time in seconds with two decimals.
QString countTimeText(double seconds);
/// A count: "14,548,530" in English, "14.548.530" in German.
QString countText(std::uint32_t value);
/// A summary cell: the sum and its share of `total` with one decimal, "7  (100.0%)"; the share
/// is 0.0 when `total` is 0.
QString shareText(std::uint32_t sum, std::uint32_t total);
/// The folder of the project path `path`, without the separator before the name; empty for a
/// path without one.
QString folderOfPath(std::u16string_view path);
/// The title of the first count column for `mode`: "Physical", "Terminating Characters",
/// "Executable" or "Complexity".
QString countColumnTitle(CountMode mode);

}  // namespace tw::ui
