#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "cli/CustomCommandLineInfo.h"

namespace tw {

namespace ui {
class CMainFrame;
}

/// Where the program begins and ends: reads the command line and either performs the console
/// run, whose result code becomes the exit code, or starts the desktop program.
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

    /// Called with the main window once the desktop program has shown it, before its event
    /// loop runs; for test programs, which drive the window from there.
    void setDesktopStarted(std::function<void(ui::CMainFrame&)> started) {
        desktopStarted_ = std::move(started);
    }

  private:
    CCustomCommandLineInfo commandLine_;
    /// The project file the desktop program opens at start ("--open FILE" before the first
    /// option, FILE not a switch); empty for a new project.
    std::u16string projectToOpen_;
    std::function<void(ui::CMainFrame&)> desktopStarted_;
};

}  // namespace tw
