#include "project/ScanRequest.h"

#include <sys/stat.h>

#include <memory>

#include "engine/TextConversion.h"
#include "engine/WideChar.h"
#include "project/ExcludePatterns.h"
#include "project/GitWorkTreeFilter.h"

namespace tw {
namespace {

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.empty() ? "." : path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::u16string lowerCaseExtension(std::u16string extension) {
    for (char16_t& unit : extension) {
        unit = toLowerUnit(unit);
    }
    return extension;
}

bool takesFileName(const std::vector<std::u16string>& extensions, std::string_view name) {
    const std::size_t period = name.rfind('.');
    const std::u16string extension =
        period == std::string_view::npos
            ? std::u16string(kNoExtension)
            : lowerCaseExtension(utf16FromUtf8(name.substr(period), InvalidUtf8::Escape));
    for (const std::u16string& wanted : extensions) {
        if (wanted == extension) {
            return true;
        }
    }
    return false;
}

void scanDirectory(const ScanRequest& request, const ScanCalls& calls) {
    if (request.extensions.empty()) {
        return;
    }
    std::string start = request.directory;
    if (!start.empty() && start.back() != '/') {
        start += '/';
    }

    std::vector<ScanFilter*> filters;
    ExcludePatterns excluded;
    for (const std::string& pattern : request.excludePatterns) {
        excluded.add(pattern);
    }
    if (!excluded.empty()) {
        filters.push_back(&excluded);
    }
    std::unique_ptr<GitWorkTreeFilter> gitRules;
    // A directory that cannot be read is reported by the walk; there is nothing to ask git.
    if (request.leaveOutGitIgnored && isDirectory(start)) {
        std::string whyNot;
        gitRules = GitWorkTreeFilter::open(start, whyNot, calls.onGitWarning);
        if (gitRules) {
            filters.push_back(gitRules.get());
        } else if (calls.onGitFailure) {
            calls.onGitFailure(whyNot);
        }
    }

    std::vector<std::u16string> wanted;
    for (const std::u16string& extension : request.extensions) {
        wanted.push_back(lowerCaseExtension(extension));
    }
    DirectoryWalkCalls walk;
    walk.onFile = [&](const std::string& directory, const std::string& name) {
        if (calls.onFile && takesFileName(wanted, name)) {
            calls.onFile(directory + name);
        }
    };
    walk.onDirectory = calls.onDirectory;
    walk.onUnreadable = calls.onUnreadable;
    walk.onSeenAgain = calls.onSeenAgain;
    walkDirectory(start, request.withSubfolders, walk, filters);
}

std::string gitFailureMessage(const std::string& shownDirectory, const std::string& why) {
    return "directory " + shownDirectory + ": " + why + "; every file in it is scanned";
}

}  // namespace tw
