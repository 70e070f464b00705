#pragma once

namespace tw {

/// Starts the desktop program with a new, empty project and runs it until its window closes;
/// returns the exit code. Without a display it prints why and returns 1.
int runDesktop(int argc, char** argv);

}  // namespace tw
