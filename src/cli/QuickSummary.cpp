#include "cli/QuickSummary.h"

#include <cstdio>

#include "engine/CountColumns.h"
#include "engine/TextConversion.h"
#include "report/PrintableName.h"

namespace tw {
namespace {

std::u16string number(std::uint32_t value) {
    return utf16FromUtf8(std::to_string(value));
}

/// "%u (%.1f%%)" of a value and its share of the total.
std::u16string withShare(std::uint32_t value, std::uint32_t total) {
    char share[64];
    std::snprintf(share, sizeof share, "%u (%.1f%%)", value,
                  static_cast<double>(percentOf(value, total)));
    return utf16FromUtf8(share);
}

}  // namespace

float percentOf(std::uint32_t value, std::uint32_t total) {
    if (total == 0) {
        return 0.0f;
    }
    const long double share =
        static_cast<long double>(value) * 100.0L / static_cast<long double>(total);
    return static_cast<float>(share);
}

std::u16string buildQuickSummary(const ProjectFolder& root, CountMode mode,
                                 const FailedCountTable& failures) {
    const CountValues sums = root.Sums(true);
    const std::uint32_t total = sums[CountColumn::Total];

    std::u16string text =
        u"Tallyweaver Results Quick Summary\n---------------------------------\n\nCount Mode:\t";
    std::u16string_view codeLabel;
    switch (mode) {
        case CountMode::TerminatingCharacters:
            text += u"Logical/Terminating Characters\n\n";
            codeLabel = u"Terminating Characters:\t";
            break;
        case CountMode::Executable:
            text += u"Logical/Executable Statements\n\n";
            codeLabel = u"Executable Statements:\t";
            break;
        case CountMode::CyclomaticComplexity:
            text += u"Logical/Cyclomatic Complexity\n\n";
            codeLabel = u"Cyclomatic Complexity:\t";
            break;
        default:
            text += u"Physical Lines\n\n";
            codeLabel = u"Physical:\t";
            break;
    }
    text += u"Counted:\t" + number(root.CountedRecords(true)) + u"\nUncounted:\t" +
            number(root.UncountedRecords()) + u"\nFailed:\t\t" + number(root.FailedRecords(true)) +
            u"\n\n";
    for (const CountColumnInfo& info : kCountColumns) {
        if (!shownInMode(info, mode)) {
            continue;  // the declarations and directives, outside the executable mode
        }
        const std::uint32_t value = sums[info.column];
        text += info.column == CountColumn::Code ? codeLabel : info.summaryLabel;
        text += info.withShare ? withShare(value, total) : number(value);
        text += u"\n";
    }
    text += u"\n";
    if (!failures.empty()) {
        text += u"Tallyweaver failed to count the following files:\n";
        text += u"------------------------------------------------\n\n";
        for (const auto& [path, remarks] : failures) {
            text += printableName(path) + u"\n\t" + remarks + u"\n\n";
        }
    }
    return text;
}

}  // namespace tw
