#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// What follows an option on the command line, as the shell completion offers it.
enum class OptionValues {
    None,         ///< nothing: the next word is another option
    Words,        ///< one of `ConsoleOption::words`
    Directories,  ///< directory names (and `words`, such as -dir's nosub)
    Files,        ///< file names
    ProjectFile,  ///< one project file, right after the option
    Text,         ///< free text (extensions, numbers, patterns): nothing is offered
};

/// One option of the command line: its names, its values and its help. The parser, `--help`
/// (and the manual page made from it) and the bash completion are made from this table.
struct ConsoleOption {
    /// The name as typed, with its dashes ("-dir", "--help").
    std::string name = {};
    /// Other names of the same option, as `--help` shows them ("-h", "-?").
    std::vector<std::string> aliases = {};
    /// The values as `--help` shows them ("[nosub] DIR...", "p|t|e|c"); empty for none.
    std::string values = {};
    OptionValues offers = OptionValues::None;
    /// The words offered for it (mode letters, report words, -dir's nosub).
    std::vector<std::string> words = {};
    /// The option's help: lines of at most `kHelpTextWidth` characters separated by '\n'. When
    /// a line is longer, `--help` wraps the whole text again to that width.
    std::string help = {};
    /// An option of the console run; the others (--help, --version, --open) are the program's
    /// own and count only before the first console option.
    bool console = true;
    /// The option does nothing without a value after it, and says so.
    bool needsValue = false;
};

/// The width of an option's help text in `--help`, which starts it in column `kHelpTextColumn`.
inline constexpr std::size_t kHelpTextWidth = 68;
inline constexpr std::size_t kHelpTextColumn = 24;

/// Every option, in the order `--help` lists them.
const std::vector<ConsoleOption>& consoleOptions();

/// The console option named `name` (without its '-'; case-sensitive, whole), or null.
const ConsoleOption* findConsoleOption(std::u16string_view name);

/// What the languages of the program are, in the words of `--help`.
std::string languagesForHelp();

/// The lines of `text` for a column `width` wide: its own lines when each fits, else the whole
/// text wrapped again at spaces (a word longer than the width stands alone on its line).
std::vector<std::string> helpLines(std::string_view text, std::size_t width);

}  // namespace tw
