#include "report/ReportWriter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "engine/CountColumns.h"
#include "report/PrintableName.h"

namespace tw {
namespace {

constexpr std::size_t kMinimumNameWidth = 5;  // "Total"
constexpr std::size_t kNameGap = 4;
constexpr std::u16string_view kFailedPrefix = u"[FAILED] ";
constexpr std::u16string_view kLineEnd = u"\r\n";
/// The size of the pieces the report is handed out in.
constexpr std::size_t kPieceSize = 32 * 1024;
/// The column after the values.
constexpr std::u16string_view kRemarksColumn = u"Remarks";

std::u16string decimal(std::uint32_t value) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}

std::size_t clampedIndentation(int indentation) {
    return static_cast<std::size_t>(std::clamp(indentation, 0, kMaxReportIndentation));
}

/// Writes the report text to an output in pieces; one object per report.
class ReportBuilder {
  public:
    ReportBuilder(const ProjectFolder& root, CountMode mode, bool csv, bool listStyle,
                  bool fullPaths, int indentation, const ReportOutput& output)
        : root_(root),
          mode_(mode),
          csv_(csv),
          listStyle_(listStyle),
          fullPaths_(fullPaths),
          indentation_(clampedIndentation(indentation)),
          widths_(reportWidths(root, mode, listStyle, fullPaths, indentation)),
          output_(output) {}

    bool build() {
        preamble();
        header();
        if (listStyle_) {
            listRows(root_);
        } else {
            treeRows(root_, 0);
        }
        if (open_) {
            totals();
        }
        flush();
        return open_;
    }

  private:
    /// Hands the text so far to the output; what the output no longer wants is dropped.
    void flush() {
        if (open_ && !text_.empty()) {
            open_ = output_(text_);
        }
        text_.clear();
    }

    void line(std::u16string_view content) {
        text_.append(content);
        text_.append(kLineEnd);
        if (text_.size() >= kPieceSize) {
            flush();
        }
    }

    void padded(std::u16string_view content, std::size_t width) {
        text_.append(content);
        if (content.size() < width) {
            text_.append(width - content.size(), u' ');
        }
    }

    void preamble() {
        line(u"Tallyweaver Detailed File Count Report");
        line(csv_ ? u"" : u"--------------------------------------\r\n");
        line(decimal(root_.TotalRecords()) + u" Files:");
        const std::u16string_view separator = csv_ ? u"," : u"\t";
        const std::u16string_view bullet = csv_ ? u"  " : u"- ";
        line(std::u16string(bullet) + u"Counted:" + std::u16string(separator) +
             decimal(root_.CountedRecords(true)));
        line(std::u16string(bullet) + u"Uncounted:" + std::u16string(separator) +
             decimal(root_.UncountedRecords()));
        line(std::u16string(bullet) + u"Failed:" + std::u16string(separator) +
             decimal(root_.FailedRecords(true)) + (csv_ ? u"" : u"\r\n"));
        line(u"Count Mode:" + std::u16string(separator) + std::u16string(countModeName(mode_)) +
             u"\r\n");
    }

    void dashes() {
        text_.append(widths_.name, u'-');
        text_.append(kNameGap, u' ');
        for (std::size_t column = 0; column <= kCountColumns.size(); ++column) {
            text_.append(widths_.column - 1, u'-');
            text_.push_back(u' ');
        }
        text_.append(kLineEnd);
    }

    /// The heading of every column after the file's: the values, then the remarks.
    std::vector<std::u16string_view> headings() const {
        std::vector<std::u16string_view> names;
        for (const CountColumnInfo& info : kCountColumns) {
            names.push_back(info.column == CountColumn::Code ? reportModeColumnName(mode_)
                                                             : info.reportLabel);
        }
        names.push_back(kRemarksColumn);
        return names;
    }

    void header() {
        if (csv_) {
            text_.append(u"File");
            for (const std::u16string_view name : headings()) {
                text_.push_back(u',');
                text_.append(name);
            }
            text_.append(kLineEnd);
            return;
        }
        padded(u"File", widths_.name + kNameGap);
        for (const std::u16string_view name : headings()) {
            padded(name, widths_.column);
        }
        text_.append(kLineEnd);
        dashes();
    }

    /// A column's value as the report shows it: "-" for the columns of the executable mode
    /// in the others.
    std::u16string shown(const CountValues& values, const CountColumnInfo& info) const {
        return shownInMode(info, mode_) ? decimal(values[info.column]) : u"-";
    }

    /// The value fields and the remarks of a text row, and its line end.
    void textValues(const FileCount& record) {
        const CountValues values = CountValues::of(record);
        for (const CountColumnInfo& info : kCountColumns) {
            padded(record.hasCounts() ? shown(values, info) : u"-", widths_.column);
        }
        line(record.remarks);
    }

    void listRow(const FileCount& record) {
        const std::u16string_view name =
            fullPaths_ ? std::u16string_view(record.path) : record.fileName();
        if (!csv_) {
            if (record.failed) {
                text_.append(kFailedPrefix);
            }
            padded(printableName(name), widths_.name + kNameGap);
            textValues(record);
            return;
        }
        text_.append(csvField((record.failed ? std::u16string(kFailedPrefix) : std::u16string()) +
                              std::u16string(name)));
        const CountValues values = CountValues::of(record);
        for (const CountColumnInfo& info : kCountColumns) {
            text_.push_back(u',');
            text_.append(record.hasCounts() ? shown(values, info) : u"-");
        }
        text_.push_back(u',');
        line(record.hasCounts() ? csvField(record.remarks) : u"");
    }

    void listRows(const ProjectFolder& folder) {
        for (const auto& file : folder.files()) {
            if (!open_) {
                return;
            }
            listRow(*file);
        }
        for (const auto& subfolder : folder.subfolders()) {
            listRows(*subfolder);
        }
    }

    void treeRows(const ProjectFolder& folder, std::size_t depth) {
        if (!open_) {
            return;
        }
        const std::size_t indent = std::min(depth * indentation_, kMaxTreeIndent);
        for (const auto& file : folder.files()) {
            text_.append(indent, u' ');
            if (file->failed) {
                text_.append(kFailedPrefix);
            }
            // The indentation belongs to the name field; the prefix does not.
            padded(printableName(file->fileName()), widths_.name + kNameGap - indent);
            textValues(*file);
        }
        for (const auto& subfolder : folder.subfolders()) {
            text_.append(indent, u' ');
            // The top folder of absolute paths, "/", is its own separator.
            const std::u16string name = printableName(subfolder->name());
            line(name.ends_with(u'/') ? name : name + u"/");
            treeRows(*subfolder, depth + 1);
        }
    }

    void totals() {
        const CountValues values = root_.Sums(true);
        if (csv_) {
            text_.append(u"Total");
            for (const CountColumnInfo& info : kCountColumns) {
                text_.push_back(u',');
                text_.append(shown(values, info));
            }
            // An empty remarks field, so that every row of the table has the header's fields.
            line(u",");
            return;
        }
        dashes();
        padded(u"Total", widths_.name + kNameGap);
        for (const CountColumnInfo& info : kCountColumns) {
            padded(shown(values, info), widths_.column);
        }
        text_.append(kLineEnd);
    }

    const ProjectFolder& root_;
    const CountMode mode_;
    const bool csv_;
    const bool listStyle_;
    const bool fullPaths_;
    const std::size_t indentation_;
    const ReportWidths widths_;
    const ReportOutput& output_;
    std::u16string text_;
    bool open_ = true;
};

}  // namespace

std::u16string csvField(std::u16string_view text) {
    if (text.find_first_of(u",\"") == std::u16string_view::npos && !hasControlCharacter(text)) {
        return std::u16string(text);
    }
    std::u16string quoted(1, u'"');
    for (const char16_t unit : text) {
        if (unit == u'"') {
            quoted.push_back(u'"');
        }
        quoted.push_back(unit);
    }
    quoted.push_back(u'"');
    return quoted;
}

std::u16string_view reportModeColumnName(CountMode mode) {
    switch (mode) {
        case CountMode::TerminatingCharacters:
        case CountMode::Executable:
        case CountMode::CyclomaticComplexity:
            return countModeName(mode);
        case CountMode::Physical:
            break;
    }
    return u"Code";
}

ReportWidths reportWidths(const ProjectFolder& root, CountMode mode, bool listStyle, bool fullPaths,
                          int indentation) {
    ReportWidths widths;
    std::size_t longestColumn = std::max(reportModeColumnName(mode).size(), kRemarksColumn.size());
    for (const CountColumnInfo& info : kCountColumns) {
        longestColumn = std::max(longestColumn, info.reportLabel.size());
    }
    widths.column = longestColumn + 1;
    widths.name = listStyle ? std::max(kMinimumNameWidth, root.LongestPath(fullPaths))
                            : root.WidestTreeLabel(kMinimumNameWidth, 0,
                                                   clampedIndentation(indentation), kMaxTreeIndent);
    return widths;
}

bool writeReport(const ProjectFolder& root, CountMode mode, const ReportLayout& layout,
                 const ReportOutput& output) {
    return ReportBuilder(root, mode, layout.format == ReportFormatId::Csv, layout.listStyle,
                         layout.fullPaths, layout.indentation, output)
        .build();
}

std::u16string buildReport(const ProjectFolder& root, CountMode mode, const ReportLayout& layout) {
    std::u16string text;
    writeReport(root, mode, layout, [&text](std::u16string_view piece) {
        text.append(piece);
        return true;
    });
    return text;
}

}  // namespace tw
