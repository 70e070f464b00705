#include "app/TallyweaverApp.h"

#include <iostream>

#include "cli/ArgumentText.h"
#include "cli/Usage.h"

#ifdef TW_HAVE_DESKTOP
#include "app/DesktopLoader.h"
#endif

namespace tw {
namespace {

bool isHelpSwitch(std::u16string_view argument) {
    return argument == u"--help" || argument == u"-h" || argument == u"-?" || argument == u"/?";
}

}  // namespace

bool CTallyweaverApp::runConsoleSide(const std::vector<std::u16string>& arguments,
                                     std::ostream& out, std::ostream& errors, int& exitCode) {
    // Help, version and "--open FILE" count only before the first option: after it, unknown
    // switches are ignored as the option grammar has it.
    projectToOpen_.clear();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        const bool optionSwitch =
            isSwitchArgument(argument) && isOptionName(std::u16string_view(argument).substr(1));
        if (optionSwitch) {
            break;
        }
        // The file manager's "--open %f" gives no file when the program is started from the
        // menu: the desktop program then starts with a new project, as without arguments.
        if (argument == u"--open" && projectToOpen_.empty() && i + 1 < arguments.size() &&
            !isSwitchArgument(arguments[i + 1])) {
            projectToOpen_ = arguments[i + 1];
        }
        if (isHelpSwitch(argument)) {
            out << usageText();
            exitCode = 0;
            return true;
        }
        if (argument == u"--version") {
            out << kVersionText;
            exitCode = 0;
            return true;
        }
    }
    commandLine_.ParseArguments(arguments);
    if (!commandLine_.consoleMode) {
        return false;
    }
    // A console run opens no document.
    projectToOpen_.clear();
    commandLine_.RunConsole(out, errors);
    exitCode = commandLine_.resultCode;
    return true;
}

int CTallyweaverApp::run(int argc, char** argv) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(argumentText(argv[i]));
    }
    int exitCode = 0;
    if (runConsoleSide(arguments, std::cout, std::cerr, exitCode)) {
        return exitCode;
    }
    if (desktopEntry_) {
        return desktopEntry_(argc, argv, diskBytes(projectToOpen_));
    }
#ifdef TW_HAVE_DESKTOP
    return runDesktopModule(desktopModulePath(ownExecutablePath(), TW_DESKTOP_MODULE_FOLDER), argc,
                            argv, diskBytes(projectToOpen_), std::cerr);
#else
    std::cerr << "tallyweaver: the desktop program was not built (Qt 6 was not found when the "
                 "program was configured); run it with options for a console count, or "
                 "--help.\n";
    return 1;
#endif
}

}  // namespace tw
