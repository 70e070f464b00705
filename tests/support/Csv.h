#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tw::test {

/// The records of comma-separated values as RFC 4180 reads them: fields split at commas,
/// records at LF or CR LF; a field in double quotes may hold commas, line breaks and doubled
/// quotes. `ok` is false for a quote in the middle of an unquoted field or a quote never closed.
struct CsvTable {
    std::vector<std::vector<std::string>> records;
    bool ok = true;
};

inline CsvTable parseCsv(std::string_view text) {
    CsvTable table;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;     // inside a quoted field
    bool wasQuoted = false;  // the field began with a quote
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == '"') {
            table.ok = table.ok && field.empty() && !wasQuoted;
            quoted = wasQuoted = true;
        } else if (c == ',') {
            record.push_back(std::move(field));
            field.clear();
            wasQuoted = false;
        } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            i += c == '\r' ? 1 : 0;
            record.push_back(std::move(field));
            table.records.push_back(std::move(record));
            record.clear();
            field.clear();
            wasQuoted = false;
        } else {
            table.ok = table.ok && !wasQuoted;
            field += c;
        }
    }
    table.ok = table.ok && !quoted;
    if (!field.empty() || !record.empty() || wasQuoted) {
        record.push_back(std::move(field));
        table.records.push_back(std::move(record));
    }
    return table;
}

}  // namespace tw::test
