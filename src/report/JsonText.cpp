#include "report/JsonText.h"

#include <cstdio>

#include "engine/TextConversion.h"

namespace tw {

void appendJsonString(std::string& out, std::u16string_view text) {
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

void appendJsonBool(std::string& out, bool value) {
    out += value ? "true" : "false";
}

void appendJsonCounters(std::string& out, const CountValues& values) {
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

}  // namespace tw
