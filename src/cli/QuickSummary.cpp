#include "cli/QuickSummary.h"

#include <cstdio>

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
    const auto sum = [&root](std::uint32_t FileCount::*counter) {
        return root.Sum(counter, true);
    };
    const std::uint32_t code = sum(&FileCount::code);
    const std::uint32_t declaration = sum(&FileCount::declaration);
    const std::uint32_t directive = sum(&FileCount::directive);
    const std::uint32_t ownLine = sum(&FileCount::commentOwnLine);
    const std::uint32_t codeLine = sum(&FileCount::commentCodeLine);
    const std::uint32_t banner = sum(&FileCount::commentBanner);
    const std::uint32_t commentBlank = sum(&FileCount::commentBlank);
    const std::uint32_t blank = sum(&FileCount::blank);
    const std::uint32_t totalComment = ownLine + codeLine + banner + commentBlank;
    const std::uint32_t total = code + declaration + directive + totalComment + blank;

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
    text += std::u16string(codeLabel) + withShare(code, total) + u"\n";
    if (mode == CountMode::Executable) {
        text += u"Declarations:\t\t" + withShare(declaration, total) + u"\n";
        text += u"Compiler Directives:\t" + withShare(directive, total) + u"\n";
    }
    text += u"Comment/Own Line:\t" + withShare(ownLine, total) + u"\n";
    text += u"Comment/Code Line:\t" + withShare(codeLine, total) + u"\n";
    text += u"Comment/Banner:\t\t" + withShare(banner, total) + u"\n";
    text += u"Comment/Blank:\t\t" + withShare(commentBlank, total) + u"\n";
    text += u"(Total Comment):\t" + withShare(totalComment, total) + u"\n";
    text += u"Blank:\t\t\t" + withShare(blank, total) + u"\n";
    text += u"(Total):\t\t" + number(total) + u"\n";
    text += u"Comment Words:\t\t" + number(sum(&FileCount::commentWords)) + u"\n\n";
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
