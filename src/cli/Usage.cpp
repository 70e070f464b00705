#include "cli/Usage.h"

#include <string>

#include "cli/ConsoleOptions.h"
#include "report/ReportFormat.h"

namespace tw {
namespace {

constexpr std::string_view kIntro = R"(Usage: tallyweaver [options]

Without options the desktop program starts. With any option below, the files the options
name are counted without a window, a quick summary is written and, if asked, a report.
Options begin with '-' and take the values that follow them, up to the next option. Only
'-' begins an option: a value beginning with '/' is an absolute path.

)";

constexpr std::string_view kAfterOptions = R"(
An unknown option is ignored together with the values after it, up to the next option,
with a warning that names them.

Paths are shown as they were given: -dir src lists src/main.c, -file a.c lists a.c.
Directories are scanned in name order, letter case ignored. -ext, -dir nosub, -git and
-exclude all apply: a file is taken only when every one of them lets it through. A file
named by two paths (a link, a folder given twice, -dir . src) is counted once, under the
path met first, with a warning for the other.

Output files, in the output directory, stamped with the local time _DD_MM_YYYY_hh_mm_ss:
  output<stamp>.txt     the quick summary
)";

constexpr std::string_view kAfterOutputFiles =
    R"(A run never overwrites a file: when a name is taken, it adds _2, _3, ... before the
extension. The files appear only once complete. At the end the quick summary, a table by
file type (Files, the mode's count, Comment lines, Blank lines, Comment words, and a Total
row; not in the summary file) and the names of the files written are printed; errors and
warnings go to standard error.

When a file fails to count:
  PATH:LINE: warning: TEXT
                        the counter could not parse the file (an unclosed comment or
                        literal, a statement it cannot follow): the file is uncounted and
                        listed in the summary, and the exit code stays as it is
  PATH: error: REASON   the file could not be read at all (it does not exist, is a
                        directory, may not be read, or a read failed): every output is
                        still written, and the run ends with exit code 8
Each is printed on standard error as the count reaches the file.

The json report (UTF-8) holds "mode" and the three logical options, "files" with one
object per file (path, type, encoding, sizeBytes, counted, failed, failure: the error
text of a file whose count failed, or null, remarks, errorLine and the counters code,
declaration, directive, commentOwnLine, commentCodeLine, commentBanner, commentBlank,
blank, commentWords, totalComment, total; in mode c also "functions", each with name,
line, firstLine, lastLine and complexity), and "totals" with the numbers of files,
counted, uncounted and failed files and the same counters summed over the counted files,
and "byType" with one object per file type (type, files and the same counters).

The html report is one page that needs nothing beside it: the run and the quick summary's
figures, the table by file type, a treemap of the folders and files (area in proportion
to the total lines, coloured by file type; click a folder to zoom in, Back or Escape to
go back), the 20 largest files, the failed files and, in mode c, the 20 most complex
functions; with -diff also the comparison and the changed files.

The functions report (-report functions, comma-separated values) has one row per function
(File, Function, Line, Lines, Complexity), the most complex first, functions of equal
complexity in project order. It and -max-complexity count in mode c whatever -mode says,
with a warning when -mode named another mode.

What the figures count: each line is one of Code, Comment/Own Line (comment alone),
Comment/Code Line (code and comment), Comment/Banner (comment without a word),
Comment/Blank (blank inside a block comment) or Blank. Line counters that show code,
comment and blank lines count code = Code + Comment/Code Line, comment = Comment/Own Line
+ Comment/Banner, blank = Blank + Comment/Blank. In mode t Code is the number of ';', in
mode e the executable statements (calls, operators, initialisations, control statements),
beside Declarations and Compiler Directives.

Mode c measures the cyclomatic complexity of each function of C, C++ and Java: 1, plus one
for each if, for, while, case label (not default), catch, &&, || (and, or) and conditional
?, outside comments and literals; a lambda or local class counts toward the function that
holds it. A file's figure is the sum of its functions'.

Exit codes:
  0  the run completed
  2  -ext was given without an extension
  3  a list file could not be opened
  4  there is no file to count
  5  the output directory could not be made, or is not a directory
  6  the summary, report or project file could not be written
  7  every output was written, but a function is above the limit of -max-complexity
     (each is named on standard error)
  8  every output was written, but some file could not be read (each is named on
     standard error); this code wins over 7
Any exit code other than 0 comes with a line on standard error that says why.

Examples:
  tallyweaver -dir src -ext .cpp .h -mode e -report list -out results
  tallyweaver -file main.cpp util.h -mode t -quiet
  tallyweaver -list files.txt -report tree -save counted.tyx
  tallyweaver -dir src -report json -out - | jq .totals
  tallyweaver -dir src -report html -out site
  tallyweaver -explain src/main.c -mode e
  tallyweaver -dir src -report functions -max-complexity 15 -out build/complexity
  tallyweaver -dir . -ext .c .h .cpp -git -exclude third_party/ '*.pb.cc' 'gen/**'
  tallyweaver -dir src -rev v1.0
  tallyweaver -dir . -diff v1.0 v2.0 -report json
  tallyweaver -diff release-1.0 release-2.0 -ext .c .h
  tallyweaver -dir . -history tags
)";

/// One item of a list: the term in column 2, its text in `kHelpTextColumn`, on the term's line
/// when the term leaves room for it.
void appendItem(std::string& text, const std::string& term, std::string_view description) {
    const std::vector<std::string> lines = helpLines(description, kHelpTextWidth);
    const std::string indent(kHelpTextColumn, ' ');
    text += "  " + term;
    if (2 + term.size() + 2 <= kHelpTextColumn) {
        text += std::string(kHelpTextColumn - 2 - term.size(), ' ');
    } else {
        text += "\n" + indent;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += (i == 0 ? "" : indent) + lines[i] + "\n";
    }
}

std::string makeUsageText() {
    std::string text(kIntro);
    for (const ConsoleOption& option : consoleOptions()) {
        std::string term = option.name;
        for (const std::string& alias : option.aliases) {
            term += ", " + alias;
        }
        if (!option.values.empty()) {
            term += " " + option.values;
        }
        appendItem(text, term, option.help);
    }
    text += kAfterOptions;
    // The report of each format, the default format first.
    std::string others;
    for (const ReportFormat& format : allReportFormats().subspan(1)) {
        others += (others.empty() ? "" : ", ") + std::string("report<stamp>") +
                  std::string(format.extension) + " with " + std::string(format.name);
    }
    appendItem(text, "report<stamp>" + std::string(reportFormats()[0].extension),
               "the report (" + others + ")");
    text += kAfterOutputFiles;
    return text;
}

}  // namespace

std::string_view usageText() {
    static const std::string text = makeUsageText();
    return text;
}

}  // namespace tw
