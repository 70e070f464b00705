#include "report/ExplainReport.h"

#include "engine/CommentWordChars.h"
#include "engine/CountColumns.h"
#include "engine/CountMode.h"
#include "engine/LineType.h"
#include "engine/TextConversion.h"
#include "report/JsonText.h"
#include "report/PrintableName.h"

namespace tw {
namespace {

/// What the statement column of `mode` is called; empty in the physical mode, which has none.
std::string_view codeHeading(CountMode mode) {
    switch (mode) {
        case CountMode::TerminatingCharacters:
        case CountMode::Executable:
            return "Statements";
        case CountMode::CyclomaticComplexity:
            return "Complexity";
        case CountMode::Physical:
            break;
    }
    return {};
}

void appendPadded(std::string& out, std::string_view text, std::size_t width, bool right) {
    if (right) {
        out.append(width > text.size() ? width - text.size() : 0, ' ');
    }
    out += text;
    if (!right) {
        out.append(width > text.size() ? width - text.size() : 0, ' ');
    }
}

/// A Latin-1 character (U+0080 to U+00FF) as UTF-8.
void appendLatin1(std::string& out, char16_t c) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
}

constexpr std::size_t kClassWidth = 17;  // "Comment/Code Line"

}  // namespace

std::string explainedLineText(std::u16string_view units, TextEncoding encoding, bool keepTabs) {
    const auto controlOrDelete = [keepTabs](char32_t c) {
        return (c < 0x20 && !(keepTabs && c == u'\t')) || (c >= 0x7F && c < 0xA0);
    };
    if (unitFormOf(encoding) == UnitForm::Utf16) {
        std::u16string shown(units);
        for (char16_t& unit : shown) {
            if (controlOrDelete(unit) || unit == 0x2028 || unit == 0x2029) {
                unit = u'?';
            }
        }
        return utf8FromUtf16(shown, LoneSurrogate::Question);
    }
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size();) {
        const char16_t unit = units[i];
        if (unit < 0x80) {
            out.push_back(controlOrDelete(unit) ? '?' : static_cast<char>(unit));
            ++i;
            continue;
        }
        // A UTF-8 sequence is copied as it stands; any other byte is its Latin-1 character.
        const CommentChar c = commentCharAt(units, i, units.size(), UnitForm::Bytes);
        if (c.length > 1) {
            for (std::size_t k = 0; k < c.length; ++k) {
                out.push_back(static_cast<char>(units[i + k]));
            }
        } else if (controlOrDelete(unit)) {
            out.push_back('?');
        } else {
            appendLatin1(out, unit);
        }
        i += c.length;
    }
    return out;
}

std::string explainText(const ExplainedFile& file, CountMode mode) {
    const FileCount& record = *file.record;
    const FileExplanation& explanation = *file.explanation;
    const std::string_view code = codeHeading(mode);
    const bool executable = mode == CountMode::Executable;

    std::string out = utf8FromUtf16(printableName(record.path), LoneSurrogate::Question) + " (" +
                      utf8FromUtf16(countModeName(mode)) + ")\n";
    out += "  Line  ";
    appendPadded(out, "Class", kClassWidth, false);
    if (!code.empty()) {
        appendPadded(out, code, 11, true);
    }
    if (executable) {
        appendPadded(out, "Declarations", 13, true);
        appendPadded(out, "Directives", 11, true);
    }
    out += "  Text\n";
    for (std::size_t i = 0; i < explanation.lines.size(); ++i) {
        const FileExplanation::Line& line = explanation.lines[i];
        appendPadded(out, std::to_string(i + 1), 6, true);
        out += "  ";
        appendPadded(out, utf8FromUtf16(lineTypeName(line.kind)), kClassWidth, false);
        if (!code.empty()) {
            appendPadded(out, std::to_string(line.statements), 11, true);
        }
        if (executable) {
            appendPadded(out, std::to_string(line.declarations), 13, true);
            appendPadded(out, std::to_string(line.directives), 11, true);
        }
        out += "  ";
        out +=
            explainedLineText(std::u16string_view(explanation.text).substr(line.start, line.length),
                              record.encoding, true);
        out += '\n';
    }
    if (record.failed) {
        out += "  Failed: " + utf8FromUtf16(record.remarks, LoneSurrogate::Question) + "\n";
        return out;
    }
    const CountValues values = CountValues::of(record);
    std::string figures;
    for (const CountColumnInfo& info : kCountColumns) {
        if (!shownInMode(info, mode)) {
            continue;
        }
        const std::u16string_view label =
            info.column == CountColumn::Code ? countModeName(mode) : info.reportLabel;
        figures += (figures.empty() ? "" : ", ") + utf8FromUtf16(label) + " " +
                   std::to_string(values[info.column]);
    }
    out += "  " + figures + "\n";
    return out;
}

std::string explainJson(const std::vector<ExplainedFile>& files, const CountSettings& settings) {
    const bool logical = settings.mode != CountMode::Physical;
    const bool executable = settings.mode == CountMode::Executable;
    std::string out = "{\n  \"mode\": ";
    appendJsonString(out, countModeName(settings.mode));
    out += ",\n  \"allCapsFunctionsAsMacros\": ";
    appendJsonBool(out, settings.allCapsFunctionsAsMacros);
    out += ",\n  \"macrosAsStatements\": ";
    appendJsonBool(out, settings.macrosAsStatements);
    out += ",\n  \"logicAsSingleStatement\": ";
    appendJsonBool(out, settings.logicAsSingleStatement);
    out += ",\n  \"files\": [";
    const char* separator = "\n";
    for (const ExplainedFile& file : files) {
        const FileCount& record = *file.record;
        out += separator;
        separator = ",\n";
        out += "    {\"path\": ";
        appendJsonString(out, record.path);
        out += ", \"counted\": ";
        appendJsonBool(out, record.counted);
        out += ", \"failed\": ";
        appendJsonBool(out, record.failed);
        out += ", \"failure\": ";
        if (record.failed) {
            appendJsonString(out, record.remarks);
        } else {
            out += "null";
        }
        out += ", \"errorLine\": " + std::to_string(record.errorLine);
        appendJsonCounters(out, CountValues::of(record));
        out += ",\n     \"lines\": [";
        const char* lineSeparator = "\n";
        const FileExplanation& explanation = *file.explanation;
        for (std::size_t i = 0; i < explanation.lines.size(); ++i) {
            const FileExplanation::Line& line = explanation.lines[i];
            out += lineSeparator;
            lineSeparator = ",\n";
            out += "      {\"line\": " + std::to_string(i + 1) + ", \"class\": ";
            appendJsonString(out, lineTypeName(line.kind));
            if (logical) {
                out += ", \"statements\": " + std::to_string(line.statements);
            }
            if (executable) {
                out += ", \"declarations\": " + std::to_string(line.declarations);
                out += ", \"directives\": " + std::to_string(line.directives);
            }
            out += ", \"text\": ";
            appendJsonString(
                out, utf16FromUtf8(explainedLineText(
                         std::u16string_view(explanation.text).substr(line.start, line.length),
                         record.encoding, true)));
            out += "}";
        }
        out += explanation.lines.empty() ? "]}" : "\n     ]}";
    }
    out += files.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

}  // namespace tw
