#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "cli/CustomCommandLineInfo.h"

namespace tw {

/// Starts the desktop program for `argc`/`argv` with the project file `projectFile` (bytes on
/// disk; empty for a new project) and returns the exit code when its window has closed.
using DesktopEntry = std::function<int(int argc, char** argv, const std::string& projectFile)>;

/// Where the program begins and ends: reads the command line and either performs the console
/// run, whose result code becomes the exit code, or starts the desktop program. The desktop
/// program is a module opened only then, so a console run loads none of its libraries.
class CTallyweaverApp {
  public:
    /// Runs the program for `argc`/`argv` and returns the process exit code.
    int run(int argc, char** argv);

    /// The console side alone, for the arguments after the program name: help and version,
    /// then the console run when any option is given, writing to `out` and its messages to
    /// `errors`. Returns true with `exitCode` set when the arguments were handled here, false
    /// when the desktop program is to start.
    bool runConsoleSide(const std::vector<std::u16string>& arguments, std::ostream& out,
                        std::ostream& errors, int& exitCode);

    /// Starts the desktop program through `entry` instead of the module: for test programs
    /// linked with the desktop's libraries, which drive the window from there.
    void setDesktopEntry(DesktopEntry entry) { desktopEntry_ = std::move(entry); }

  private:
    CCustomCommandLineInfo commandLine_;
    /// The project file the desktop program opens at start ("--open FILE" before the first
    /// option, FILE not a switch); empty for a new project.
    std::u16string projectToOpen_;
    DesktopEntry desktopEntry_;
};

}  // namespace tw
