#include "project/GitWorkTreeFilter.h"

#include <sys/stat.h>

#include <cstdlib>
#include <unordered_set>

#include "project/GitLibrary.h"

namespace tw {
namespace {

/// The canonical absolute form of `path` (links resolved), without a final '/'; empty when it
/// cannot be resolved.
std::string canonical(const std::string& path) {
    char* resolved = ::realpath(path.empty() ? "." : path.c_str(), nullptr);
    if (resolved == nullptr) {
        return {};
    }
    std::string result = resolved;
    std::free(resolved);
    return result;
}

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

}  // namespace

/// One repository's work tree, and where it lies in the walk.
struct GitWorkTreeFilter::WorkTree {
    explicit WorkTree(const GitLibrary& library) : git(&library) {}
    ~WorkTree() {
        git->index_free(index);
        git->repository_free(repository);
    }
    WorkTree(const WorkTree&) = delete;
    WorkTree& operator=(const WorkTree&) = delete;

    const GitLibrary* git;
    git_repository* repository = nullptr;
    git_index* index = nullptr;
    /// The walk path of the work tree's top, ending in '/'; empty for the one the walk began in.
    std::string walkPrefix;
    /// The path, inside the repository, of the walk path `walkPrefix`: where the walk began, for
    /// the outermost work tree (empty or ending in '/'); empty for a nested one.
    std::string repositoryPrefix;

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
    /// Whether the rules ignore `path` (a folder's ends in '/'). One that cannot be judged is
    /// taken, as it would be without these rules.
    bool ignored(const std::string& path) const {
        int ignored = 0;
        return git->ignore_path_is_ignored(&ignored, repository, path.c_str()) == 0 && ignored != 0;
    }

    /// Whether the rules keep the file or folder at `path`, which git does not track. The first
    /// few are put to the rules one by one; past them, the files the rules keep are listed in
    /// one pass over the work tree, since each question on its own reads the state of every
    /// ignore file above the path again.
    bool keeps(const std::string& path, bool isDirectory) {
        if (!listed && ++untrackedMet > kOneByOne) {
            listed = listKept();
        }
        if (listed) {
            return (isDirectory ? keptFolders : keptFiles).count(path) != 0;
        }
        return !ignored(isDirectory ? path + '/' : path);
    }

    /// Lists the files below `repositoryPrefix` that the rules keep, as git would show them
    /// untracked if it tracked nothing; false when the work tree cannot be read.
    bool listKept() {
        git_index* nothing = nullptr;
        if (git->index_new(&nothing) != 0) {
            return false;
        }
        git_diff_options options = GIT_DIFF_OPTIONS_INIT;
        options.flags = GIT_DIFF_INCLUDE_UNTRACKED | GIT_DIFF_RECURSE_UNTRACKED_DIRS |
                        GIT_DIFF_DISABLE_PATHSPEC_MATCH;
        options.ignore_submodules = GIT_SUBMODULE_IGNORE_ALL;
        char* below = repositoryPrefix.data();
        if (!repositoryPrefix.empty()) {
            options.pathspec = {&below, 1};
        }
        git_diff* diff = nullptr;
        const int made = git->diff_index_to_workdir(&diff, repository, nothing, &options);
        git->index_free(nothing);
        if (made != 0) {
            return false;
        }
        for (std::size_t i = 0; i < git->diff_num_deltas(diff); ++i) {
            const git_diff_delta* delta = git->diff_get_delta(diff, i);
            if (delta->status != GIT_DELTA_UNTRACKED || delta->new_file.path == nullptr) {
                continue;
            }
            // A folder git does not look into (another repository) ends in '/'.
            std::string path = delta->new_file.path;
            const bool folder = !path.empty() && path.back() == '/';
            if (folder) {
                path.pop_back();
            }
            addFolders(keptFolders, path);
            (folder ? keptFolders : keptFiles).insert(std::move(path));
        }
        git->diff_free(diff);
        return true;
    }

    static constexpr int kOneByOne = 64;
    int untrackedMet = 0;
    bool listed = false;
    std::unordered_set<std::string> trackedFiles;
    std::unordered_set<std::string> trackedFolders;
    std::unordered_set<std::string> keptFiles;
    std::unordered_set<std::string> keptFolders;
};

GitWorkTreeFilter::GitWorkTreeFilter(std::string directory) : directory_(std::move(directory)) {}

GitWorkTreeFilter::~GitWorkTreeFilter() = default;

std::unique_ptr<GitWorkTreeFilter::WorkTree> GitWorkTreeFilter::openWorkTree(
    const std::string& directory, unsigned flags, bool withIndex, std::string& whyNot) {
    const GitLibrary* git = gitLibrary(whyNot);
    if (git == nullptr) {
        return nullptr;
    }
    auto tree = std::make_unique<GitWorkTreeFilter::WorkTree>(*git);
    const int opened = git->repository_open_ext(
        &tree->repository, directory.empty() ? "." : directory.c_str(), flags, nullptr);
    if (opened == GIT_ENOTFOUND) {
        whyNot = "not inside a git work tree";
        return nullptr;
    }
    if (opened != 0) {
        whyNot = "the git repository cannot be read: " + lastLibgit2Error(*git);
        return nullptr;
    }
    const char* workdir = git->repository_workdir(tree->repository);
    if (workdir == nullptr || git->repository_is_bare(tree->repository) != 0) {
        whyNot = "not inside a git work tree";
        return nullptr;
    }
    const std::string top = canonical(workdir);
    const std::string here = canonical(directory);
    if (top.empty() || here.empty() || !(here == top || startsWith(here, top + '/'))) {
        whyNot = "not inside a git work tree";
        return nullptr;
    }
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
                                                           std::string& whyNot) {
    std::unique_ptr<WorkTree> tree = openWorkTree(directory, 0, true, whyNot);
    if (!tree) {
        return nullptr;
    }
    std::unique_ptr<GitWorkTreeFilter> filter(new GitWorkTreeFilter(directory));
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
    const std::string path = tree.repositoryPath(entry.relativePath);
    // An ignored folder is entered when git tracks something in it, but git looks for no other
    // file in it, whatever rule would bring one back; the rules say so of every such file, as
    // they judge a path's folders too.
    if (!entry.isDirectory) {
        return tree.tracked(path) || tree.keeps(path, false);
    }
    if (!tree.tracked(path) && !tree.tracksSomethingIn(path) && !tree.keeps(path, true)) {
        return false;
    }

    std::string walkPath = std::string(entry.relativePath) + '/';
    const std::string diskPath = directory_ + walkPath;
    struct stat dotGit {};
    if (::lstat((diskPath + ".git").c_str(), &dotGit) == 0) {
        std::string whyNot;
        if (std::unique_ptr<WorkTree> nested =
                openWorkTree(diskPath, GIT_REPOSITORY_OPEN_NO_SEARCH, true, whyNot);
            nested && nested->repositoryPrefix.empty()) {
            nested->walkPrefix = std::move(walkPath);
            workTrees_.push_back(std::move(nested));
        }
    }
    return true;
}

bool GitWorkTreeFilter::isInWorkTree(const std::string& directory) {
    std::string whyNot;
    return openWorkTree(directory, 0, false, whyNot) != nullptr;
}

}  // namespace tw
