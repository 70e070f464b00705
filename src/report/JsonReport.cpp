#include "report/JsonReport.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "engine/Language.h"
#include "report/JsonText.h"
#include "report/TypeTotals.h"

namespace tw {

namespace {

/// `, "functions": [...]`: one object per function of the record, in its order.
void appendFunctions(std::string& out, const FileCount& record) {
    out += ", \"functions\": [";
    const char* separator = "";
    for (const FunctionComplexity& function : record.functions) {
        out += separator;
        separator = ", ";
        out += "{\"name\": ";
        appendJsonString(out, function.name);
        out += ", \"line\": " + std::to_string(function.line);
        out += ", \"firstLine\": " + std::to_string(function.firstLine);
        out += ", \"lastLine\": " + std::to_string(function.lastLine);
        out += ", \"complexity\": " + std::to_string(function.complexity) + "}";
    }
    out += "]";
}

}  // namespace

bool writeJsonReport(const ProjectFolder& root, const CountSettings& settings,
                     const std::function<bool(std::string_view piece)>& output) {
    constexpr std::size_t kPieceSize = 32 * 1024;
    std::string out = "{\n  \"mode\": ";
    appendJsonString(out, countModeName(settings.mode));
    out += ",\n  \"allCapsFunctionsAsMacros\": ";
    appendJsonBool(out, settings.allCapsFunctionsAsMacros);
    out += ",\n  \"macrosAsStatements\": ";
    appendJsonBool(out, settings.macrosAsStatements);
    out += ",\n  \"logicAsSingleStatement\": ";
    appendJsonBool(out, settings.logicAsSingleStatement);
    out += ",\n  \"files\": [";

    const bool complexity = settings.mode == CountMode::CyclomaticComplexity;
    std::vector<const FileCount*> records;
    root.CollectRecords(records);
    const char* separator = "\n";
    for (const FileCount* record : records) {
        out += separator;
        separator = ",\n";
        out += "    {\"path\": ";
        appendJsonString(out, record->path);
        out += ", \"type\": ";
        appendJsonString(out, fileTypeName(record->fileType));
        out += ", \"encoding\": ";
        appendJsonString(out, textEncodingName(record->encoding));
        out += ", \"sizeBytes\": " + std::to_string(record->sizeBytes);
        out += ", \"counted\": ";
        appendJsonBool(out, record->counted);
        out += ", \"failed\": ";
        appendJsonBool(out, record->failed);
        out += ", \"failure\": ";
        if (record->failed) {
            appendJsonString(out, record->remarks);
        } else {
            out += "null";
        }
        out += ", \"remarks\": ";
        appendJsonString(out, record->remarks);
        out += ", \"errorLine\": " + std::to_string(record->errorLine);
        appendJsonCounters(out, CountValues::of(*record));
        if (complexity) {
            appendFunctions(out, *record);
        }
        out += "}";
        if (out.size() >= kPieceSize) {
            if (!output(out)) {
                return false;
            }
            out.clear();
        }
    }
    out += records.empty() ? "],\n" : "\n  ],\n";

    out += "  \"totals\": {\"files\": " + std::to_string(root.TotalRecords());
    out += ", \"counted\": " + std::to_string(root.CountedRecords(true));
    out += ", \"uncounted\": " + std::to_string(root.UncountedRecords());
    out += ", \"failed\": " + std::to_string(root.FailedRecords(true));
    appendJsonCounters(out, root.Sums(true));
    out += "}";
    appendJsonByType(out, typeTotals(root));
    out += "\n}\n";
    return output(out);
}

}  // namespace tw
