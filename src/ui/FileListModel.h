#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/CountColumns.h"
#include "engine/CountMode.h"
#include "engine/Language.h"
#include "engine/TextEncoding.h"

namespace tw {
class FileCount;
class ProjectFolder;
}  // namespace tw

namespace tw::ui {

/// The columns of the file list, in their order.
enum FileListColumn : int {
    ColumnFileName = 0,
    ColumnType,
    ColumnSize,
    ColumnEncoding,
    ColumnCountTime,
    ColumnCode,
    ColumnDeclaration,
    ColumnDirective,
    ColumnCommentOwnLine,
    ColumnCommentCodeLine,
    ColumnCommentBanner,
    ColumnCommentBlank,
    ColumnTotalComment,
    ColumnBlank,
    ColumnTotal,
    ColumnCommentWords,
    ColumnRemarks,
    FileListColumnCount
};

/// "C/C++ Source", ...; "Undefined" for any value outside the known types.
QString fileTypeText(FileType type);
/// How the list names the way a file was read: "8-bit" for a file without a byte-order mark,
/// "UTF-8", "UTF-16LE", ... for the others; "Unknown" for any value outside the known
/// encodings.
QString encodingText(TextEncoding encoding);
/// "1023 Bytes", "1.50 KB", "2.00 MB", "3.00 GB".
QString sizeText(std::uint32_t sizeBytes);
/// The count time in seconds with two decimals.
QString countTimeText(double seconds);
/// A summary cell: the sum and its share of `total`, "%u  (%3.1f%%)"; the share is 0.0 when
/// `total` is 0.
QString shareText(std::uint32_t sum, std::uint32_t total);
/// The title of the first count column for `mode`: "Physical", "Terminating Characters",
/// "Executable" or "Complexity".
QString countColumnTitle(CountMode mode);

/// Which rows the list shows.
struct FileListLayout {
    /// Files Only: every file of the project and one summary row; otherwise the files of one
    /// folder and three summary rows.
    bool filesOnly = false;
    /// In Files Only mode, the first column shows each file's full path instead of its name.
    bool showFullPaths = true;
};

/// The rows of the file list: one per file, in the project's order, then the summary rows.
///
/// A rebuild copies what the rows show out of the project, so the model never reads a record
/// afterwards: the caller decides when the records may be read (during a count run only under
/// the run's lock), and texts are formatted only for the rows on screen.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    /// The value a column is sorted by: a number for sizes, times and counts (-1 for a file
    /// without one), the shown text for the others.
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit FileListModel(QObject* parent = nullptr);

    /// Lists the files of `folder` (Folders and Files) or of the whole project below `root`
    /// (Files Only), with the summary rows, in the count mode `mode`.
    void rebuild(const ProjectFolder& folder, const ProjectFolder& root, FileListLayout layout,
                 CountMode mode);
    /// Takes the records' counts again for the same rows, which keep their place, selection
    /// and order; lists them anew (as `rebuild`) when the files are not the same any more.
    void refresh(const ProjectFolder& folder, const ProjectFolder& root, FileListLayout layout);
    /// No rows at all.
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    /// Summary rows are never selectable.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int fileRowCount() const { return static_cast<int>(rows_.size()); }
    int summaryRowCount() const { return static_cast<int>(summaries_.size()); }
    bool isFileRow(int row) const { return row >= 0 && row < fileRowCount(); }
    /// The project path of the file shown in `row`; empty for a summary row.
    std::u16string rowPath(int row) const;
    /// The text of the first column of `row`.
    QString rowLabel(int row) const;
    /// Takes one file row out without rebuilding the others; false for any other row.
    bool removeFileRow(int row);

    /// The display text of a cell, whatever the role asked for.
    QString cellText(int row, int column) const;
    /// The longest text of `column` over every row, to fit the column's width without
    /// measuring each cell.
    QString widestText(int column) const;

  private:
    /// What a file row shows, copied from its record at the rebuild.
    struct FileRow {
        std::u16string path;
        QString label;
        QString remarks;
        FileType fileType = FileType::Undefined;
        TextEncoding encoding = TextEncoding::Ansi;
        std::uint32_t sizeBytes = 0;
        double countSeconds = 0.0;
        CountValues counts;
        bool counted = false;
        bool failed = false;
        /// Why the last count of this session failed, from the failure table; empty for none.
        QString failure;
    };
    using SummaryRow = std::array<QString, FileListColumnCount>;

    static FileRow rowOf(const FileCount& record, QString label);
    SummaryRow summaryOf(const ProjectFolder& folder, bool recursive, const QString& title) const;
    QString fileCellText(const FileRow& row, int column) const;
    QVariant sortValue(int row, int column) const;
    /// Fills the rows and summaries of `folder` (or of the whole project).
    void fill(const ProjectFolder& folder, const ProjectFolder& root, FileListLayout layout);

    std::vector<FileRow> rows_;
    std::vector<SummaryRow> summaries_;
    CountMode mode_ = CountMode::Physical;
    std::array<QIcon, 3> stateIcons_;
};

}  // namespace tw::ui
