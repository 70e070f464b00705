#pragma once

#include <string>

namespace tw {

/// Starts the desktop program and runs it until its window closes; returns the exit code.
/// The window opens with the project file `projectFile` (its bytes on disk), as Open Project
/// would open it, or with a new, empty project when it is empty. Without a display it prints
/// why and returns 1.
int runDesktop(int argc, char** argv, const std::string& projectFile = std::string());

}  // namespace tw
