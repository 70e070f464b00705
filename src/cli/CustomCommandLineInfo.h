#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/ReportLayout.h"

namespace tw {

/// The parsed command line and the outcome of the console run. Any recognised option makes the
/// run a console run; options collect the values that follow them, and nothing is ever
/// rejected: what is ignored is noted in `warnings`, which the console run prints. Texts hold
/// command-line bytes in the escaped form of `argumentText`.
class CCustomCommandLineInfo {
  public:
    /// Handles one argument: a switch (its '-' already removed) or a value. An unknown switch
    /// takes the values after it, up to the next switch, and drops them with it. An option that
    /// needs a value and gets none before the next option or the end is noted in `warnings`.
    void ParseParam(std::u16string_view param, bool isSwitch, bool isLast);

    /// Handles the arguments after the program name, in order. An argument beginning with '-'
    /// is a switch, except "-" alone (a value: standard output for `-out`). Nothing else is:
    /// an argument beginning with '/' is an absolute path.
    void ParseArguments(const std::vector<std::u16string>& arguments);

    /// The whole console run: collects the files, counts them, writes the quick summary, the
    /// report when asked and the project file when asked. Sets `resultCode`; false when the run
    /// stopped early with a code from 2 to 6. Progress lines, the quick summary and the names
    /// of the files written go to `out`, or with `-out -` the report (or the summary) alone,
    /// everything else then going to `errors`; why the run stopped, warnings, and each file
    /// that failed to count, to `errors`.
    bool RunConsole(std::ostream& out, std::ostream& errors);
    bool RunConsole();

    /// `-out -`: the report, or the quick summary without one, goes to standard output and no
    /// output file is written.
    bool toStandardOutput() const { return outputDirectoryGiven && outputDirectory == u"-"; }

    /// Appends to `files` every file below `path` whose extension is one of `extensions`,
    /// letter case ignored, scanning subfolders when asked; a directory that cannot be read is
    /// passed over with a warning on `errors`. What `excludePatterns` match is left out and, with
    /// `git`, what git ignores (a directory outside any git work tree is scanned whole, with a
    /// warning). False only when `extensions` is empty.
    bool AddFilesFromDirectory(std::u16string_view path, bool withSubfolders, std::ostream& errors);

    bool consoleMode = false;
    bool noSubfoldersPending = false;
    /// `-nosub`: every directory of the run is scanned without its subfolders.
    bool noSubfolders = false;
    bool quiet = false;
    std::u16string currentOption;
    /// Where the output files go, as given; empty for the current directory unless
    /// `outputDirectoryGiven` (an empty `-out` value names no directory).
    std::u16string outputDirectory;
    bool outputDirectoryGiven = false;
    std::vector<std::u16string> directories;
    std::vector<std::u16string> directoriesNoSubfolders;
    std::vector<std::u16string> extensions;
    /// `-ext` was given, with values or without: without `-ext`, directory scans take the
    /// extensions of the program's languages; an `-ext` without values is an error.
    bool extensionsGiven = false;
    std::vector<std::u16string> files;
    std::vector<std::u16string> listFiles;
    /// The report the `-report` words chose; none without one.
    std::optional<ReportLayout> report;
    int resultCode = 0;

    /// `-save FILE`: also write the counted tree as a project file.
    std::u16string saveFile;
    /// `-threads N`: files counted at once; 0 means one per processor.
    unsigned threads = 0;
    /// `-git`: directory scans take only the files git tracks or would not ignore.
    bool git = false;
    /// `-exclude PATTERN...`: names and paths directory scans leave out, as shell patterns.
    std::vector<std::u16string> excludePatterns;
    /// `-explain FILE...`: the run prints its files line by line, with what each line counted
    /// as, instead of writing output files. Its values are files to count.
    bool explain = false;

    /// `-max-complexity N`: the functions above N are named on standard error after the
    /// outputs are written, and the run ends with exit code 7.
    std::optional<std::uint32_t> maxComplexity;
    /// `-mode` was given a mode.
    bool modeGiven = false;

    /// Why the run counts in the Cyclomatic Complexity mode whatever `-mode` says: the option or
    /// report word that needs functions; empty when none does.
    std::string complexityNeededBy() const;

    /// `-rev REV`: each directory is counted as the git revision REV has it.
    std::u16string revision;
    /// `-diff OLD [NEW]`: the two versions compared, as given (one or two).
    std::vector<std::u16string> diffVersions;
    /// `-history tags|N`: the series of revisions counted.
    std::u16string history;
    /// Whether the run counts versions (`-rev`, `-diff` or `-history`) rather than files.
    bool versionRun() const {
        return !revision.empty() || !diffVersions.empty() || !history.empty();
    }

    /// What parsing ignored, one sentence each, for the console run to print.
    std::vector<std::string> warnings;

  private:
    void applyValue(const std::u16string& value);
    void applyReportWord(const std::u16string& word);
    void applyExtension(const std::u16string& extension);
    /// Puts the warning for the unknown switch being read, with the values it took, if any.
    void endUnknownOption();

    /// The report words that made `report`, as given, to name when a later word replaces them.
    std::u16string reportWords_;
    /// The word that chose `report`, which the words that change it must follow.
    std::string_view reportChoice_;
    /// The unknown switch whose values are being dropped (with its '-'), and those values.
    std::u16string unknownOption_;
    std::vector<std::u16string> unknownValues_;
    /// Warns of `currentOption` when it took no value.
    void noteMissingValue();
    /// `currentOption` needs a value and has had none yet.
    bool awaitingValue_ = false;
};

/// Whether `name` is one of the program's option names (case-sensitive, whole).
bool isOptionName(std::u16string_view name);

/// Whether a command-line argument is a switch: '-' and at least one more character.
bool isSwitchArgument(std::u16string_view argument);

}  // namespace tw
