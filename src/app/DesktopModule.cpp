// The desktop module: its two entry points are the only names it exports.

#include "app/DesktopModule.h"

#include <string>

#include "TallyweaverVersion.h"
#include "ui/Desktop.h"

// Declared through the executable's types, so a definition that drifts from them does not
// compile.
extern "C" {
__attribute__((visibility("default"))) TwDesktopVersionFunction tallyweaver_desktop_version;
__attribute__((visibility("default"))) TwDesktopMainFunction tallyweaver_desktop_main;
}

const char* tallyweaver_desktop_version() {
    return TW_VERSION;
}

int tallyweaver_desktop_main(int argc, char** argv, const char* projectFile) {
    return tw::runDesktop(argc, argv,
                          projectFile != nullptr ? std::string(projectFile) : std::string());
}
