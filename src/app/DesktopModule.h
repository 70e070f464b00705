#pragma once

// What the executable and the desktop module agree on. The desktop program (its window, its
// Qt libraries) is a module of its own that the executable opens only when the window is to
// open, so a console run loads no library of the window toolkit.

/// The file name of the module, in the folder the executable finds it in.
#define TW_DESKTOP_MODULE_FILE "libtallyweaver-desktop.so"

extern "C" {

/// The version of the program the module was built with ("1.2"): the executable starts only
/// a module of its own version, since nothing else of the two is checked against the other.
using TwDesktopVersionFunction = const char*();
/// Starts the desktop program and runs it until its window closes; returns the exit code.
/// `projectFile` (bytes on disk, never null) is the project the window opens, empty for a new
/// one. Without a display it says why on stderr and returns 1.
using TwDesktopMainFunction = int(int argc, char** argv, const char* projectFile);
}

namespace tw {

inline constexpr char kDesktopVersionSymbol[] = "tallyweaver_desktop_version";
inline constexpr char kDesktopMainSymbol[] = "tallyweaver_desktop_main";

}  // namespace tw
