#include "project/GitWorkTreeFilter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <unordered_set>

#include "project/FileIo.h"
#include "project/GitIgnoreList.h"
#include "project/GitLibrary.h"
#include "project/GitRepositoryFiles.h"

namespace tw {
namespace {

/// Ignore files larger than this are not read (git reads none over 100 MiB either).
constexpr off_t kLargestIgnoreFile = off_t{100} << 20;

std::string lastLibgit2Error(const GitLibrary& git) {
    const git_error* error = git.error_last();
    return error != nullptr && error->message != nullptr ? error->message : "unknown error";
}

/// Whether `path` (a '/' separated relative path) has a component ".git".
bool insideGitDirectory(std::string_view path) {
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        if (path.substr(0, slash) == ".git") {
            return true;
        }
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    }
    return false;
}

/// Adds the folders `path` lies in to `folders`, deepest first, stopping at one already there
/// (its own folders are there too).
void addFolders(std::unordered_set<std::string>& folders, std::string_view path) {
    for (std::size_t slash = path.rfind('/'); slash != std::string_view::npos && slash > 0;
         slash = path.rfind('/', slash - 1)) {
        if (!folders.emplace(path.substr(0, slash)).second) {
            return;
        }
    }
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

/// The rules of the ignore file at `path`: none when it is missing; none, with a warning, when
/// it is there but is no regular file, too large, or cannot be read. Nothing but a regular file
/// is opened. A `.gitignore` in the work tree is not followed when it is a link, as git does
/// not follow it; the other ignore files are.
GitIgnoreList readIgnoreFile(const std::string& path, bool followLink, std::string base,
                             const GitWorkTreeFilter::Warning& warning) {
    const auto warn = [&](const std::string& why) {
        if (warning) {
            warning(path, why + "; its ignore rules are not used");
        }
    };
    struct stat info {};
    if ((followLink ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info)) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) {
            warn(std::string("cannot be read: ") + std::strerror(errno));
        }
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        warn("not a regular file");
        return {};
    }
    if (info.st_size > kLargestIgnoreFile) {
        warn("larger than 100 MiB");
        return {};
    }
    std::string text;
    if (const int error = readWholeFile(path, text); error != 0) {
        warn(error == ENODEV ? "not a regular file"
                             : std::string("cannot be read: ") + std::strerror(error));
        return {};
    }
    return GitIgnoreList(text, std::move(base));
}

/// Why libgit2 found no repository where there is one: it refuses a repository that another
/// user owns, unless git's safe.directory names it, and says little of it.
std::string refusal(const GitLibrary& git, const std::string& gitDirectory) {
    const std::string repository = gitDirectory.ends_with("/.git")
                                       ? gitDirectory.substr(0, gitDirectory.size() - 5)
                                       : gitDirectory;
    std::string why = lastLibgit2Error(git);
    struct stat info {};
    if (::stat(repository.c_str(), &info) == 0 && info.st_uid != ::geteuid()) {
        why = "it is owned by another user and git's safe.directory does not name it (libgit2: " +
              why + ")";
    }
    return "libgit2 refuses the git repository '" + repository + "': " + why;
}

}  // namespace

/// One repository's work tree, and where it lies in the walk.
struct GitWorkTreeFilter::WorkTree {
    explicit WorkTree(const GitLibrary* library) : git(library) {}
    ~WorkTree() {
        if (git != nullptr) {
            git->index_free(index);
            git->repository_free(repository);
        }
    }
    WorkTree(const WorkTree&) = delete;
    WorkTree& operator=(const WorkTree&) = delete;

    /// Null for a repository that is not read: every file in it is taken.
    const GitLibrary* git;
    git_repository* repository = nullptr;
    git_index* index = nullptr;
    /// The walk path of the work tree's top, ending in '/'; empty for the one the walk began in.
    std::string walkPrefix;
    /// The path, inside the repository, of the walk path `walkPrefix`: where the walk began, for
    /// the outermost work tree (empty or ending in '/'); empty for a nested one.
    std::string repositoryPrefix;
    /// The work tree's top on disk, ending in '/'.
    std::string top;

    std::string repositoryPath(std::string_view walkPath) const {
        return repositoryPrefix + std::string(walkPath.substr(walkPrefix.size()));
    }

    /// Notes the paths of the index and the folders they lie in, so that each question costs
    /// one look-up.
    void readIndex() {
        const std::size_t count = git->index_entrycount(index);
        trackedFiles.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const git_index_entry* entry = git->index_get_byindex(index, i);
            if (entry == nullptr || entry->path == nullptr) {
                continue;
            }
            std::string path = entry->path;
            addFolders(trackedFolders, path);
            trackedFiles.insert(std::move(path));
        }
    }
    /// A file git tracks, or a submodule (one entry of its own).
    bool tracked(const std::string& path) const { return trackedFiles.count(path) != 0; }
    bool tracksSomethingIn(const std::string& folder) const {
        return trackedFolders.count(folder) != 0;
    }

    /// Reads the rules that hold everywhere in the work tree, and those of the top and of each
    /// folder down to where the walk begins; notes whether one of those folders is ignored.
    void readRules(const Warning& warning) {
        const char* common = git->repository_commondir(repository);
        if (common != nullptr) {
            localRules = readIgnoreFile(std::string(common) + "info/exclude", true, {}, warning);
        }
        std::string excludesFile = defaultExcludesFile();
        git_config* config = nullptr;
        if (git->repository_config_snapshot(&config, repository) == 0) {
            git_buf named = GIT_BUF_INIT;
            if (git->config_get_path(&named, config, "core.excludesfile") == 0 &&
                named.ptr != nullptr) {
                excludesFile = named.ptr;
            }
            git->buf_dispose(&named);
            git->config_free(config);
        }
        if (!excludesFile.empty()) {
            globalRules = readIgnoreFile(excludesFile, true, {}, warning);
        }
        folderRules.push_back(readIgnoreFile(top + ".gitignore", false, {}, warning));
        for (std::size_t slash = repositoryPrefix.find('/'); slash != std::string::npos;
             slash = repositoryPrefix.find('/', slash + 1)) {
            const std::string folder = repositoryPrefix.substr(0, slash);
            if (ignoredByRules(folder, true)) {
                startIgnored = true;
                return;
            }
            folderRules.push_back(
                readIgnoreFile(top + folder + "/.gitignore", false, folder + '/', warning));
        }
    }

    /// Whether the rules ignore `path`: the deepest folder's rules that say anything decide,
    /// then `info/exclude`, then the global excludes file.
    bool ignoredByRules(std::string_view path, bool isDirectory) const {
        for (auto rules = folderRules.rbegin(); rules != folderRules.rend(); ++rules) {
            if (const GitIgnoreList::Verdict verdict = rules->verdict(path, isDirectory);
                verdict != GitIgnoreList::Verdict::NoMatch) {
                return verdict == GitIgnoreList::Verdict::Ignored;
            }
        }
        for (const GitIgnoreList* rules : {&localRules, &globalRules}) {
            if (const GitIgnoreList::Verdict verdict = rules->verdict(path, isDirectory);
                verdict != GitIgnoreList::Verdict::NoMatch) {
                return verdict == GitIgnoreList::Verdict::Ignored;
            }
        }
        return false;
    }

    /// Drops the rules of the folders the walk has left, before it asks about `path`.
    void leaveFoldersNotHolding(std::string_view path) {
        while (folderRules.size() > 1 && !folderRules.back().base().empty() &&
               !startsWith(path, folderRules.back().base())) {
            folderRules.pop_back();
        }
        if (insideIgnored && !startsWith(path, ignoredFolder)) {
            insideIgnored = false;
        }
    }

    /// Whether the rules keep the file or folder at `path`, which git does not track. Nothing
    /// in an ignored folder is kept, whatever rule would bring it back: git does not look in.
    bool keeps(std::string_view path, bool isDirectory) const {
        return !startIgnored && !insideIgnored && !ignoredByRules(path, isDirectory);
    }

    /// The walk enters the folder at `path`: an ignored one (for what git tracks in it), or one
    /// whose own rules apply below it.
    void enter(const std::string& path, bool ignored, const std::string& diskPath,
               const Warning& warning) {
        if (ignored) {
            if (!insideIgnored) {
                insideIgnored = true;
                ignoredFolder = path + '/';
            }
            return;
        }
        if (GitIgnoreList rules =
                readIgnoreFile(diskPath + ".gitignore", false, path + '/', warning);
            !rules.empty()) {
            folderRules.push_back(std::move(rules));
        }
    }

    std::unordered_set<std::string> trackedFiles;
    std::unordered_set<std::string> trackedFolders;
    /// The rules of the top and of the folders the walk is in, outermost first.
    std::vector<GitIgnoreList> folderRules;
    GitIgnoreList localRules;
    GitIgnoreList globalRules;
    /// The walk begins inside an ignored folder: it takes only what git tracks.
    bool startIgnored = false;
    /// The walk is inside the ignored folder `ignoredFolder` (ending in '/').
    bool insideIgnored = false;
    std::string ignoredFolder;
};

GitWorkTreeFilter::GitWorkTreeFilter(std::string directory, Warning warning)
    : directory_(std::move(directory)), warning_(std::move(warning)) {}

GitWorkTreeFilter::~GitWorkTreeFilter() = default;

std::unique_ptr<GitWorkTreeFilter::WorkTree> GitWorkTreeFilter::openWorkTree(
    const std::string& directory, bool search, bool withIndex, std::string& whyNot) {
    const GitLibrary* git = gitLibrary(whyNot);
    if (git == nullptr) {
        return nullptr;
    }
    const std::string here = canonicalPath(directory);
    if (here.empty()) {
        whyNot = "not inside a git work tree";
        return nullptr;
    }
    // Before libgit2 opens anything: the files it would read are each a regular file.
    const std::string gitDirectory = gitDirectoryOf(here, search);
    if (!gitDirectory.empty()) {
        if (const std::string irregular = firstIrregularRepositoryFile(gitDirectory, withIndex);
            !irregular.empty()) {
            whyNot = "'" + irregular + "' is not a regular file, so the git repository is not read";
            return nullptr;
        }
    }
    auto tree = std::make_unique<GitWorkTreeFilter::WorkTree>(git);
    const int opened = git->repository_open_ext(
        &tree->repository, here.c_str(), search ? 0 : GIT_REPOSITORY_OPEN_NO_SEARCH, nullptr);
    if (opened == GIT_ENOTFOUND && gitDirectory.empty()) {
        whyNot = "not inside a git work tree";
        return nullptr;
    }
    if (opened != 0) {
        whyNot = refusal(*git, gitDirectory.empty() ? here : gitDirectory);
        return nullptr;
    }
    const char* workdir = git->repository_workdir(tree->repository);
    if (workdir == nullptr || git->repository_is_bare(tree->repository) != 0) {
        whyNot = "not inside a git work tree";
        return nullptr;
    }
    const std::string top = canonicalPath(workdir);
    if (top.empty() || !(here == top || startsWith(here, top + '/'))) {
        whyNot = "not inside a git work tree";
        return nullptr;
    }
    tree->top = top == "/" ? top : top + '/';
    tree->repositoryPrefix = here == top ? std::string() : here.substr(top.size() + 1) + '/';
    if (insideGitDirectory(tree->repositoryPrefix)) {
        whyNot = "inside a git directory, not its work tree";
        return nullptr;
    }
    if (withIndex) {
        if (git->repository_index(&tree->index, tree->repository) != 0) {
            whyNot = "the git index cannot be read: " + lastLibgit2Error(*git);
            return nullptr;
        }
        tree->readIndex();
    }
    return tree;
}

std::unique_ptr<GitWorkTreeFilter> GitWorkTreeFilter::open(const std::string& directory,
                                                           std::string& whyNot, Warning warning) {
    std::unique_ptr<WorkTree> tree = openWorkTree(directory, true, true, whyNot);
    if (!tree) {
        return nullptr;
    }
    // The global excludes file serves every work tree of the walk: one warning is enough.
    if (warning) {
        warning = [warned = std::make_shared<std::set<std::string>>(), told = std::move(warning)](
                      const std::string& path, const std::string& why) {
            if (warned->insert(path).second) {
                told(path, why);
            }
        };
    }
    tree->readRules(warning);
    std::unique_ptr<GitWorkTreeFilter> filter(new GitWorkTreeFilter(directory, std::move(warning)));
    filter->workTrees_.push_back(std::move(tree));
    return filter;
}

GitWorkTreeFilter::WorkTree& GitWorkTreeFilter::workTreeOf(std::string_view relativePath) {
    while (workTrees_.size() > 1 && !startsWith(relativePath, workTrees_.back()->walkPrefix)) {
        workTrees_.pop_back();
    }
    return *workTrees_.back();
}

bool GitWorkTreeFilter::takes(const ScanEntry& entry) {
    if (entry.name == ".git" || (entry.isLink && entry.isDirectory)) {
        return false;
    }
    WorkTree& tree = workTreeOf(entry.relativePath);
    if (tree.git == nullptr) {
        return true;  // a repository that is not read: everything in it is taken
    }
    const std::string path = tree.repositoryPath(entry.relativePath);
    tree.leaveFoldersNotHolding(path);
    if (!entry.isDirectory) {
        return tree.tracked(path) || tree.keeps(path, false);
    }
    // An ignored folder is entered when git tracks something in it, but git looks for no other
    // file in it, whatever rule would bring one back.
    const bool kept = tree.keeps(path, true);
    if (!kept && !tree.tracked(path) && !tree.tracksSomethingIn(path)) {
        return false;
    }

    std::string walkPath = std::string(entry.relativePath) + '/';
    const std::string diskPath = directory_ + walkPath;
    struct stat dotGit {};
    if (::lstat((diskPath + ".git").c_str(), &dotGit) == 0) {
        std::string whyNot;
        std::unique_ptr<WorkTree> nested = openWorkTree(diskPath, false, true, whyNot);
        if (nested && nested->repositoryPrefix.empty()) {
            nested->readRules(warning_);
            nested->walkPrefix = std::move(walkPath);
            workTrees_.push_back(std::move(nested));
            return true;
        }
        if (!nested && whyNot != "not inside a git work tree") {
            if (warning_) {
                warning_(diskPath.substr(0, diskPath.size() - 1),
                         whyNot + "; every file in it is taken");
            }
            auto whole = std::make_unique<WorkTree>(nullptr);
            whole->walkPrefix = std::move(walkPath);
            workTrees_.push_back(std::move(whole));
            return true;
        }
    }
    tree.enter(path, !kept, diskPath, warning_);
    return true;
}

bool GitWorkTreeFilter::isInWorkTree(const std::string& directory) {
    std::string whyNot;
    return openWorkTree(directory, true, false, whyNot) != nullptr;
}

}  // namespace tw
