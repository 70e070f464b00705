#include "ui/FileListModel.h"

#include "engine/CountColumns.h"
#include "engine/FileCount.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"
#include "ui/Artwork.h"

#include <algorithm>
#include <vector>

namespace tw::ui {
namespace {

QString qstring(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

/// The records the list shows, in its order: the whole project's (Files Only) or the folder's.
std::vector<const FileCount*> listedRecords(const ProjectFolder& folder, const ProjectFolder& root,
                                            FileListLayout layout) {
    std::vector<const FileCount*> records;
    if (layout.filesOnly) {
        root.CollectRecords(records);
    } else {
        records.reserve(folder.files().size());
        for (const auto& record : folder.files()) {
            records.push_back(record.get());
        }
    }
    return records;
}

}  // namespace

FileListModel::FileListModel(const FailedCountTable& failures, QObject* parent)
    : QAbstractTableModel(parent), failures_(failures) {
    stateIcons_ = {artwork::fileStateIcon(FileStateImage::Counted),
                   artwork::fileStateIcon(FileStateImage::NotCounted),
                   artwork::fileStateIcon(FileStateImage::Failed)};
}

FileListModel::SummaryRow FileListModel::summaryOf(const ProjectFolder& folder, bool recursive,
                                                   const QString& title) const {
    const auto columns = fileListColumns();
    SummaryRow summary(columns.size());
    summary[ColumnFileName] = title.arg(countText(folder.CountedRecords(recursive)),
                                        countText(folder.FailedRecords(recursive)));
    const CountValues sums = folder.Sums(recursive);
    const std::uint32_t total = sums[CountColumn::Total];
    for (std::size_t column = 0; column < columns.size(); ++column) {
        const CountColumnInfo* info = columns[column].counter;
        if (info == nullptr) {
            continue;
        }
        if (!shownInMode(*info, mode_)) {
            summary[column] = QStringLiteral("-");
        } else {
            summary[column] = info->withShare ? shareText(sums[info->column], total)
                                              : countText(sums[info->column]);
        }
    }
    return summary;
}

void FileListModel::rebuild(const ProjectFolder& folder, const ProjectFolder& root,
                            FileListLayout layout, CountMode mode) {
    beginResetModel();
    mode_ = mode;
    fill(folder, root, layout);
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, ColumnCode, ColumnCode);
}

void FileListModel::refresh(const ProjectFolder& folder, const ProjectFolder& root,
                            FileListLayout layout) {
    const std::vector<const FileCount*> records = listedRecords(folder, root, layout);
    bool same = records.size() == rows_.size();
    int first = -1;
    int last = -1;
    for (std::size_t i = 0; same && i < records.size(); ++i) {
        const FileCount& record = *records[i];
        FileListRow& row = rows_[i];
        same = row.path == record.path;
        // A file not counted yet, or counted before the run, keeps its row; one that failed
        // may fail again for another reason.
        if (!same || (row.counted == record.counted && !row.failed && !record.failed)) {
            continue;
        }
        row = FileListRow::of(record, std::move(row.label), failures_);
        first = first < 0 ? static_cast<int>(i) : first;
        last = static_cast<int>(i);
    }
    const std::size_t summaryRows = summaries_.size();
    if (same) {
        fillSummaries(folder, root, layout);
        same = summaries_.size() == summaryRows;
    }
    if (!same) {
        rebuild(folder, root, layout, mode_);
        return;
    }
    const int lastColumn = columnCount() - 1;
    if (first >= 0) {
        emit dataChanged(index(first, 0), index(last, lastColumn));
    }
    if (summaryRowCount() > 0) {
        emit dataChanged(index(fileRowCount(), 0), index(rowCount() - 1, lastColumn));
    }
}

void FileListModel::fill(const ProjectFolder& folder, const ProjectFolder& root,
                         FileListLayout layout) {
    rows_.clear();
    const std::vector<const FileCount*> records = listedRecords(folder, root, layout);
    const bool fullPaths = layout.filesOnly && layout.showFullPaths;
    rows_.reserve(records.size());
    for (const FileCount* record : records) {
        rows_.push_back(FileListRow::of(
            *record, fullPaths ? qstring(record->path) : qstring(record->fileName()), failures_));
    }
    fillSummaries(folder, root, layout);
}

void FileListModel::fillSummaries(const ProjectFolder& folder, const ProjectFolder& root,
                                  FileListLayout layout) {
    summaries_.clear();
    if (layout.filesOnly) {
        summaries_.push_back(
            summaryOf(root, true, QStringLiteral("Project (%1 succeeded, %2 failed)")));
    } else {
        summaries_.push_back(
            summaryOf(folder, false, QStringLiteral("Folder (%1 succeeded, %2 failed)")));
        summaries_.push_back(summaryOf(
            folder, true, QStringLiteral("Folder and subfolders (%1 succeeded, %2 failed)")));
        summaries_.push_back(
            summaryOf(root, true, QStringLiteral("Project (%1 succeeded, %2 failed)")));
    }
}

void FileListModel::clear() {
    beginResetModel();
    rows_.clear();
    summaries_.clear();
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : fileRowCount() + summaryRowCount();
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(fileListColumns().size());
}

QString FileListModel::cellText(int row, int column) const {
    const FileListColumnInfo* info = fileListColumnAt(column);
    if (info == nullptr || row < 0) {
        return QString();
    }
    if (isFileRow(row)) {
        return info->textOf(rows_[static_cast<std::size_t>(row)], mode_);
    }
    const int summary = row - fileRowCount();
    if (summary < summaryRowCount()) {
        return summaries_[static_cast<std::size_t>(summary)][static_cast<std::size_t>(column)];
    }
    return QString();
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return QVariant();
    }
    switch (role) {
        case Qt::DisplayRole:
            return cellText(index.row(), index.column());
        case Qt::ToolTipRole:
            // A file whose count failed says why, as the Errors dialog does; any other file
            // says where it is, which tells apart files of one name. A summary row's cell
            // gives its whole text, which the column may cut.
            if (isFileRow(index.row())) {
                const FileListRow& row = rows_[static_cast<std::size_t>(index.row())];
                return row.failure.isEmpty() ? folderOfPath(row.path) : row.failure;
            }
            return cellText(index.row(), index.column());
        case SortRole:
            return sortValue(index.row(), index.column());
        case Qt::DecorationRole:
            if (index.column() == ColumnFileName && isFileRow(index.row())) {
                const FileListRow& row = rows_[static_cast<std::size_t>(index.row())];
                const FileStateImage image = row.failed    ? FileStateImage::Failed
                                             : row.counted ? FileStateImage::Counted
                                                           : FileStateImage::NotCounted;
                return stateIcons_[static_cast<std::size_t>(image)];
            }
            return QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(
                (fileListColumnAt(index.column())->numeric ? Qt::AlignRight : Qt::AlignLeft) |
                Qt::AlignVCenter));
        default:
            return QVariant();
    }
}

QVariant FileListModel::sortValue(int row, int column) const {
    const FileListColumnInfo* info = fileListColumnAt(column);
    if (!isFileRow(row) || info == nullptr) {
        return cellText(row, column);
    }
    return info->sortValueOf(rows_[static_cast<std::size_t>(row)], mode_);
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const FileListColumnInfo* info = fileListColumnAt(section);
    if (orientation != Qt::Horizontal || info == nullptr) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) {
        return info->titleIn(mode_);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    return QVariant();
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    if (isFileRow(index.row())) {
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }
    return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

QString FileListModel::widestText(int column) const {
    QString widest;
    const FileListColumnInfo* info = fileListColumnAt(column);
    if (info == nullptr) {
        return widest;
    }
    for (const SummaryRow& summary : summaries_) {
        if (summary[static_cast<std::size_t>(column)].size() > widest.size()) {
            widest = summary[static_cast<std::size_t>(column)];
        }
    }
    if (QString text = info->widestText(*info, rows_, mode_); text.size() > widest.size()) {
        widest = std::move(text);
    }
    return widest;
}

std::u16string FileListModel::rowPath(int row) const {
    return isFileRow(row) ? rows_[static_cast<std::size_t>(row)].path : std::u16string();
}

QString FileListModel::rowLabel(int row) const {
    return cellText(row, ColumnFileName);
}

}  // namespace tw::ui
