#include "report/FunctionsReport.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/TextConversion.h"
#include "report/ReportWriter.h"

namespace tw {
namespace {

struct FunctionRow {
    const FileCount* record;
    const FunctionComplexity* function;
};

std::u16string decimal(std::uint32_t value) {
    return utf16FromUtf8(std::to_string(value));
}

}  // namespace

bool writeFunctionsReport(const ProjectFolder& root,
                          const std::function<bool(std::u16string_view piece)>& output) {
    constexpr std::size_t kPieceSize = 32 * 1024;
    std::vector<const FileCount*> records;
    root.CollectRecords(records);
    std::vector<FunctionRow> rows;
    for (const FileCount* record : records) {
        if (!record->hasCounts()) {
            continue;  // a record that is not counted may still hold the lists of an old count
        }
        for (const FunctionComplexity& function : record->functions) {
            rows.push_back({record, &function});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const FunctionRow& a, const FunctionRow& b) {
        return a.function->complexity > b.function->complexity;
    });

    std::u16string text = u"File,Function,Line,Lines,Complexity\r\n";
    for (const FunctionRow& row : rows) {
        const FunctionComplexity& function = *row.function;
        const std::uint32_t lines = function.lastLine >= function.firstLine
                                        ? function.lastLine - function.firstLine + 1
                                        : 1;
        text += csvField(row.record->path) + u',' + csvField(function.name) + u',' +
                decimal(function.line) + u',' + decimal(lines) + u',' +
                decimal(function.complexity) + u"\r\n";
        if (text.size() >= kPieceSize) {
            if (!output(text)) {
                return false;
            }
            text.clear();
        }
    }
    return output(text);
}

}  // namespace tw
