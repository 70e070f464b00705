// CCustomCommandLineInfo::AddFilesFromDirectory: the directory scan of the console run.
#include <string>
#include <string_view>

#include "cli/ArgumentText.h"
#include "cli/ConsoleMessages.h"
#include "cli/CustomCommandLineInfo.h"
#include "engine/TextConversion.h"
#include "project/ScanRequest.h"
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

}  // namespace

bool CCustomCommandLineInfo::AddFilesFromDirectory(std::u16string_view path, bool withSubfolders,
                                                   std::ostream& errors) {
    if (extensions.empty()) {
        return false;
    }
    ScanRequest request;
    request.directory = diskBytes(path);
    request.withSubfolders = withSubfolders;
    request.extensions = extensions;
    for (const std::u16string& pattern : excludePatterns) {
        request.excludePatterns.push_back(diskBytes(pattern));
    }
    request.leaveOutGitIgnored = git;

    ScanCalls calls;
    calls.onFile = [this](const std::string& file) { files.push_back(argumentText(file)); };
    calls.onUnreadable = [&errors](const std::string& directory, int error) {
        printWarning(errors, "cannot read directory " + quoted(shownDirectory(directory)) + ": " +
                                 systemReason(error) + "; passed over");
    };
    calls.onSeenAgain = [&errors](const std::string& directory) {
        printWarning(errors, "directory " + quoted(shownDirectory(directory)) +
                                 " was scanned already through another path; passed over");
    };
    calls.onGitWarning = [&errors](const std::string& file, const std::string& why) {
        printWarning(errors, "-git: " + quoted(file) + ": " + printable(why));
    };
    calls.onGitFailure = [&errors, &request](const std::string& why) {
        printWarning(errors, "-git: " + gitFailureMessage(quoted(shownDirectory(request.directory)),
                                                          printable(why)));
    };
    scanDirectory(request, calls);
    return true;
}

}  // namespace tw
