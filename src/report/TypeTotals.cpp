#include "report/TypeTotals.h"

#include <algorithm>
#include <array>

#include "engine/FileCount.h"
#include "engine/Language.h"
#include "engine/TextConversion.h"
#include "report/JsonText.h"

namespace tw {

std::vector<TypeTotal> typeTotals(const ProjectFolder& root) {
    std::vector<const FileCount*> records;
    root.CollectRecords(records);
    // Rows of the language table that share a name ("Undefined") make one entry.
    const auto rowOf = [](FileType type) {
        const std::u16string_view name = fileTypeName(type);
        for (const Language& language : languages()) {
            if (language.name == name) {
                return language.type;
            }
        }
        return type;
    };
    std::vector<TypeTotal> totals;
    for (const Language& language : languages()) {
        if (rowOf(language.type) == language.type) {
            totals.push_back(TypeTotal{.type = language.type, .files = 0, .sums = {}});
        }
    }
    for (const FileCount* record : records) {
        if (!record->counted) {
            continue;
        }
        const FileType row = rowOf(record->fileType);
        auto entry = std::ranges::find(totals, row, &TypeTotal::type);
        if (entry == totals.end()) {
            entry = totals.insert(totals.end(), TypeTotal{.type = row, .files = 0, .sums = {}});
        }
        ++entry->files;
        entry->sums += CountValues::of(*record);
    }
    std::erase_if(totals, [](const TypeTotal& total) { return total.files == 0; });
    return totals;
}

std::string typeTableHeading(CountColumn column, CountMode mode) {
    switch (column) {
        case CountColumn::Code:
            return utf8FromUtf16(countModeName(mode));
        case CountColumn::TotalComment:
            return "Comment lines";
        case CountColumn::Blank:
            return "Blank lines";
        case CountColumn::CommentWords:
            return "Comment words";
        default:
            break;
    }
    return utf8FromUtf16(countColumnInfo(column).reportLabel);
}

std::string typeTotalsText(const std::vector<TypeTotal>& totals, CountMode mode) {
    constexpr std::size_t kValues = std::size(kTypeTableColumns) + 1;  // with the files
    using Row = std::array<std::string, kValues + 1>;
    std::vector<Row> rows;
    Row header{"File type", "Files"};
    for (std::size_t i = 0; i < std::size(kTypeTableColumns); ++i) {
        header[i + 2] = typeTableHeading(kTypeTableColumns[i], mode);
    }
    rows.push_back(header);
    const auto valuesRow = [](std::string name, std::uint32_t files, const CountValues& sums) {
        Row row{std::move(name), std::to_string(files)};
        for (std::size_t i = 0; i < std::size(kTypeTableColumns); ++i) {
            row[i + 2] = std::to_string(sums[kTypeTableColumns[i]]);
        }
        return row;
    };
    std::uint32_t files = 0;
    CountValues sums;
    for (const TypeTotal& total : totals) {
        rows.push_back(valuesRow(utf8FromUtf16(fileTypeName(total.type)), total.files, total.sums));
        files += total.files;
        sums += total.sums;
    }
    rows.push_back(valuesRow("Total", files, sums));

    std::array<std::size_t, kValues + 1> widths{};
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    std::string text;
    const auto line = [&](const Row& row) {
        text += row[0] + std::string(widths[0] - row[0].size(), ' ');
        for (std::size_t i = 1; i < row.size(); ++i) {
            text += std::string(widths[i] - row[i].size() + 2, ' ') + row[i];
        }
        text += '\n';
    };
    const auto rule = [&] {
        std::size_t width = widths[0];
        for (std::size_t i = 1; i < widths.size(); ++i) {
            width += widths[i] + 2;
        }
        text += std::string(width, '-') + '\n';
    };
    line(rows.front());
    rule();
    for (std::size_t i = 1; i + 1 < rows.size(); ++i) {
        line(rows[i]);
    }
    rule();
    line(rows.back());
    return text;
}

void appendJsonByType(std::string& out, const std::vector<TypeTotal>& totals) {
    out += ",\n  \"byType\": [";
    const char* separator = "\n";
    for (const TypeTotal& total : totals) {
        out += separator;
        separator = ",\n";
        out += "    {\"type\": ";
        appendJsonString(out, fileTypeName(total.type));
        out += ", \"files\": " + std::to_string(total.files);
        appendJsonCounters(out, total.sums);
        out += "}";
    }
    out += totals.empty() ? "]" : "\n  ]";
}

}  // namespace tw
