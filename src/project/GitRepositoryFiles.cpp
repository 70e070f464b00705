#include "project/GitRepositoryFiles.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "project/FileIo.h"

namespace tw {
namespace {

/// Includes nested deeper than this are not followed (git stops at 10 as well).
constexpr int kMostIncludeDepth = 10;

/// Alternates chained deeper than this are not followed (libgit2 stops at 5).
constexpr int kMostAlternateDepth = 5;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

/// Something is at `path` (links followed) and it is no regular file.
bool isThereButIrregular(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

/// `path` as seen from the folder `base`: as it is when absolute.
std::string resolvedFrom(const std::string& base, std::string_view path) {
    if (!path.empty() && path.front() == '/') {
        return std::string(path);
    }
    return (base == "/" ? base : base + '/') + std::string(path);
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

/// The first line of the regular file at `path`, trimmed; empty when it is none.
std::string firstLineOf(const std::string& path) {
    std::string text;
    if (!isRegularFile(path) || readWholeFile(path, text) != 0) {
        return {};
    }
    return std::string(trimmed(std::string_view(text).substr(0, text.find('\n'))));
}

/// The folder a `commondir` file in `gitDirectory` names, or `gitDirectory` itself.
std::string commonDirectoryOf(const std::string& gitDirectory) {
    const std::string common = firstLineOf(gitDirectory + "/commondir");
    return common.empty() ? gitDirectory : resolvedFrom(gitDirectory, common);
}

/// Whether `path` is a git directory as libgit2 knows one: HEAD, objects and refs.
bool looksLikeGitDirectory(const std::string& path) {
    const std::string common = commonDirectoryOf(path);
    return isRegularFile(path + "/HEAD") && isDirectory(common + "/objects") &&
           isDirectory(common + "/refs");
}

/// The files an `[include]` or `[includeIf ...]` section of the configuration file at `path`
/// names, as git resolves them ("~/" from the home folder, relative ones from the file's
/// folder). Only a regular file is read.
std::vector<std::string> includedBy(const std::string& path) {
    std::string text;
    if (!isRegularFile(path) || readWholeFile(path, text) != 0) {
        return {};
    }
    std::vector<std::string> included;
    bool inInclude = false;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = trimmed(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.front() == '[') {
            std::string section;
            for (std::size_t i = 1;
                 i < line.size() && std::isalnum(static_cast<unsigned char>(line[i])); ++i) {
                section.push_back(
                    static_cast<char>(std::tolower(static_cast<unsigned char>(line[i]))));
            }
            inInclude = section == "include" || section == "includeif";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inInclude || equals == std::string_view::npos) {
            continue;
        }
        std::string key(trimmed(line.substr(0, equals)));
        for (char& c : key) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        std::string_view value = trimmed(line.substr(equals + 1));
        if (key != "path" || value.empty()) {
            continue;
        }
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (value.starts_with("~/")) {
            included.push_back(environment("HOME") + std::string(value.substr(1)));
        } else {
            included.push_back(resolvedFrom(parentOf(path), value));
        }
    }
    return included;
}

/// The first of `path` and the files it includes, at any depth, that is no regular file.
std::string firstIrregularConfiguration(const std::string& path, int depth) {
    if (isThereButIrregular(path)) {
        return path;
    }
    if (depth >= kMostIncludeDepth) {
        return {};
    }
    for (const std::string& included : includedBy(path)) {
        if (std::string found = firstIrregularConfiguration(included, depth + 1); !found.empty()) {
            return found;
        }
    }
    return {};
}

/// Folders of a git directory that reading revisions never opens.
bool passedOver(std::string_view name) {
    return name == "hooks" || name == "worktrees" || name == "modules";
}

/// Looks for a file that is no regular file below the folders of a git directory.
class DatabaseCheck {
  public:
    /// The first irregular file at or below `path` (links followed), or empty.
    std::string below(const std::string& path, bool top) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            return {};  // missing or a dangling link: nothing opens it without failing
        }
        if (S_ISREG(info.st_mode)) {
            return {};
        }
        if (!S_ISDIR(info.st_mode)) {
            return path;
        }
        if (!walked_.insert({info.st_dev, info.st_ino}).second) {
            return {};
        }
        DIR* handle = ::opendir(path.c_str());
        if (handle == nullptr) {
            return {};
        }
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(handle)) {
            const std::string_view name = entry->d_name;
            if (name != "." && name != ".." && !(top && passedOver(name))) {
                names.emplace_back(name);
            }
        }
        ::closedir(handle);
        for (const std::string& name : names) {
            if (std::string found = below(path + '/' + name, false); !found.empty()) {
                return found;
            }
        }
        return {};
    }

    /// The same for an object directory and those its alternates name, at any depth.
    std::string objects(const std::string& path, int depth) {
        if (std::string found = below(path, false); !found.empty()) {
            return found;
        }
        if (depth >= kMostAlternateDepth) {
            return {};
        }
        std::string text;
        const std::string alternates = path + "/info/alternates";
        if (!isRegularFile(alternates) || readWholeFile(alternates, text) != 0) {
            return {};
        }
        std::string_view rest = text;
        while (!rest.empty()) {
            const std::size_t end = rest.find('\n');
            const std::string_view line = trimmed(rest.substr(0, end));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
            if (line.empty() || line.front() == '#') {
                continue;
            }
            if (std::string found = objects(resolvedFrom(path, line), depth + 1); !found.empty()) {
                return found;
            }
        }
        return {};
    }

  private:
    std::set<std::pair<dev_t, ino_t>> walked_;
};

}  // namespace

std::string firstIrregularDatabaseFile(const std::string& gitDirectory) {
    DatabaseCheck check;
    const std::string common = commonDirectoryOf(gitDirectory);
    for (const std::string& folder : {gitDirectory, common}) {
        if (std::string found = check.below(folder, true); !found.empty()) {
            return found;
        }
    }
    return check.objects(common + "/objects", 0);
}

std::string gitDirectoryOf(const std::string& directory, bool search) {
    for (std::string folder = directory;;) {
        const std::string dotGit = resolvedFrom(folder, ".git");
        struct stat info {};
        if (::stat(dotGit.c_str(), &info) == 0) {
            if (S_ISDIR(info.st_mode) && looksLikeGitDirectory(dotGit)) {
                return dotGit;
            }
            // A file ".git" names the git directory elsewhere: "gitdir: PATH".
            if (S_ISREG(info.st_mode)) {
                const std::string link = firstLineOf(dotGit);
                if (link.starts_with("gitdir:")) {
                    std::string linked =
                        resolvedFrom(folder, trimmed(std::string_view(link).substr(7)));
                    if (char* resolved = ::realpath(linked.c_str(), nullptr)) {
                        linked = resolved;
                        std::free(resolved);
                    }
                    return linked;
                }
            }
        }
        if (looksLikeGitDirectory(folder)) {
            return folder;
        }
        if (!search || folder == "/" || folder.empty()) {
            return {};
        }
        folder = parentOf(folder);
    }
}

std::string firstIrregularRepositoryFile(const std::string& gitDirectory, bool withIndex) {
    const std::string home = environment("HOME");
    const std::string xdg = environment("XDG_CONFIG_HOME");
    std::vector<std::string> files = {gitDirectory + "/commondir", gitDirectory + "/gitdir"};
    if (withIndex) {
        files.push_back(gitDirectory + "/index");
    }
    for (const std::string& file : files) {
        if (isThereButIrregular(file)) {
            return file;
        }
    }
    std::vector<std::string> configurations = {commonDirectoryOf(gitDirectory) + "/config",
                                               gitDirectory + "/config.worktree", "/etc/gitconfig"};
    if (!home.empty()) {
        configurations.push_back(home + "/.gitconfig");
    }
    if (!xdg.empty()) {
        configurations.push_back(xdg + "/git/config");
    } else if (!home.empty()) {
        configurations.push_back(home + "/.config/git/config");
    }
    for (const std::string& configuration : configurations) {
        if (std::string found = firstIrregularConfiguration(configuration, 0); !found.empty()) {
            return found;
        }
    }
    return {};
}

std::string defaultExcludesFile() {
    const std::string xdg = environment("XDG_CONFIG_HOME");
    if (!xdg.empty()) {
        return xdg + "/git/ignore";
    }
    const std::string home = environment("HOME");
    return home.empty() ? std::string() : home + "/.config/git/ignore";
}

}  // namespace tw
