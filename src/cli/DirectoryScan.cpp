// CCustomCommandLineInfo::AddFilesFromDirectory: the directory scan of the console run.
#include <sys/stat.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/ArgumentText.h"
#include "cli/ConsoleMessages.h"
#include "cli/CustomCommandLineInfo.h"
#include "engine/TextConversion.h"
#include "engine/WideChar.h"
#include "project/DirectoryWalk.h"
#include "project/ExcludePatterns.h"
#include "project/GitWorkTreeFilter.h"
#include "report/PrintableName.h"

namespace tw {
namespace {

/// `directory` without its final '/', as messages name it.
std::string shownDirectory(std::string directory) {
    if (directory.size() > 1 && directory.back() == '/') {
        directory.pop_back();
    }
    return directory.empty() ? "." : directory;
}

/// A message from the repository's side (it may hold paths) with its control characters shown
/// as '?', as names are.
std::string printable(const std::string& message) {
    return utf8FromUtf16(printableName(utf16FromUtf8(message)));
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.empty() ? "." : path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool CCustomCommandLineInfo::AddFilesFromDirectory(std::u16string_view path, bool withSubfolders,
                                                   std::ostream& errors) {
    if (extensions.empty()) {
        return false;
    }
    std::string start = diskBytes(path);
    if (!start.empty() && start.back() != '/') {
        start += '/';
    }

    std::vector<ScanFilter*> filters;
    ExcludePatterns excluded;
    for (const std::u16string& pattern : excludePatterns) {
        excluded.add(diskBytes(pattern));
    }
    if (!excluded.empty()) {
        filters.push_back(&excluded);
    }
    std::unique_ptr<GitWorkTreeFilter> gitRules;
    // A directory that cannot be read is reported by the walk; there is nothing to ask git.
    if (git && isDirectory(start)) {
        std::string whyNot;
        gitRules = GitWorkTreeFilter::open(
            start, whyNot, [&errors](const std::string& path, const std::string& why) {
                printWarning(errors, "-git: " + quoted(path) + ": " + printable(why));
            });
        if (gitRules) {
            filters.push_back(gitRules.get());
        } else {
            printWarning(errors, "-git: directory " + quoted(shownDirectory(start)) + ": " +
                                     printable(whyNot) + "; every file in it is scanned");
        }
    }

    // Extensions match in any letter case: those found and those wanted are both lower-cased.
    std::vector<std::u16string> wantedExtensions = extensions;
    for (std::u16string& wanted : wantedExtensions) {
        for (char16_t& unit : wanted) {
            unit = toLowerUnit(unit);
        }
    }
    DirectoryWalkCalls calls;
    calls.onFile = [this, &wantedExtensions](const std::string& directory,
                                             const std::string& name) {
        const std::size_t dot = name.rfind('.');
        if (dot == std::string::npos) {
            return;
        }
        std::u16string extension = argumentText(std::string_view(name).substr(dot));
        for (char16_t& unit : extension) {
            unit = toLowerUnit(unit);
        }
        for (const std::u16string& wanted : wantedExtensions) {
            if (wanted == extension) {
                files.push_back(argumentText(directory + name));
                break;
            }
        }
    };
    calls.onUnreadable = [&errors](const std::string& directory, int error) {
        printWarning(errors, "cannot read directory " + quoted(shownDirectory(directory)) + ": " +
                                 systemReason(error) + "; passed over");
    };
    calls.onSeenAgain = [&errors](const std::string& directory) {
        printWarning(errors, "directory " + quoted(shownDirectory(directory)) +
                                 " was scanned already through another path; passed over");
    };
    walkDirectory(start, withSubfolders, calls, filters);
    return true;
}

}  // namespace tw
