#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>

#include <array>
#include <string>
#include <vector>

#include "engine/CountMode.h"
#include "engine/Language.h"
#include "engine/TextEncoding.h"
#include "project/FailedCountTable.h"
#include "ui/FileListColumns.h"

namespace tw {
class FileCount;
class ProjectFolder;
}  // namespace tw

namespace tw::ui {

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
/// the run's lock), and texts are formatted only for the rows on screen. What each column
/// shows is its entry in `fileListColumns()`.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    /// The value a column is sorted by: a number for sizes, times and counts (-1 for a file
    /// without one), the shown text for the others.
    static constexpr int SortRole = Qt::UserRole + 1;

    /// The rows take the reason a count failed from `failures`, which must outlive the model.
    explicit FileListModel(const FailedCountTable& failures, QObject* parent = nullptr);

    /// Lists the files of `folder` (Folders and Files) or of the whole project below `root`
    /// (Files Only), with the summary rows, in the count mode `mode`.
    void rebuild(const ProjectFolder& folder, const ProjectFolder& root, FileListLayout layout,
                 CountMode mode);
    /// Takes the records' counts again for the same rows, which keep their place, selection
    /// and order; lists them anew (as `rebuild`) when the files are not the same any more.
    /// Made for a count run, which only counts files not counted yet: a row is taken again
    /// when its file was counted or failed since, or had failed, and the views hear of the
    /// rows between the first and the last row taken, and of the summary rows.
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

    /// The display text of a cell, whatever the role asked for.
    QString cellText(int row, int column) const;
    /// The longest text of `column` over every row, to fit the column's width without
    /// measuring each cell.
    QString widestText(int column) const;

  private:
    /// The texts of a summary row, one per column.
    using SummaryRow = std::vector<QString>;

    SummaryRow summaryOf(const ProjectFolder& folder, bool recursive, const QString& title) const;
    QVariant sortValue(int row, int column) const;
    /// Fills the rows and summaries of `folder` (or of the whole project).
    void fill(const ProjectFolder& folder, const ProjectFolder& root, FileListLayout layout);
    /// The summary rows of `fill`, taken anew.
    void fillSummaries(const ProjectFolder& folder, const ProjectFolder& root,
                       FileListLayout layout);

    const FailedCountTable& failures_;
    std::vector<FileListRow> rows_;
    std::vector<SummaryRow> summaries_;
    CountMode mode_ = CountMode::Physical;
    std::array<QIcon, 3> stateIcons_;
};

}  // namespace tw::ui
