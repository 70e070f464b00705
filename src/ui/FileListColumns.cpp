#include "ui/FileListColumns.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <type_traits>
#include <vector>

#include "engine/FileCount.h"
#include "engine/Language.h"

namespace tw::ui {
namespace {

QString qstring(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

const QString kDash = QStringLiteral("-");

// ---- Texts --------------------------------------------------------------------------------

QString nameText(const FileListColumnInfo&, const FileListRow& row, CountMode) {
    return row.label;
}

QString typeText(const FileListColumnInfo&, const FileListRow& row, CountMode) {
    return fileTypeText(row.fileType);
}

QString sizeCellText(const FileListColumnInfo&, const FileListRow& row, CountMode) {
    return sizeText(row.sizeBytes);
}

QString encodingCellText(const FileListColumnInfo&, const FileListRow& row, CountMode) {
    return encodingText(row.encoding);
}

QString countTimeCellText(const FileListColumnInfo&, const FileListRow& row, CountMode) {
    return row.hasCounts() ? countTimeText(row.countSeconds) + QStringLiteral(" s") : kDash;
}

QString counterText(const FileListColumnInfo& column, const FileListRow& row, CountMode mode) {
    if (!row.hasCounts() || !shownInMode(*column.counter, mode)) {
        return kDash;
    }
    return countText(row.counts[column.counter->column]);
}

/// The largest function's complexity: only counted files of the complexity mode that have
/// functions show one.
bool showsLargestFunction(const FileListRow& row, CountMode mode) {
    return row.hasCounts() && mode == CountMode::CyclomaticComplexity && row.largestFunction > 0;
}

QString largestFunctionText(const FileListColumnInfo&, const FileListRow& row, CountMode mode) {
    return showsLargestFunction(row, mode) ? countText(row.largestFunction) : kDash;
}

QString folderText(const FileListColumnInfo&, const FileListRow& row, CountMode) {
    return folderOfPath(row.path);
}

QString remarksText(const FileListColumnInfo&, const FileListRow& row, CountMode) {
    return row.hasCounts() ? row.remarks : QString();
}

// ---- Sort values --------------------------------------------------------------------------

QVariant sizeValue(const FileListColumnInfo&, const FileListRow& row, CountMode) {
    return qint64(row.sizeBytes);
}

QVariant countTimeValue(const FileListColumnInfo&, const FileListRow& row, CountMode) {
    return row.hasCounts() ? row.countSeconds : -1.0;
}

QVariant countValue(const FileListColumnInfo& column, const FileListRow& row, CountMode mode) {
    if (!row.hasCounts() || !shownInMode(*column.counter, mode)) {
        return -1.0;
    }
    return double(row.counts[column.counter->column]);
}

QVariant largestFunctionValue(const FileListColumnInfo&, const FileListRow& row, CountMode mode) {
    return showsLargestFunction(row, mode) ? double(row.largestFunction) : -1.0;
}

// ---- Widest texts -------------------------------------------------------------------------

QString longestText(const FileListColumnInfo& column, std::span<const FileListRow> rows,
                    CountMode mode) {
    QString widest;
    for (const FileListRow& row : rows) {
        QString text = column.textOf(row, mode);
        if (text.size() > widest.size()) {
            widest = std::move(text);
        }
    }
    return widest;
}

/// A column of few values (types, encodings): the text of each value seen, in the values'
/// order, the first of the longest kept.
template <typename Value, Value FileListRow::*field>
QString widestOfValues(const FileListColumnInfo&, std::span<const FileListRow> rows, CountMode) {
    constexpr std::uint32_t kValues = 32;
    std::uint32_t seen = 0;
    for (const FileListRow& row : rows) {
        seen |= 1u << std::min(static_cast<std::uint32_t>(row.*field), kValues - 1);
    }
    QString widest;
    for (std::uint32_t value = 0; value < kValues; ++value) {
        if ((seen & (1u << value)) == 0) {
            continue;
        }
        const Value shown = static_cast<Value>(value);
        QString text;
        if constexpr (std::is_same_v<Value, FileType>) {
            text = fileTypeText(shown);
        } else {
            text = encodingText(shown);
        }
        if (text.size() > widest.size()) {
            widest = std::move(text);
        }
    }
    return widest;
}

/// A size's text grows with its value within one unit only: the largest size of each unit.
QString widestSize(const FileListColumnInfo&, std::span<const FileListRow> rows, CountMode) {
    std::array<std::uint32_t, 4> largest{};
    for (const FileListRow& row : rows) {
        const std::size_t unit = row.sizeBytes >= (1u << 30)   ? 3
                                 : row.sizeBytes >= (1u << 20) ? 2
                                 : row.sizeBytes >= 1024u      ? 1
                                                               : 0;
        largest[unit] = std::max(largest[unit], row.sizeBytes);
    }
    QString widest;
    for (const std::uint32_t size : largest) {
        if (QString text = sizeText(size); text.size() > widest.size()) {
            widest = std::move(text);
        }
    }
    return widest;
}

/// A number's text grows with its value: the text of the largest value, or the dash of a row
/// without counts.
QString widestNumber(const FileListColumnInfo& column, std::span<const FileListRow> rows,
                     CountMode mode) {
    const FileListRow* largest = nullptr;
    double largestValue = 0.0;
    bool anyWithout = false;
    for (const FileListRow& row : rows) {
        if (!row.hasCounts()) {
            anyWithout = true;
            continue;
        }
        const double value = column.sortValueOf(row, mode).toDouble();
        if (largest == nullptr || value > largestValue) {
            largest = &row;
            largestValue = value;
        }
    }
    QString widest = largest != nullptr ? column.textOf(*largest, mode) : QString();
    if (anyWithout && widest.size() < kDash.size()) {
        widest = kDash;
    }
    return widest;
}

std::vector<FileListColumnInfo> makeColumns() {
    std::vector<FileListColumnInfo> columns = {
        {.id = "name",
         .title = QStringLiteral("File Name"),
         .alwaysShown = true,
         .text = nameText,
         .widestText = longestText},
        {.id = "type",
         .title = QStringLiteral("Type"),
         .text = typeText,
         .widestText = widestOfValues<FileType, &FileListRow::fileType>},
        {.id = "size",
         .title = QStringLiteral("Size"),
         .numeric = true,
         .text = sizeCellText,
         .sortValue = sizeValue,
         .widestText = widestSize},
        {.id = "encoding",
         .title = QStringLiteral("Encoding"),
         .text = encodingCellText,
         .widestText = widestOfValues<TextEncoding, &FileListRow::encoding>},
        {.id = "countTime",
         .title = QStringLiteral("Count Time"),
         .numeric = true,
         .text = countTimeCellText,
         .sortValue = countTimeValue,
         .widestText = widestNumber},
    };
    for (const CountColumnInfo& counter : kCountColumns) {
        columns.push_back({.id = counter.jsonName,
                           .title = qstring(counter.listLabel),
                           .numeric = true,
                           .counter = &counter,
                           .text = counterText,
                           .sortValue = countValue,
                           .widestText = widestNumber});
    }
    columns.push_back({.id = "largestFunction",
                       .title = QStringLiteral("Largest Function"),
                       .numeric = true,
                       .text = largestFunctionText,
                       .sortValue = largestFunctionValue,
                       .widestText = widestNumber});
    columns.push_back({.id = "remarks",
                       .title = QStringLiteral("Remarks"),
                       .text = remarksText,
                       .widestText = longestText});
    columns.push_back({.id = "folder",
                       .title = QStringLiteral("Folder"),
                       .hiddenAtFirst = true,
                       .text = folderText,
                       .widestText = longestText});
    return columns;
}

}  // namespace

FileListRow FileListRow::of(const FileCount& record, QString label,
                            const FailedCountTable& failures) {
    FileListRow row;
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
    for (const FunctionComplexity& function : record.functions) {
        row.largestFunction = std::max(row.largestFunction, function.complexity);
    }
    row.counted = record.counted;
    row.failed = record.failed;
    if (const auto found = failures.find(record.path); found != failures.end()) {
        row.failure = qstring(found->second);
    }
    return row;
}

QString FileListColumnInfo::titleIn(CountMode mode) const {
    if (counter != nullptr && counter->column == CountColumn::Code) {
        return countColumnTitle(mode);
    }
    return title;
}

QVariant FileListColumnInfo::sortValueOf(const FileListRow& row, CountMode mode) const {
    return sortValue != nullptr ? sortValue(*this, row, mode) : QVariant(textOf(row, mode));
}

std::span<const FileListColumnInfo> fileListColumns() {
    static const std::vector<FileListColumnInfo> columns = makeColumns();
    return columns;
}

const FileListColumnInfo* fileListColumnAt(int position) {
    const auto columns = fileListColumns();
    return position >= 0 && static_cast<std::size_t>(position) < columns.size()
               ? &columns[static_cast<std::size_t>(position)]
               : nullptr;
}

const FileListColumnInfo* fileListColumnById(std::string_view id) {
    for (const FileListColumnInfo& column : fileListColumns()) {
        if (column.id == id) {
            return &column;
        }
    }
    return nullptr;
}

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
    const QLocale locale;
    if (sizeBytes >= (1u << 30)) {
        return locale.toString(size / (kKilo * kKilo * kKilo), 'f', 2) + QStringLiteral(" GB");
    }
    if (sizeBytes >= (1u << 20)) {
        return locale.toString(size / (kKilo * kKilo), 'f', 2) + QStringLiteral(" MB");
    }
    if (sizeBytes >= 1024u) {
        return locale.toString(size / kKilo, 'f', 2) + QStringLiteral(" KB");
    }
    return locale.toString(sizeBytes) + QStringLiteral(" Bytes");
}

QString countTimeText(double seconds) {
    return QLocale().toString(seconds, 'f', 2);
}

QString countText(std::uint32_t value) {
    return QLocale().toString(value);
}

QString shareText(std::uint32_t sum, std::uint32_t total) {
    const double share = total == 0 ? 0.0 : static_cast<double>(sum) * 100.0 / total;
    const QLocale locale;
    return locale.toString(sum) + QStringLiteral("  (") + locale.toString(share, 'f', 1) +
           QStringLiteral("%)");
}

QString folderOfPath(std::u16string_view path) {
    // "/a.c" is in "/"; the separator before the name goes otherwise.
    const std::size_t name = path.size() - fileNameOfPath(path).size();
    return qstring(path.substr(0, name <= 1 ? name : name - 1));
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

}  // namespace tw::ui
