#include "report/ChangeReports.h"

#include <algorithm>
#include <array>
#include <utility>

#include "engine/TextConversion.h"
#include "report/JsonText.h"
#include "report/PrintableName.h"
#include "report/ReportWriter.h"

namespace tw {
namespace {

constexpr const char* kNewline = "\r\n";

/// The classes of lines with the member that holds each.
constexpr std::array<std::pair<const char*, LineChanges FileDiff::*>, 3> kClasses = {{
    {"code", &FileDiff::code},
    {"comment", &FileDiff::comment},
    {"blank", &FileDiff::blank},
}};

constexpr std::array<std::pair<const char*, std::uint64_t LineChanges::*>, 4> kChanges = {{
    {"same", &LineChanges::same},
    {"modified", &LineChanges::modified},
    {"added", &LineChanges::added},
    {"removed", &LineChanges::removed},
}};

std::string shown(const std::string& bytes) {
    return utf8FromUtf16(printableName(utf16FromUtf8(bytes, InvalidUtf8::Replace)));
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos &&
        std::none_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + '"';
}

std::string padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text + ' ' : text + std::string(width - text.size(), ' ');
}

std::string modeName(CountMode mode) {
    return utf8FromUtf16(reportModeColumnName(mode));
}

/// The table of one file or of the totals: a header, then rows code, comment and blank.
std::string table(const FileDiff& file, CountMode mode) {
    constexpr std::size_t kWidth = 12;
    std::string out = padded("", 10);
    for (const auto& [name, member] : kChanges) {
        out += padded(name, kWidth);
    }
    out += kNewline;
    for (const auto& [className, classMember] : kClasses) {
        out += padded(className, 10);
        for (const auto& [name, member] : kChanges) {
            out += padded(std::to_string((file.*classMember).*member), kWidth);
        }
        out += kNewline;
    }
    if (mode != CountMode::Physical) {
        out += modeName(mode) + ": " + std::to_string(file.oldCount) + " -> " +
               std::to_string(file.newCount) + kNewline;
    }
    return out;
}

void appendChanges(std::string& out, const FileDiff& file, CountMode mode) {
    for (const auto& [className, classMember] : kClasses) {
        out += ", \"" + std::string(className) + "\": {";
        const char* separator = "";
        for (const auto& [name, member] : kChanges) {
            out += separator + std::string("\"") + name +
                   "\": " + std::to_string((file.*classMember).*member);
            separator = ", ";
        }
        out += "}";
    }
    if (mode != CountMode::Physical) {
        out += ", \"oldCount\": " + std::to_string(file.oldCount) +
               ", \"newCount\": " + std::to_string(file.newCount);
    }
}

void appendString(std::string& out, const std::string& bytes) {
    appendJsonString(out, utf16FromUtf8(bytes, InvalidUtf8::Replace));
}

}  // namespace

std::string diffTotalsTable(const VersionDiff& diff) {
    return table(diff.totals, diff.mode);
}

std::string diffText(const VersionDiff& diff) {
    std::string out =
        "Old: " + shown(diff.oldLabel) + kNewline + "New: " + shown(diff.newLabel) + kNewline;
    for (const FileDiff& file : diff.files) {
        out += kNewline + shown(file.path) + " (" + fileChangeName(file.change) + ")" + kNewline;
        if (!file.failure.empty()) {
            out += "Not compared: " + shown(file.failure) + kNewline;
            continue;
        }
        out += table(file, diff.mode);
    }
    out += std::string(kNewline) + "Totals" + kNewline + table(diff.totals, diff.mode);
    return out;
}

std::string diffCsv(const VersionDiff& diff) {
    const bool logical = diff.mode != CountMode::Physical;
    std::string out = "Path,Status";
    for (const auto& [className, classMember] : kClasses) {
        for (const auto& [name, member] : kChanges) {
            out += std::string(",") + className + ' ' + name;
        }
    }
    if (logical) {
        out += ",Old " + modeName(diff.mode) + ",New " + modeName(diff.mode);
    }
    out += kNewline;
    const auto row = [&](const std::string& path, const std::string& status, const FileDiff& file) {
        out += csvField(shown(path)) + ',' + status;
        for (const auto& [className, classMember] : kClasses) {
            for (const auto& [name, member] : kChanges) {
                out += ',' + std::to_string((file.*classMember).*member);
            }
        }
        if (logical) {
            out += ',' + std::to_string(file.oldCount) + ',' + std::to_string(file.newCount);
        }
        out += kNewline;
    };
    for (const FileDiff& file : diff.files) {
        row(file.path, file.failure.empty() ? fileChangeName(file.change) : "failed", file);
    }
    row("Total", "", diff.totals);
    return out;
}

std::string diffJson(const VersionDiff& diff) {
    std::string out = "{\n  \"old\": ";
    appendString(out, diff.oldLabel);
    out += ",\n  \"new\": ";
    appendString(out, diff.newLabel);
    out += ",\n  \"mode\": ";
    appendJsonString(out, countModeName(diff.mode));
    out += ",\n  \"files\": [";
    const char* separator = "\n";
    for (const FileDiff& file : diff.files) {
        out += separator;
        separator = ",\n";
        out += "    {\"path\": ";
        appendString(out, file.path);
        out += ", \"status\": \"" + std::string(fileChangeName(file.change)) + "\"";
        appendChanges(out, file, diff.mode);
        if (!file.failure.empty()) {
            out += ", \"failure\": ";
            appendString(out, file.failure);
        }
        out += "}";
    }
    out += diff.files.empty() ? "],\n  \"totals\": {" : "\n  ],\n  \"totals\": {";
    std::string totals;
    appendChanges(totals, diff.totals, diff.mode);
    out += totals.substr(2) + "}\n}\n";
    return out;
}

std::string historyCsv(const std::vector<HistoryRow>& rows, CountMode mode) {
    std::string out = "Revision,Commit,Date,Files";
    for (const CountColumnInfo& column : kCountColumns) {
        if (shownInMode(column, mode)) {
            out += ',' + csvField(column.column == CountColumn::Code
                                      ? modeName(mode)
                                      : utf8FromUtf16(column.reportLabel));
        }
    }
    out += kNewline;
    for (const HistoryRow& row : rows) {
        out += csvField(shown(row.version.label)) + ',' + row.version.commitId() + ',' +
               row.version.date() + ',' + std::to_string(row.files);
        for (const CountColumnInfo& column : kCountColumns) {
            if (shownInMode(column, mode)) {
                out += ',' + std::to_string(row.values[column.column]);
            }
        }
        out += kNewline;
    }
    return out;
}

std::string historyJson(const std::vector<HistoryRow>& rows, CountMode mode) {
    std::string out = "{\n  \"mode\": ";
    appendJsonString(out, countModeName(mode));
    out += ",\n  \"revisions\": [";
    const char* separator = "\n";
    for (const HistoryRow& row : rows) {
        out += separator;
        separator = ",\n";
        out += "    {\"revision\": ";
        appendString(out, row.version.label);
        out += ", \"commit\": \"" + row.version.commitId() + "\", \"date\": \"" +
               row.version.date() + "\", \"files\": " + std::to_string(row.files) +
               ", \"failed\": " + std::to_string(row.failed);
        appendJsonCounters(out, row.values);
        out += "}";
    }
    out += rows.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

}  // namespace tw
