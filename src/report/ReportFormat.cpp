#include "report/ReportFormat.h"

#include <algorithm>
#include <array>
#include <ctime>

#include "report/FunctionsReport.h"
#include "report/HtmlReport.h"
#include "report/JsonReport.h"
#include "report/ReportWriter.h"
#include "report/TextFile.h"

namespace tw {
namespace {

/// The whitespace-aligned text and the comma-separated values: one writer, two byte forms (a
/// CSV field keeps the line ends inside a quoted name as they are).
bool writeRows(const ProjectFolder& root, const CountSettings& settings, const ReportLayout& layout,
               ReportLineEnds lineEnds, const ReportBytes& output) {
    const bool csv = layout.format == ReportFormatId::Csv;
    return writeReport(root, settings.mode, layout, [&](std::u16string_view piece) {
        if (lineEnds == ReportLineEnds::StandardOutput) {
            return output(lineFeedTextBytes(piece));
        }
        return output(csv ? csvFileBytes(piece) : textFileBytes(piece));
    });
}

bool writeJson(const ProjectFolder& root, const CountSettings& settings, const ReportLayout&,
               ReportLineEnds, const ReportBytes& output) {
    return writeJsonReport(root, settings, output);
}

/// The page with the tables and the treemap, for a browser; what was counted is named by the
/// project's folders.
bool writeHtml(const ProjectFolder& root, const CountSettings& settings, const ReportLayout&,
               ReportLineEnds, const ReportBytes& output) {
    HtmlReportContext context;
    context.date = htmlReportDate(std::time(nullptr));
    return output(buildHtmlReport(root, settings, context));
}

/// The functions and their complexity, as comma-separated values.
bool writeFunctions(const ProjectFolder& root, const CountSettings&, const ReportLayout&,
                    ReportLineEnds lineEnds, const ReportBytes& output) {
    return writeFunctionsReport(root, [&](std::u16string_view piece) {
        return output(lineEnds == ReportLineEnds::StandardOutput ? lineFeedTextBytes(piece)
                                                                 : csvFileBytes(piece));
    });
}

constexpr std::array<ReportFormat, 5> kReportFormats = {{
    {ReportFormatId::Text, "text", ".txt", "Save as a text file, formatted using whitespace.", true,
     true, writeRows},
    {ReportFormatId::Csv, "csv", ".csv",
     "Save as a comma-separated values file, with columns separated by commas.  This format is "
     "suitable for use in spreadsheet applications such as Microsoft Excel or OpenOffice.org "
     "Calc.",
     true, false, writeRows},
    {ReportFormatId::Json, "json", ".json",
     "Save as JSON for other programs: every file with its counters and the totals, UTF-8.", false,
     false, writeJson},
    {ReportFormatId::Html, "html", ".html",
     "Save as a web page for a browser: the summary, a table by file type, a treemap of the "
     "folders and files, the largest files and the failed ones.",
     false, false, writeHtml},
    {ReportFormatId::Functions, "functions", ".csv",
     "Save every function with its cyclomatic complexity as comma-separated values, the most "
     "complex first.",
     false, false, writeFunctions, false},
}};

constexpr std::array<ReportWord, 8> kReportWords = {{
    {"none", "", "", [](std::optional<ReportLayout>& report) { report.reset(); }},
    {"list", "", "", [](std::optional<ReportLayout>& report) { report = ReportLayout{}; }},
    {"tree", "", "",
     [](std::optional<ReportLayout>& report) { report = ReportLayout{.listStyle = false}; }},
    {"json", "", "",
     [](std::optional<ReportLayout>& report) {
         report = ReportLayout{.format = ReportFormatId::Json};
     }},
    {"html", "", "",
     [](std::optional<ReportLayout>& report) {
         report = ReportLayout{.format = ReportFormatId::Html};
     }},
    {"functions", "", "",
     [](std::optional<ReportLayout>& report) {
         report = ReportLayout{.format = ReportFormatId::Functions};
     }},
    {"nodir", "list", "file names only",
     [](std::optional<ReportLayout>& report) { report->fullPaths = false; }},
    {"csv", "list", "comma-separated values",
     [](std::optional<ReportLayout>& report) { report->format = ReportFormatId::Csv; }},
}};

static_assert(
    [] {
        for (std::size_t i = 0; i < kReportFormats.size(); ++i) {
            if (static_cast<std::size_t>(kReportFormats[i].id) != i) {
                return false;
            }
        }
        return true;
    }(),
    "the format rows stand in the order of ReportFormatId");

/// The rows the dialog offers, which come first.
constexpr std::size_t kDialogFormats = static_cast<std::size_t>(
    std::ranges::find(kReportFormats, false, &ReportFormat::dialog) - kReportFormats.begin());

static_assert(std::ranges::none_of(kReportFormats.begin() + kDialogFormats, kReportFormats.end(),
                                   &ReportFormat::dialog),
              "the dialog's formats stand before the console's own");

}  // namespace

std::span<const ReportFormat> reportFormats() {
    return std::span<const ReportFormat>(kReportFormats).first(kDialogFormats);
}

std::span<const ReportFormat> allReportFormats() {
    return kReportFormats;
}

const ReportFormat& reportFormat(ReportFormatId id) {
    return kReportFormats[static_cast<std::size_t>(id)];
}

bool formatTakesStyle(const ReportFormat& format, bool listStyle) {
    if (!format.list && !format.tree) {
        return true;
    }
    return listStyle ? format.list : format.tree;
}

std::span<const ReportWord> reportWords() {
    return kReportWords;
}

const ReportWord* findReportWord(std::u16string_view word) {
    for (const ReportWord& row : kReportWords) {
        if (word.size() == row.word.size() &&
            std::equal(word.begin(), word.end(), row.word.begin())) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace tw
