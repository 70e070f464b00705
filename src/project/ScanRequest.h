#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "project/DirectoryWalk.h"

namespace tw {

/// The entry of an extension list that takes the files whose name has no period.
inline constexpr char16_t kNoExtension[] = u"[none]";

/// One directory scan, as the console's -dir and the desktop's Add Folder ask for it.
struct ScanRequest {
    /// Bytes as the file system takes them; empty for the current directory.
    std::string directory;
    bool withSubfolders = true;
    /// The extensions taken, with their period (".cpp"), in any letter case; `kNoExtension`
    /// takes the names without a period. Bytes that are not UTF-8 are held as by
    /// `utf16FromUtf8(..., InvalidUtf8::Escape)`.
    std::vector<std::u16string> extensions;
    /// Names and paths below the directory that are passed over, as shell patterns
    /// (`ExcludePatterns`), in bytes.
    std::vector<std::string> excludePatterns;
    /// Leave out what git ignores, when the directory is inside a git work tree.
    bool leaveOutGitIgnored = false;
};

/// What a scan tells its caller besides the files; each may be left empty.
struct ScanCalls {
    /// A file taken: its path, the request's directory (ending in '/') followed by the path
    /// below it.
    std::function<void(std::string path)> onFile;
    /// Before each directory is read, unreadable directories and those reached again through
    /// a link, as `DirectoryWalkCalls` says.
    std::function<void()> onDirectory;
    std::function<void(const std::string& directory, int error)> onUnreadable;
    std::function<void(const std::string& directory)> onSeenAgain;
    /// git's rules could not be read for the directory: why, as a sentence. The scan goes on
    /// and takes every file (`gitFailureMessage` says so).
    std::function<void(const std::string& why)> onGitFailure;
    /// A path whose git rules could not be read: the path and why.
    std::function<void(const std::string& path, const std::string& why)> onGitWarning;
};

/// Whether a file named `name` (bytes) has an extension of `extensions`, each already
/// lower-cased by `lowerCaseExtension`: the extension is the name from its last period on,
/// compared in any letter case; a name without a period needs `kNoExtension`.
bool takesFileName(const std::vector<std::u16string>& extensions, std::string_view name);

/// `extension` with each UTF-16 code unit in lower case (`toLowerUnit`).
std::u16string lowerCaseExtension(std::u16string extension);

/// Scans `request.directory` and hands each file it takes to `calls.onFile`, in the walk's
/// order (`walkDirectory`). A request without extensions takes nothing.
void scanDirectory(const ScanRequest& request, const ScanCalls& calls);

/// The message of a scan whose git rules could not be read: "directory <shownDirectory>: <why>;
/// every file in it is scanned", the directory named as the caller shows names.
std::string gitFailureMessage(const std::string& shownDirectory, const std::string& why);

}  // namespace tw
