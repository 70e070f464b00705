#include "app/DesktopLoader.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>

#include "TallyweaverVersion.h"
#include "app/DesktopModule.h"

namespace tw {
namespace {

void explain(std::ostream& errors, const std::string& modulePath, const std::string& why) {
    errors << "tallyweaver: the desktop program cannot start: its module " << modulePath << " "
           << why << ".\n"
           << "Reinstall the program, or give options for a console count (tallyweaver "
              "--help).\n";
}

/// The loader's reason without the path it begins with, which the message gives already.
std::string loaderReason(const std::string& modulePath) {
    const char* error = ::dlerror();
    std::string reason = error != nullptr ? error : "";
    if (reason.rfind(modulePath + ": ", 0) == 0) {
        reason.erase(0, modulePath.size() + 2);
    }
    return reason.empty() ? "cannot be opened" : "cannot be opened (" + reason + ")";
}

}  // namespace

std::string desktopModulePath(const std::string& executable, const std::string& relativeFolder) {
    const std::string::size_type slash = executable.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? std::string("/")
                                                          : executable.substr(0, slash);
    std::string path = folder;
    if (path.back() != '/') {
        path += '/';
    }
    if (!relativeFolder.empty() && relativeFolder != ".") {
        path += relativeFolder;
        if (path.back() != '/') {
            path += '/';
        }
    }
    return std::filesystem::path(path + TW_DESKTOP_MODULE_FILE).lexically_normal().string();
}

std::string ownExecutablePath() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
        return std::string();
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

int runDesktopModule(const std::string& modulePath, int argc, char** argv,
                     const std::string& projectFile, std::ostream& errors) {
    // Bound now, so a library missing beneath the module shows here and not halfway through.
    void* module = ::dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        explain(errors, modulePath, loaderReason(modulePath));
        return 1;
    }
    auto* version =
        reinterpret_cast<TwDesktopVersionFunction*>(::dlsym(module, kDesktopVersionSymbol));
    auto* desktopMain =
        reinterpret_cast<TwDesktopMainFunction*>(::dlsym(module, kDesktopMainSymbol));
    if (version == nullptr || desktopMain == nullptr) {
        explain(errors, modulePath, "is not the program's desktop module");
        return 1;
    }
    const std::string moduleVersion = version();
    if (moduleVersion != TW_VERSION) {
        explain(errors, modulePath,
                "is of version " + moduleVersion + ", the program of version " TW_VERSION);
        return 1;
    }
    errors.flush();
    // The module stays loaded to the end: the window toolkit's exit handlers live in it.
    return desktopMain(argc, argv, projectFile.c_str());
}

}  // namespace tw
