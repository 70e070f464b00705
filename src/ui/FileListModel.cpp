#include "ui/FileListModel.h"

#include "engine/CountColumns.h"
#include "engine/FileCount.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"
#include "ui/Artwork.h"

#include <algorithm>

namespace tw::ui {
namespace {

QString qstring(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

/// The count column a list column shows; valid for `ColumnCode` to `ColumnCommentWords`.
const CountColumnInfo& countColumnOf(int column) {
    return kCountColumns[static_cast<std::size_t>(column - ColumnCode)];
}

bool isCountColumn(int column) {
    return column >= ColumnCode && column < ColumnCode + static_cast<int>(kCountColumnCount);
}

/// The titles of the columns that are not counts.
QString plainColumnTitle(int column) {
    switch (column) {
        case ColumnFileName:
            return QStringLiteral("File Name");
        case ColumnType:
            return QStringLiteral("Type");
        case ColumnSize:
            return QStringLiteral("Size");
        case ColumnEncoding:
            return QStringLiteral("Encoding");
        case ColumnCountTime:
            return QStringLiteral("Count Time");
        case ColumnRemarks:
            return QStringLiteral("Remarks");
        default:
            return QString();
    }
}

/// Columns that show numbers, right-aligned so their digits line up.
bool isNumberColumn(int column) {
    return column == ColumnSize || column == ColumnCountTime || isCountColumn(column);
}

QString number(std::uint32_t value) {
    return QString::number(value);
}

}  // namespace

QString fileTypeText(FileType type) {
    return qstring(fileTypeName(type));
}

QString encodingText(TextEncoding encoding) {
    // A file without a byte-order mark is read one byte to a character, whatever its bytes
    // are: the list says so rather than name a Windows code page. The project file keeps the
    // stored value.
    if (encoding == TextEncoding::Ansi) {
        return QStringLiteral("8-bit");
    }
    return qstring(textEncodingName(encoding));
}

QString sizeText(std::uint32_t sizeBytes) {
    constexpr double kKilo = 1024.0;
    const double size = sizeBytes;
    if (sizeBytes >= (1u << 30)) {
        return QString::asprintf("%.2f GB", size / (kKilo * kKilo * kKilo));
    }
    if (sizeBytes >= (1u << 20)) {
        return QString::asprintf("%.2f MB", size / (kKilo * kKilo));
    }
    if (sizeBytes >= 1024u) {
        return QString::asprintf("%.2f KB", size / kKilo);
    }
    return QString::asprintf("%u Bytes", sizeBytes);
}

QString countTimeText(double seconds) {
    return QString::asprintf("%.2f", seconds);
}

QString shareText(std::uint32_t sum, std::uint32_t total) {
    const double share = total == 0 ? 0.0 : static_cast<double>(sum) * 100.0 / total;
    return QString::asprintf("%u  (%3.1f%%)", sum, share);
}

QString countColumnTitle(CountMode mode) {
    switch (mode) {
        case CountMode::TerminatingCharacters:
            return QStringLiteral("Terminating Characters");
        case CountMode::Executable:
            return QStringLiteral("Executable");
        case CountMode::CyclomaticComplexity:
            return QStringLiteral("Complexity");
        case CountMode::Physical:
            break;
    }
    return QStringLiteral("Physical");
}

FileListModel::FileListModel(QObject* parent) : QAbstractTableModel(parent) {
    stateIcons_ = {artwork::fileStateIcon(FileStateImage::Counted),
                   artwork::fileStateIcon(FileStateImage::NotCounted),
                   artwork::fileStateIcon(FileStateImage::Failed)};
}

FileListModel::FileRow FileListModel::rowOf(const FileCount& record, QString label) {
    FileRow row;
    row.path = record.path;
    row.label = std::move(label);
    if (!record.remarks.empty()) {
        row.remarks = qstring(record.remarks);
    }
    row.fileType = record.fileType;
    row.encoding = record.encoding;
    row.sizeBytes = record.sizeBytes;
    row.countSeconds = record.countSeconds;
    row.counts = CountValues::of(record);
    row.counted = record.counted;
    row.failed = record.failed;
    const FailedCountTable& failures = failedCountTable();
    if (const auto found = failures.find(record.path); found != failures.end()) {
        row.failure = qstring(found->second);
    }
    return row;
}

FileListModel::SummaryRow FileListModel::summaryOf(const ProjectFolder& folder, bool recursive,
                                                   const QString& title) const {
    SummaryRow summary;
    summary[ColumnFileName] =
        title.arg(folder.CountedRecords(recursive)).arg(folder.FailedRecords(recursive));
    const CountValues sums = folder.Sums(recursive);
    const std::uint32_t total = sums[CountColumn::Total];
    for (const CountColumnInfo& info : kCountColumns) {
        const int column = ColumnCode + static_cast<int>(info.column);
        if (!shownInMode(info, mode_)) {
            summary[column] = QStringLiteral("-");
        } else {
            summary[column] =
                info.withShare ? shareText(sums[info.column], total) : number(sums[info.column]);
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
    std::vector<FileRow> before;
    before.swap(rows_);
    const std::size_t summariesBefore = summaries_.size();
    fill(folder, root, layout);
    bool same = before.size() == rows_.size() && summariesBefore == summaries_.size();
    for (std::size_t i = 0; same && i < rows_.size(); ++i) {
        same = before[i].path == rows_[i].path;
    }
    if (!same) {
        rows_.swap(before);
        rebuild(folder, root, layout, mode_);
        return;
    }
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, FileListColumnCount - 1));
    }
}

void FileListModel::fill(const ProjectFolder& folder, const ProjectFolder& root,
                         FileListLayout layout) {
    rows_.clear();
    summaries_.clear();
    if (layout.filesOnly) {
        std::vector<const FileCount*> records;
        root.CollectRecords(records);
        rows_.reserve(records.size());
        for (const FileCount* record : records) {
            rows_.push_back(rowOf(*record, layout.showFullPaths ? qstring(record->path)
                                                                : qstring(record->fileName())));
        }
        summaries_.push_back(
            summaryOf(root, true, QStringLiteral("Project (%1 succeeded, %2 failed)")));
    } else {
        rows_.reserve(folder.files().size());
        for (const auto& record : folder.files()) {
            rows_.push_back(rowOf(*record, qstring(record->fileName())));
        }
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
    return parent.isValid() ? 0 : FileListColumnCount;
}

QString FileListModel::fileCellText(const FileRow& row, int column) const {
    switch (column) {
        case ColumnFileName:
            return row.label;
        case ColumnType:
            return fileTypeText(row.fileType);
        case ColumnSize:
            return sizeText(row.sizeBytes);
        case ColumnEncoding:
            return encodingText(row.encoding);
        default:
            break;
    }
    if (!row.counted || row.failed) {
        return column == ColumnRemarks ? QString() : QStringLiteral("-");
    }
    if (column == ColumnCountTime) {
        return countTimeText(row.countSeconds) + QStringLiteral(" s");
    }
    if (column == ColumnRemarks) {
        return row.remarks;
    }
    if (!isCountColumn(column)) {
        return QString();
    }
    const CountColumnInfo& info = countColumnOf(column);
    return shownInMode(info, mode_) ? number(row.counts[info.column]) : QStringLiteral("-");
}

QString FileListModel::cellText(int row, int column) const {
    if (column < 0 || column >= FileListColumnCount || row < 0) {
        return QString();
    }
    if (isFileRow(row)) {
        return fileCellText(rows_[static_cast<std::size_t>(row)], column);
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
            // A file whose count failed says why, as the Errors dialog does.
            if (isFileRow(index.row()) &&
                !rows_[static_cast<std::size_t>(index.row())].failure.isEmpty()) {
                return rows_[static_cast<std::size_t>(index.row())].failure;
            }
            return cellText(index.row(), index.column());
        case SortRole:
            return sortValue(index.row(), index.column());
        case Qt::DecorationRole:
            if (index.column() == ColumnFileName && isFileRow(index.row())) {
                const FileRow& row = rows_[static_cast<std::size_t>(index.row())];
                const FileStateImage image = row.failed    ? FileStateImage::Failed
                                             : row.counted ? FileStateImage::Counted
                                                           : FileStateImage::NotCounted;
                return stateIcons_[static_cast<std::size_t>(image)];
            }
            return QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                Qt::Alignment((isNumberColumn(index.column()) ? Qt::AlignRight : Qt::AlignLeft) |
                              Qt::AlignVCenter));
        default:
            return QVariant();
    }
}

QVariant FileListModel::sortValue(int row, int column) const {
    if (!isFileRow(row) || !isNumberColumn(column)) {
        return cellText(row, column);
    }
    const FileRow& file = rows_[static_cast<std::size_t>(row)];
    if (column == ColumnSize) {
        return qint64(file.sizeBytes);
    }
    if (!file.counted || file.failed) {
        return -1.0;
    }
    if (column == ColumnCountTime) {
        return file.countSeconds;
    }
    const CountColumnInfo& info = countColumnOf(column);
    return shownInMode(info, mode_) ? double(file.counts[info.column]) : -1.0;
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= FileListColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) {
        if (section == ColumnCode) {
            return countColumnTitle(mode_);
        }
        return isCountColumn(section) ? qstring(countColumnOf(section).listLabel)
                                      : plainColumnTitle(section);
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

namespace {

/// The number a count column (or the count time, in hundredths) shows for a counted row; the
/// longest text of such a column belongs to its largest number.
template <typename Row>
std::uint64_t numericValueOf(const Row& row, int column) {
    if (column == ColumnCountTime) {
        return static_cast<std::uint64_t>(std::max(0.0, row.countSeconds) * 100.0);
    }
    return isCountColumn(column) ? row.counts[countColumnOf(column).column] : 0;
}

}  // namespace

QString FileListModel::widestText(int column) const {
    const auto numericValue = [](const FileRow& row, int c) { return numericValueOf(row, c); };
    QString widest;
    const auto consider = [&widest](const QString& text) {
        if (text.size() > widest.size()) {
            widest = text;
        }
    };
    for (const SummaryRow& summary : summaries_) {
        consider(summary[static_cast<std::size_t>(column)]);
    }
    if (rows_.empty() || column < 0 || column >= FileListColumnCount) {
        return widest;
    }
    // Texts that grow with their value are measured at the largest value; the others are few.
    const FileRow* longestLabel = &rows_.front();
    const FileRow* longestRemarks = &rows_.front();
    const FileRow* largestCount[FileListColumnCount] = {};
    std::uint64_t largestValue[FileListColumnCount] = {};
    std::uint32_t largestSize[4] = {};
    std::uint32_t typesSeen = 0;
    std::uint32_t encodingsSeen = 0;
    bool anyUncounted = false;
    for (const FileRow& row : rows_) {
        if (row.label.size() > longestLabel->label.size()) {
            longestLabel = &row;
        }
        if (row.remarks.size() > longestRemarks->remarks.size()) {
            longestRemarks = &row;
        }
        const std::uint32_t magnitude = row.sizeBytes >= (1u << 30)   ? 3
                                        : row.sizeBytes >= (1u << 20) ? 2
                                        : row.sizeBytes >= 1024u      ? 1
                                                                      : 0;
        largestSize[magnitude] = std::max(largestSize[magnitude], row.sizeBytes);
        typesSeen |= 1u << std::min<std::uint32_t>(static_cast<std::uint32_t>(row.fileType), 31);
        encodingsSeen |=
            1u << std::min<std::uint32_t>(static_cast<std::uint32_t>(row.encoding), 31);
        if (!row.counted || row.failed) {
            anyUncounted = true;
            continue;
        }
        for (int c = ColumnCountTime; c <= ColumnCommentWords; ++c) {
            const std::uint64_t value = numericValue(row, c);
            if (largestCount[c] == nullptr || value > largestValue[c]) {
                largestCount[c] = &row;
                largestValue[c] = value;
            }
        }
    }
    switch (column) {
        case ColumnFileName:
            consider(longestLabel->label);
            break;
        case ColumnType:
            for (std::uint32_t type = 0; type < 32; ++type) {
                if ((typesSeen & (1u << type)) != 0) {
                    consider(fileTypeText(static_cast<FileType>(type)));
                }
            }
            break;
        case ColumnEncoding:
            for (std::uint32_t encoding = 0; encoding < 32; ++encoding) {
                if ((encodingsSeen & (1u << encoding)) != 0) {
                    consider(encodingText(static_cast<TextEncoding>(encoding)));
                }
            }
            break;
        case ColumnSize:
            for (const std::uint32_t size : largestSize) {
                consider(sizeText(size));
            }
            break;
        case ColumnRemarks:
            consider(longestRemarks->remarks);
            break;
        default:
            if (largestCount[column] != nullptr) {
                consider(cellText(static_cast<int>(largestCount[column] - rows_.data()), column));
            }
            if (anyUncounted) {
                consider(QStringLiteral("-"));
            }
            break;
    }
    return widest;
}

std::u16string FileListModel::rowPath(int row) const {
    return isFileRow(row) ? rows_[static_cast<std::size_t>(row)].path : std::u16string();
}

QString FileListModel::rowLabel(int row) const {
    return cellText(row, ColumnFileName);
}

bool FileListModel::removeFileRow(int row) {
    if (!isFileRow(row)) {
        return false;
    }
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    return true;
}

}  // namespace tw::ui
