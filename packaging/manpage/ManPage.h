#pragma once

#include <string>
#include <string_view>

namespace tw::manpage {

/// What a manual page is made from.
struct ManPageSource {
    std::string helpText;     ///< what `--help` prints
    std::string versionText;  ///< what `--version` prints: the product name and version
    std::string date;         ///< the date the page shows, as given
    /// Sections written by hand in man markup, each opened by ".SH NAME": added to the
    /// section of that name made from the help text, or placed as a section of their own.
    std::string extraSections;
};

/// The manual page (section 1, man(7) markup) of a program from its help text.
///
/// The help text is read as plain paragraphs separated by blank lines: "Usage: ..." lines give
/// the synopsis; the paragraphs before the first indented list, the description; that list,
/// the options. A line at the left margin ending in ':' starts a section: "Exit codes",
/// "Examples" and "Output files" (or "Files") become EXIT STATUS, EXAMPLES and FILES, any
/// other a subsection. An indented line "TERM  text" (two spaces or more between) is a list
/// item; deeper indented lines continue it. Examples are kept line for line.
std::string manPage(const ManPageSource& source);

/// `text` with the characters man markup gives a meaning escaped: backslashes, hyphens, and a
/// '.' or '\'' at the start of a line.
std::string escaped(std::string_view text);

}  // namespace tw::manpage
