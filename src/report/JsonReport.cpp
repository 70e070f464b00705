#include "report/JsonReport.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "engine/CountColumns.h"
#include "engine/TextConversion.h"

namespace tw {
namespace {

/// `text` as a JSON string, quotes included. Control characters are escaped; a code unit that
/// UTF-8 cannot hold (a lone surrogate) becomes '?', as in the other reports.
void appendString(std::string& out, std::u16string_view text) {
    out.push_back('"');
    for (const char c : utf8FromUtf16(text, LoneSurrogate::Question)) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    out += escaped;
                } else {
                    out.push_back(c);
                }
        }
    }
    out.push_back('"');
}

void appendBool(std::string& out, bool value) {
    out += value ? "true" : "false";
}

/// `"name": value` pairs of every column: the counters, then the two totals formed from them.
void appendCounters(std::string& out, const CountValues& values) {
    for (const CountColumnInfo& info : kCountColumns) {
        if (info.counter != nullptr) {
            out +=
                ", \"" + std::string(info.jsonName) + "\": " + std::to_string(values[info.column]);
        }
    }
    for (const CountColumnInfo& info : kCountColumns) {
        if (info.counter == nullptr) {
            out +=
                ", \"" + std::string(info.jsonName) + "\": " + std::to_string(values[info.column]);
        }
    }
}

}  // namespace

bool writeJsonReport(const ProjectFolder& root, const CountSettings& settings,
                     const FailedCountTable& failures,
                     const std::function<bool(std::string_view piece)>& output) {
    constexpr std::size_t kPieceSize = 32 * 1024;
    std::string out = "{\n  \"mode\": ";
    appendString(out, countModeName(settings.mode));
    out += ",\n  \"allCapsFunctionsAsMacros\": ";
    appendBool(out, settings.allCapsFunctionsAsMacros);
    out += ",\n  \"macrosAsStatements\": ";
    appendBool(out, settings.macrosAsStatements);
    out += ",\n  \"logicAsSingleStatement\": ";
    appendBool(out, settings.logicAsSingleStatement);
    out += ",\n  \"files\": [";

    std::vector<const FileCount*> records;
    root.CollectRecords(records);
    const char* separator = "\n";
    for (const FileCount* record : records) {
        out += separator;
        separator = ",\n";
        out += "    {\"path\": ";
        appendString(out, record->path);
        out += ", \"type\": ";
        appendString(out, fileTypeName(record->fileType));
        out += ", \"encoding\": ";
        appendString(out, textEncodingName(record->encoding));
        out += ", \"sizeBytes\": " + std::to_string(record->sizeBytes);
        out += ", \"counted\": ";
        appendBool(out, record->counted);
        out += ", \"failed\": ";
        appendBool(out, record->failed);
        out += ", \"failure\": ";
        if (const auto failure = failures.find(record->path); failure != failures.end()) {
            appendString(out, failure->second);
        } else {
            out += "null";
        }
        out += ", \"remarks\": ";
        appendString(out, record->remarks);
        out += ", \"errorLine\": " + std::to_string(record->errorLine);
        appendCounters(out, CountValues::of(*record));
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
    appendCounters(out, root.Sums(true));
    out += "}\n}\n";
    return output(out);
}

}  // namespace tw
