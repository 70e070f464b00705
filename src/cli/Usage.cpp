#include "cli/Usage.h"

#include <string>

#include "engine/Language.h"

namespace tw {
namespace {

/// The text with "{languages}" where the language table's list goes.
constexpr std::string_view kUsageTemplate = R"(Usage: tallyweaver [options]

Without options the desktop program starts. With any option below, the files the options
name are counted without a window, a quick summary is written and, if asked, a report.
Options begin with '-' and take the values that follow them, up to the next option. Only
'-' begins an option: a value beginning with '/' is an absolute path.

  -dir [nosub] DIR...   scan directories for files with the given extensions, with their
                        subfolders; a directory after the word nosub is scanned without
                        them. Without -ext the scans take the extensions of the program's
                        languages ({languages}),
                        and say so on standard error
  -ext EXT...           extensions the directory scans take (cpp and .cpp are the same;
                        letter case does not matter: .c takes a.c and A.C). The files of
                        an extension that is none of the program's languages are counted
                        with the rules of C, with a warning
  -file FILE...         files to count
  -list LISTFILE...     text files that name one file to count per line
  -mode p|t|e|c         p Physical (default), t Terminating Characters,
                        e Executable, c Cyclomatic Complexity
  -report none|list|tree|json [nodir] [csv]
                        the report: none, list, tree or json (a run writes one: a later
                        word replaces an earlier one, with a warning); after list also
                        nodir (file names only) and csv (comma-separated values)
  -out DIR              where the output files go (default: the current directory); a
                        DIR that does not exist is made, with its parents. With -out -
                        the report (or, without -report, the quick summary) goes to
                        standard output and no file is written; progress lines and
                        messages then go to standard error
  -quiet                no "Parsing:" line per file
  -nosub                every directory of the run is scanned without its subfolders
  -save FILE            also write the counted files as a project (.tyx) for the desktop
                        program; an existing FILE is replaced by a new file (another hard
                        link to it keeps the old content); a FILE that is read-only or no
                        regular file (a device, a pipe) is refused with exit code 6
  -threads N            files counted at once (default: one per processor; 1 counts one
                        file at a time)
  -git                  a directory inside a git work tree gives only the files git tracks
                        or would not ignore (.gitignore files, .git/info/exclude, the global
                        excludes file); submodules follow their own rules. A directory
                        outside any work tree is scanned whole, with a warning
  -exclude PATTERN...   directory scans leave out every file and folder whose name, or path
                        below the scanned directory, matches a pattern: * and ? (not
                        across '/'), [...], ** for any number of folders; PATTERN/ matches
                        folders only, /PATTERN the path only; letter case counts
  -explain FILE...      print each file line by line instead of writing output files: the
                        class of each line (Code, Comment/Own Line, Comment/Code Line,
                        Comment/Banner, Comment/Blank, Blank) and, in the logical modes,
                        the statements (and in mode e the declarations and directives)
                        counted on it; with -report json the same as one JSON document.
                        Files that -file, -dir and -list name are explained too
  --help, -h, -?, /?    this text
  --version             the program's name and version
  --open FILE           start the desktop program with the project file FILE open (no count)

An unknown option is ignored together with the values after it, up to the next option,
with a warning that names them.

Paths are shown as they were given: -dir src lists src/main.c, -file a.c lists a.c.
Directories are scanned in name order, letter case ignored. -ext, -dir nosub, -git and
-exclude all apply: a file is taken only when every one of them lets it through. A file
named by two paths (a link, a folder given twice, -dir . src) is counted once, under the
path met first, with a warning for the other.

Output files, in the output directory, stamped with the local time _DD_MM_YYYY_hh_mm_ss:
  output<stamp>.txt     the quick summary
  report<stamp>.txt     the report (report<stamp>.csv with csv, report<stamp>.json with
                        json)
A run never overwrites a file: when a name is taken, it adds _2, _3, ... before the
extension. The files appear only once complete. At the end the quick summary and the names
of the files written are printed; errors and warnings go to standard error.

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
blank, commentWords, totalComment, total), and "totals" with the numbers of files,
counted, uncounted and failed files and the same counters summed over the counted files.

What the figures count: each line is one of Code, Comment/Own Line (comment alone),
Comment/Code Line (code and comment), Comment/Banner (comment without a word),
Comment/Blank (blank inside a block comment) or Blank. Line counters that show code,
comment and blank lines count code = Code + Comment/Code Line, comment = Comment/Own Line
+ Comment/Banner, blank = Blank + Comment/Blank. In mode t Code is the number of ';', in
mode e the executable statements (calls, operators, initialisations, control statements),
beside Declarations and Compiler Directives.

Exit codes:
  0  the run completed
  2  -ext was given without an extension
  3  a list file could not be opened
  4  there is no file to count
  5  the output directory could not be made, or is not a directory
  6  the summary, report or project file could not be written
  8  every output was written, but some file could not be read (each is named on
     standard error)
Any exit code other than 0 comes with a line on standard error that says why.

Examples:
  tallyweaver -dir src -ext .cpp .h -mode e -report list -out results
  tallyweaver -file main.cpp util.h -mode t -quiet
  tallyweaver -list files.txt -report tree -save counted.tyx
  tallyweaver -dir src -report json -out - | jq .totals
  tallyweaver -explain src/main.c -mode e
  tallyweaver -dir . -ext .c .h .cpp -git -exclude third_party/ '*.pb.cc' 'gen/**'
)";

constexpr std::string_view kLanguagesMark = "{languages}";

}  // namespace

std::string_view usageText() {
    static const std::string text = [] {
        std::string filled(kUsageTemplate);
        filled.replace(filled.find(kLanguagesMark), kLanguagesMark.size(), languageSummary());
        return filled;
    }();
    return text;
}

}  // namespace tw
