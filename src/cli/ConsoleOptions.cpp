#include "cli/ConsoleOptions.h"

#include "engine/Language.h"

#include <algorithm>

#include "report/ReportFormat.h"

namespace tw {
namespace {

/// "a, b and c", or with `last` = " or " "a, b or c".
std::string joined(const std::vector<std::string>& items, std::string_view last) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i != 0) {
            text += i + 1 == items.size() ? std::string(last) : std::string(", ");
        }
        text += items[i];
    }
    return text;
}

/// -report's values and help, from the report words.
void describeReportWords(ConsoleOption& option) {
    std::vector<std::string> choices;
    std::vector<std::string> changes;
    std::string after;
    option.values.clear();
    for (const ReportWord& word : reportWords()) {
        option.words.emplace_back(word.word);
        if (word.after.empty()) {
            option.values += (choices.empty() ? "" : "|") + std::string(word.word);
            choices.emplace_back(word.word);
        } else {
            option.values += " [" + std::string(word.word) + "]";
            changes.push_back(std::string(word.word) + " (" + std::string(word.note) + ")");
            after = word.after;
        }
    }
    option.help = "the report: " + joined(choices, " or ") +
                  " (a run writes one: a later\nword replaces an earlier one, with a warning)";
    if (!changes.empty()) {
        option.help += "; after " + after + " also\n" + joined(changes, " and ");
    }
}

std::vector<ConsoleOption> makeOptions() {
    using enum OptionValues;
    std::vector<ConsoleOption> options = {
        {.name = "-dir",
         .values = "[nosub] DIR...",
         .offers = Directories,
         .words = {"nosub"},
         .help = "scan directories for files with the given extensions, with their\n"
                 "subfolders; a directory after the word nosub is scanned without\n"
                 "them. Without -ext the scans take the extensions of the program's\n"
                 "languages (" +
                 languagesForHelp() +
                 "),\n"
                 "and say so on standard error",
         .needsValue = true},
        {.name = "-ext",
         .values = "EXT...",
         .offers = Text,
         .help = "extensions the directory scans take (cpp and .cpp are the same;\n"
                 "letter case does not matter: .c takes a.c and A.C). The files of\n"
                 "an extension that is none of the program's languages are counted\n"
                 "with the rules of C, with a warning",
         .needsValue = true},
        {.name = "-file",
         .values = "FILE...",
         .offers = Files,
         .help = "files to count",
         .needsValue = true},
        {.name = "-list",
         .values = "LISTFILE...",
         .offers = Files,
         .help = "text files that name one file to count per line",
         .needsValue = true},
        {.name = "-mode",
         .values = "p|t|e|c",
         .offers = Words,
         .words = {"p", "t", "e", "c"},
         .help = "p Physical (default), t Terminating Characters,\n"
                 "e Executable, c Cyclomatic Complexity",
         .needsValue = true},
        {.name = "-report", .offers = Words, .needsValue = true},
        {.name = "-max-complexity",
         .values = "N",
         .offers = Text,
         .help = "a gate for builds: after every output is written, each function\n"
                 "whose cyclomatic complexity is above N is named on standard error\n"
                 "as PATH:LINE: warning: function 'NAME' has cyclomatic complexity M\n"
                 "(limit N), and the run ends with exit code 7. Implies -mode c",
         .needsValue = true},
        {.name = "-out",
         .values = "DIR",
         .offers = Directories,
         .help = "where the output files go (default: the current directory); a\n"
                 "DIR that does not exist is made, with its parents. With -out -\n"
                 "the report (or, without -report, the quick summary) goes to\n"
                 "standard output and no file is written; progress lines and\n"
                 "messages then go to standard error",
         .needsValue = true},
        {.name = "-quiet", .help = "no \"Parsing:\" line per file"},
        {.name = "-nosub", .help = "every directory of the run is scanned without its subfolders"},
        {.name = "-save",
         .values = "FILE",
         .offers = Files,
         .help = "also write the counted files as a project (.tyx) for the desktop\n"
                 "program; an existing FILE is replaced by a new file (another hard\n"
                 "link to it keeps the old content); a FILE that is read-only or no\n"
                 "regular file (a device, a pipe) is refused with exit code 6",
         .needsValue = true},
        {.name = "-threads",
         .values = "N",
         .offers = Text,
         .help = "files counted at once (default: one per processor; 1 counts one\n"
                 "file at a time)",
         .needsValue = true},
        {.name = "-git",
         .help = "a directory inside a git work tree gives only the files git tracks\n"
                 "or would not ignore (.gitignore files, .git/info/exclude, the global\n"
                 "excludes file); submodules follow their own rules. A directory\n"
                 "outside any work tree is scanned whole, with a warning"},
        {.name = "-exclude",
         .values = "PATTERN...",
         .offers = Text,
         .help = "directory scans leave out every file and folder whose name, or path\n"
                 "below the scanned directory, matches a pattern: * and ? (not\n"
                 "across '/'), [...], ** for any number of folders; PATTERN/ matches\n"
                 "folders only, /PATTERN the path only; letter case counts",
         .needsValue = true},
        {.name = "-rev",
         .values = "REV",
         .offers = Text,
         .help = "count each -dir as the git revision REV has it (a tag, a branch,\n"
                 "HEAD~20, a commit id), read from the repository without a\n"
                 "checkout; -git is implied. Example: -dir src -rev v1.0",
         .needsValue = true},
        {.name = "-diff",
         .values = "OLD NEW",
         .offers = Text,
         .help = "compare two versions file by file: with -dir, two revisions of each\n"
                 "directory's repository (NEW left out: the work tree on disk);\n"
                 "without -dir, two directories. Writes diff_<stamp>.txt (.csv with\n"
                 "-report list csv, .json with -report json) beside the quick\n"
                 "summary of NEW. Example: -dir . -diff v1.0 v2.0",
         .needsValue = true},
        {.name = "-history",
         .values = "tags|N",
         .offers = Words,
         .words = {"tags"},
         .help = "count every tag, or the last N commits along the first parents of\n"
                 "HEAD (or of -rev), of each -dir's repository: one row per revision\n"
                 "in history_<stamp>.csv (and .json with -report json). Example:\n"
                 "-dir . -history 50",
         .needsValue = true},
        // Its values are files to count, but -file, -dir and -list may name them instead.
        {.name = "-explain",
         .values = "FILE...",
         .offers = Files,
         .help = "print each file line by line instead of writing output files: the\n"
                 "class of each line (Code, Comment/Own Line, Comment/Code Line,\n"
                 "Comment/Banner, Comment/Blank, Blank) and, in the logical modes,\n"
                 "the statements (and in mode e the declarations and directives)\n"
                 "counted on it; with -report json the same as one JSON document.\n"
                 "Files that -file, -dir and -list name are explained too"},
        {.name = "--help", .aliases = {"-h", "-?", "/?"}, .help = "this text", .console = false},
        {.name = "--version", .help = "the program's name and version", .console = false},
        {.name = "--open",
         .values = "FILE",
         .offers = ProjectFile,
         .help = "start the desktop program with the project file FILE open (no count)",
         .console = false},
    };
    for (ConsoleOption& option : options) {
        if (option.name == "-report") {
            describeReportWords(option);
        }
    }
    return options;
}

}  // namespace

const std::vector<ConsoleOption>& consoleOptions() {
    static const std::vector<ConsoleOption> options = makeOptions();
    return options;
}

const ConsoleOption* findConsoleOption(std::u16string_view name) {
    for (const ConsoleOption& option : consoleOptions()) {
        if (option.console && option.name.size() == name.size() + 1 &&
            std::equal(name.begin(), name.end(), option.name.begin() + 1)) {
            return &option;
        }
    }
    return nullptr;
}

std::string languagesForHelp() {
    return languageSummary();
}

std::vector<std::string> helpLines(std::string_view text, std::size_t width) {
    std::vector<std::string> lines;
    bool fits = true;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        fits = fits && end - start <= width;
        start = end + 1;
    }
    if (fits) {
        return lines;
    }
    lines.clear();
    std::string line;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of(" \n", start), text.size());
        const std::string_view word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty()) {
            continue;
        }
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + std::string(word);
    }
    lines.push_back(line);
    return lines;
}

}  // namespace tw
