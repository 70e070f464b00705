#pragma once

#include <functional>
#include <string>

namespace tw {

namespace ui {
class CMainFrame;
}

/// Called once the main window is shown, before the event loop runs (and after the project to
/// open has been queued): a test program drives the window from here.
using DesktopStarted = std::function<void(ui::CMainFrame& frame)>;

/// Starts the desktop program and runs it until its window closes; returns the exit code.
/// The window opens with the project file `projectFile` (its bytes on disk), as Open Project
/// would open it, or with a new, empty project when it is empty. Without a display it prints
/// why and returns 1.
int runDesktop(int argc, char** argv, const std::string& projectFile = std::string(),
               const DesktopStarted& started = DesktopStarted());

}  // namespace tw
