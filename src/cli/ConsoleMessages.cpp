#include "cli/ConsoleMessages.h"

#include <cstring>
#include <ostream>

#include "cli/ArgumentText.h"
#include "engine/FileCount.h"
#include "engine/SourceFile.h"
#include "engine/TextConversion.h"
#include "report/PrintableName.h"

namespace tw {

void printError(std::ostream& out, std::string_view text) {
    out << "tallyweaver: " << text << '\n' << std::flush;
}

void printWarning(std::ostream& out, std::string_view text) {
    out << "tallyweaver: warning: " << text << '\n' << std::flush;
}

void printNotice(std::ostream& out, std::string_view text) {
    out << "tallyweaver: " << text << '\n' << std::flush;
}

std::string countFailureLine(const FileCount& record) {
    const std::string path = utf8FromUtf16(printableName(record.path));
    if (record.readError != 0) {
        return path + ": error: " + systemReason(record.readError);
    }
    // The line goes before the text, so the " (line N)." the count put after it is left out.
    std::u16string_view text = record.remarks;
    std::string where = path;
    if (record.errorLine != -1) {
        const std::u16string lineEnd =
            u" (line " + utf16FromUtf8(std::to_string(record.errorLine)) + u").";
        if (text.ends_with(lineEnd)) {
            text.remove_suffix(lineEnd.size());
        }
        where += ":" + std::to_string(record.errorLine);
    }
    return where + ": warning: " + utf8FromUtf16(printableName(text));
}

std::string complexityWarningLine(const FileCount& record, const FunctionComplexity& function,
                                  std::uint32_t limit) {
    return utf8FromUtf16(printableName(record.path)) + ":" + std::to_string(function.line) +
           ": warning: function '" + utf8FromUtf16(printableName(function.name)) +
           "' has cyclomatic complexity " + std::to_string(function.complexity) + " (limit " +
           std::to_string(limit) + ")";
}

std::string complexityLimitError(std::size_t count, std::uint32_t limit) {
    return std::to_string(count) + (count == 1 ? " function has" : " functions have") +
           " a cyclomatic complexity above " + std::to_string(limit) +
           "; the warnings above name them";
}

std::string sameFileWarning(std::u16string_view path, std::u16string_view earlier) {
    return "file " + quoted(path) + " is the same file as " + quoted(earlier) + "; passed over";
}

std::string unreadableFilesError(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " file" : " files") +
           " could not be read; the lines with 'error:' above name them";
}

std::string quoted(std::u16string_view text) {
    return "'" + utf8FromUtf16(printableName(displayText(text))) + "'";
}

std::string quoted(std::string_view bytes) {
    return quoted(argumentText(bytes));
}

std::string systemReason(int error) {
    return error == kNotARegularFile ? "Not a regular file" : std::strerror(error);
}

}  // namespace tw
