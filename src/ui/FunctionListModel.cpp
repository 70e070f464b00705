#include "ui/FunctionListModel.h"

#include "engine/FileCount.h"
#include "ui/FileListColumns.h"

namespace tw::ui {
namespace {

QString qstring(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

}  // namespace

FunctionListModel::FunctionListModel(QObject* parent) : QAbstractTableModel(parent) {}

void FunctionListModel::rebuild(std::span<const FileCount* const> records) {
    beginResetModel();
    files_.clear();
    rows_.clear();
    for (const FileCount* record : records) {
        if (record->functions.empty()) {
            continue;
        }
        files_.push_back({.path = record->path,
                          .name = qstring(record->fileName()),
                          .shownPath = qstring(record->path)});
        for (const FunctionComplexity& function : record->functions) {
            // A body that never closes ends at the file's last line, never before its start.
            const std::uint32_t lines = function.lastLine >= function.firstLine
                                            ? function.lastLine - function.firstLine + 1
                                            : 1;
            rows_.push_back({.name = qstring(function.name),
                             .file = files_.size() - 1,
                             .line = function.line,
                             .lines = lines,
                             .complexity = function.complexity});
        }
    }
    endResetModel();
}

void FunctionListModel::clear() {
    beginResetModel();
    files_.clear();
    rows_.clear();
    endResetModel();
}

std::u16string FunctionListModel::filePath(int row) const {
    return row >= 0 && row < rowCount() ? files_[rows_[static_cast<std::size_t>(row)].file].path
                                        : std::u16string();
}

int FunctionListModel::line(int row) const {
    return row >= 0 && row < rowCount()
               ? static_cast<int>(rows_[static_cast<std::size_t>(row)].line)
               : 0;
}

int FunctionListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FunctionListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant FunctionListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return QVariant();
    }
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    const File& file = files_[row.file];
    const auto number = [&](std::uint32_t value) -> QVariant {
        return role == SortRole ? QVariant(qint64(value)) : QVariant(countText(value));
    };
    switch (role) {
        case Qt::DisplayRole:
        case SortRole:
            switch (index.column()) {
                case ColumnName:
                    return row.name;
                case ColumnFile:
                    return file.name;
                case ColumnLine:
                    return number(row.line);
                case ColumnLines:
                    return number(row.lines);
                case ColumnComplexity:
                    return number(row.complexity);
                default:
                    return QVariant();
            }
        case Qt::ToolTipRole:
            return index.column() == ColumnFile ? file.shownPath : row.name;
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                Qt::Alignment((index.column() >= ColumnLine ? Qt::AlignRight : Qt::AlignLeft) |
                              Qt::AlignVCenter));
        default:
            return QVariant();
    }
}

QVariant FunctionListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) {
        static const char* const kTitles[kColumnCount] = {"Name", "File", "Line", "Lines",
                                                          "Complexity"};
        return QString::fromLatin1(kTitles[section]);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    return QVariant();
}

}  // namespace tw::ui
