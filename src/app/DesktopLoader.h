#pragma once

#include <iosfwd>
#include <string>

namespace tw {

/// Where the desktop module is looked for: the folder `relativeFolder` (the path from the
/// installed program's bin folder to its module folder) taken from the folder of
/// `executable`, the executable's own path with links resolved. The build tree puts the
/// module at the same place relative to the built program, so both trees work.
std::string desktopModulePath(const std::string& executable, const std::string& relativeFolder);

/// The running executable's own path, links resolved; empty when it cannot be read.
std::string ownExecutablePath();

/// Opens the desktop module at `modulePath` and runs the desktop program from it (see
/// `TwDesktopMainFunction`). A module that cannot be opened, lacks its entry points or was
/// built for another version is reported on `errors`, and the result is 1.
int runDesktopModule(const std::string& modulePath, int argc, char** argv,
                     const std::string& projectFile, std::ostream& errors);

}  // namespace tw
