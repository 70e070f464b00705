#include "project/GitRevisions.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "project/DirectoryWalk.h"
#include "project/FileIo.h"
#include "project/GitLibrary.h"
#include "project/GitRepositoryFiles.h"

namespace tw {
namespace {

/// Links followed in a row before a path is taken to lead nowhere (as the system gives up on a
/// loop of links).
constexpr int kMostLinkHops = 40;

std::string quote(std::string_view text) {
    return "'" + std::string(text) + "'";
}

std::string lastError(const GitLibrary& git) {
    const git_error* error = git.error_last();
    return error != nullptr && error->message != nullptr ? error->message : "unknown error";
}

GitObjectId idOf(const git_oid* oid) {
    GitObjectId id{};
    std::memcpy(id.data(), oid->id, id.size());
    return id;
}

git_oid oidOf(const GitObjectId& id) {
    git_oid oid{};
    std::memcpy(oid.id, id.data(), id.size());
    return oid;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

/// The canonical form of the folder `path`, whose last components need not be there: they
/// follow the canonical form of the part that is (`existing`). 0, or why there is no such
/// folder.
int canonicalFolder(const std::string& path, std::string& full, std::string& existing) {
    std::string rest = path.empty() ? "." : path;
    std::vector<std::string> missing;
    for (;;) {
        while (rest.size() > 1 && rest.back() == '/') {
            rest.pop_back();
        }
        existing = canonicalPath(rest);
        if (!existing.empty()) {
            break;
        }
        if (errno != ENOENT) {
            return errno;
        }
        const std::size_t slash = rest.rfind('/');
        missing.push_back(slash == std::string::npos ? rest : rest.substr(slash + 1));
        rest = slash == std::string::npos ? "." : slash == 0 ? "/" : rest.substr(0, slash);
    }
    if (!isDirectory(existing)) {
        return ENOTDIR;
    }
    full = existing;
    for (auto name = missing.rbegin(); name != missing.rend(); ++name) {
        if (name->empty() || *name == ".") {
            continue;
        }
        if (*name == "..") {
            const std::size_t slash = full.rfind('/');
            full = slash == 0 || slash == std::string::npos ? "/" : full.substr(0, slash);
            continue;
        }
        full += (full == "/" ? "" : "/") + *name;
    }
    return 0;
}

/// The components of a '/' separated path, without empty ones.
std::vector<std::string> componentsOf(std::string_view path) {
    std::vector<std::string> components;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        if (slash != 0) {
            components.emplace_back(path.substr(0, slash));
        }
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    }
    return components;
}

/// Whether `path` (a '/' separated relative path) has a component ".git".
bool insideGitDirectory(std::string_view path) {
    for (const std::string& component : componentsOf(path)) {
        if (component == ".git") {
            return true;
        }
    }
    return false;
}

/// A libgit2 object, freed when this goes.
template <typename T>
class Owned {
  public:
    using Free = void (*)(T*);
    explicit Owned(Free free) : free_(free) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    T** out() {
        reset();
        return &object_;
    }
    T* get() const { return object_; }
    void reset() {
        if (object_ != nullptr) {
            free_(object_);
            object_ = nullptr;
        }
    }

  private:
    T* object_ = nullptr;
    Free free_;
};

/// The name `.gitmodules` gives the submodule at `path`; `path` itself when it names none (git
/// takes the path as the name then). A name that could lead out of the `modules` folder is not
/// taken.
std::string submoduleName(std::string_view gitmodules, const std::string& path) {
    std::string section;
    std::string_view rest = gitmodules;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        while (!line.empty() && std::strchr(" \t\r", line.front()) != nullptr) {
            line.remove_prefix(1);
        }
        while (!line.empty() && std::strchr(" \t\r", line.back()) != nullptr) {
            line.remove_suffix(1);
        }
        if (line.starts_with("[submodule") && line.ends_with("\"]")) {
            const std::size_t open = line.find('"');
            section = open + 2 < line.size()
                          ? std::string(line.substr(open + 1, line.size() - open - 3))
                          : std::string();
            continue;
        }
        if (line.starts_with("[")) {
            section.clear();
            continue;
        }
        const std::size_t equals = line.find('=');
        if (section.empty() || equals == std::string_view::npos) {
            continue;
        }
        std::string_view key = line.substr(0, equals);
        std::string_view value = line.substr(equals + 1);
        while (!key.empty() && std::strchr(" \t", key.back()) != nullptr) {
            key.remove_suffix(1);
        }
        while (!value.empty() && std::strchr(" \t", value.front()) != nullptr) {
            value.remove_prefix(1);
        }
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (key == "path" && value == path) {
            for (const std::string& component : componentsOf(section)) {
                if (component == "..") {
                    return path;
                }
            }
            return section;
        }
    }
    return path;
}

/// What a link of a version leads to.
struct LinkEnd {
    enum class Kind { File, Folder, Nothing };
    Kind kind = Kind::Nothing;
    GitObjectId blob{};
    /// The file's path in the repository.
    std::string path;
};

}  // namespace

std::string hexOf(const GitObjectId& id) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(id.size() * 2);
    for (const unsigned char byte : id) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

std::string GitVersion::commitId() const {
    return isCommit ? hexOf(commit) : std::string();
}

std::string GitVersion::date() const {
    if (!isCommit) {
        return {};
    }
    const std::time_t local = static_cast<std::time_t>(time + std::int64_t{offsetMinutes} * 60);
    std::tm fields{};
    gmtime_r(&local, &fields);
    const int offset = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d",
                  fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday, fields.tm_hour,
                  fields.tm_min, fields.tm_sec, offsetMinutes < 0 ? '-' : '+', offset / 60,
                  offset % 60);
    return text;
}

/// One repository whose objects the versions are read from: the directory's own, or a
/// submodule's. Every call into libgit2 on it holds `lock`: libgit2 objects serve one thread at
/// a time.
struct GitRevisions::Source {
    explicit Source(const GitLibrary* library) : git(*library) {}
    ~Source() {
        if (repository != nullptr) {
            git.repository_free(repository);
        }
    }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    const GitLibrary& git;
    git_repository* repository = nullptr;
    /// Canonical; it tells two repositories apart.
    std::string gitDirectory;
    /// Its work tree on disk, ending in '/'; empty for none.
    std::string workTree;
    /// The commits where its shallow history ends.
    std::unordered_set<std::string> shallowEnds;
    mutable std::mutex lock;

    struct Entry {
        std::string name;
        GitObjectId id{};
        git_filemode_t mode = GIT_FILEMODE_UNREADABLE;
    };

    /// The entries of the tree `id`; false when it cannot be read.
    bool entries(const GitObjectId& id, std::vector<Entry>& found) const {
        const std::lock_guard guard(lock);
        Owned<git_tree> tree(git.tree_free);
        const git_oid oid = oidOf(id);
        if (git.tree_lookup(tree.out(), repository, &oid) != 0) {
            return false;
        }
        const std::size_t count = git.tree_entrycount(tree.get());
        found.clear();
        found.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const git_tree_entry* entry = git.tree_entry_byindex(tree.get(), i);
            found.push_back({git.tree_entry_name(entry), idOf(git.tree_entry_id(entry)),
                             git.tree_entry_filemode(entry)});
        }
        return true;
    }

    /// The entry `name` of the tree `id`; false when there is none.
    bool entry(const GitObjectId& id, const std::string& name, Entry& found) const {
        const std::lock_guard guard(lock);
        Owned<git_tree> tree(git.tree_free);
        const git_oid oid = oidOf(id);
        if (git.tree_lookup(tree.out(), repository, &oid) != 0) {
            return false;
        }
        const git_tree_entry* entry = git.tree_entry_byname(tree.get(), name.c_str());
        if (entry == nullptr) {
            return false;
        }
        found = {name, idOf(git.tree_entry_id(entry)), git.tree_entry_filemode(entry)};
        return true;
    }

    /// The bytes of the blob `id`; false when it cannot be read.
    bool blob(const GitObjectId& id, std::string& bytes) const {
        const std::lock_guard guard(lock);
        Owned<git_blob> blob(git.blob_free);
        const git_oid oid = oidOf(id);
        if (git.blob_lookup(blob.out(), repository, &oid) != 0) {
            return false;
        }
        const auto size = static_cast<std::size_t>(git.blob_rawsize(blob.get()));
        const char* content = static_cast<const char*>(git.blob_rawcontent(blob.get()));
        bytes.assign(content != nullptr ? content : "", content != nullptr ? size : 0);
        return true;
    }

    /// The tree of the commit `id`; false when the commit cannot be read.
    bool commitTree(const GitObjectId& id, GitObjectId& tree) const {
        const std::lock_guard guard(lock);
        Owned<git_commit> commit(git.commit_free);
        const git_oid oid = oidOf(id);
        if (git.commit_lookup(commit.out(), repository, &oid) != 0) {
            return false;
        }
        tree = idOf(git.commit_tree_id(commit.get()));
        return true;
    }

    /// Fills the commit fields of `version` from `commit`.
    void describe(const git_commit* commit, GitVersion& version) const {
        version.isCommit = true;
        version.commit = idOf(git.commit_id(commit));
        version.tree = idOf(git.commit_tree_id(commit));
        version.time = git.commit_time(commit);
        version.offsetMinutes = git.commit_time_offset(commit);
    }

    /// What the link at `linkPath` of the version whose tree is `root` leads to, followed
    /// through links in the version as the file system would follow them in a checkout.
    LinkEnd followLink(const GitObjectId& root, const std::string& linkPath) const {
        std::vector<std::string> pending = componentsOf(linkPath);
        for (int hops = 0;;) {
            std::vector<std::string> resolved;
            std::vector<GitObjectId> trees{root};
            bool followed = false;
            for (std::size_t i = 0; i < pending.size() && !followed; ++i) {
                const std::string& name = pending[i];
                if (name == ".") {
                    continue;
                }
                if (name == "..") {
                    if (resolved.empty()) {
                        return {};  // out of the version
                    }
                    resolved.pop_back();
                    trees.pop_back();
                    continue;
                }
                Entry found;
                if (!entry(trees.back(), name, found)) {
                    return {};
                }
                const bool last = i + 1 == pending.size();
                switch (found.mode) {
                    case GIT_FILEMODE_LINK: {
                        std::string target;
                        if (++hops > kMostLinkHops || !blob(found.id, target) || target.empty() ||
                            target.front() == '/') {
                            return {};
                        }
                        std::vector<std::string> next = resolved;
                        for (std::string& component : componentsOf(target)) {
                            next.push_back(std::move(component));
                        }
                        next.insert(next.end(),
                                    pending.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                    pending.end());
                        pending = std::move(next);
                        followed = true;
                        break;
                    }
                    case GIT_FILEMODE_TREE:
                        resolved.push_back(name);
                        trees.push_back(found.id);
                        break;
                    case GIT_FILEMODE_COMMIT:
                        return last ? LinkEnd{LinkEnd::Kind::Folder, {}, {}} : LinkEnd{};
                    default: {
                        if (!last) {
                            return {};
                        }
                        std::string path;
                        for (const std::string& folder : resolved) {
                            path += folder + '/';
                        }
                        return {LinkEnd::Kind::File, found.id, path + name};
                    }
                }
            }
            if (!followed) {
                return {LinkEnd::Kind::Folder, {}, {}};
            }
        }
    }
};

/// The entries of every tree listed so far, by tree id and repository.
struct GitRevisions::Listings {
    std::unordered_map<std::string, std::shared_ptr<const std::vector<Source::Entry>>> trees;
};

GitRevisions::GitRevisions() : listings_(std::make_unique<Listings>()) {}

GitRevisions::~GitRevisions() = default;

const std::string& GitRevisions::location() const {
    return location_;
}

const std::string& GitRevisions::workTree() const {
    return workTree_;
}

const std::string& GitRevisions::prefix() const {
    return prefix_;
}

namespace {

/// The first file below `gitDirectory` that libgit2 would open when it reads revisions there
/// and that is no regular file; the reason it cannot be read, or empty.
std::string unreadableRepository(const std::string& gitDirectory) {
    std::string irregular = firstIrregularRepositoryFile(gitDirectory, false);
    if (irregular.empty()) {
        irregular = firstIrregularDatabaseFile(gitDirectory);
    }
    return irregular.empty()
               ? std::string()
               : quote(irregular) + " is not a regular file, so the git repository is not read";
}

/// The commits listed in the repository's `shallow` file (checked to be a regular file).
std::unordered_set<std::string> shallowEndsOf(const std::string& commonDirectory) {
    std::unordered_set<std::string> ends;
    std::string text;
    const std::string path = commonDirectory + "shallow";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        readWholeFile(path, text) != 0) {
        return ends;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        if (end - start >= 40) {
            ends.insert(text.substr(start, 40));
        }
        start = end + 1;
    }
    return ends;
}

}  // namespace

std::unique_ptr<GitRevisions> GitRevisions::openFor(const std::string& directory,
                                                    std::string& whyNot) {
    const GitLibrary* git = gitLibrary(whyNot);
    if (git == nullptr) {
        return nullptr;
    }
    std::string here;
    std::string existing;
    if (const int error = canonicalFolder(directory, here, existing); error != 0) {
        whyNot = std::strerror(error);
        return nullptr;
    }
    // Before libgit2 opens anything: the files it would read are each a regular file.
    const std::string gitDirectory = gitDirectoryOf(existing, true);
    if (gitDirectory.empty()) {
        whyNot = "not inside a git repository";
        return nullptr;
    }
    if (std::string why = unreadableRepository(gitDirectory); !why.empty()) {
        whyNot = why;
        return nullptr;
    }
    auto source = std::make_unique<Source>(git);
    if (git->repository_open_ext(&source->repository, existing.c_str(), 0, nullptr) != 0) {
        whyNot = "libgit2 cannot open the git repository " + quote(gitDirectory) + ": " +
                 lastError(*git);
        return nullptr;
    }
    source->gitDirectory = canonicalPath(git->repository_path(source->repository));
    // Should libgit2 have found another repository than the one checked, it is checked now,
    // before anything of its database is read.
    if (source->gitDirectory != canonicalPath(gitDirectory)) {
        if (std::string why = unreadableRepository(source->gitDirectory); !why.empty()) {
            whyNot = why;
            return nullptr;
        }
    }
    const char* common = git->repository_commondir(source->repository);
    source->shallowEnds = shallowEndsOf(common != nullptr ? common : "");

    std::unique_ptr<GitRevisions> revisions(new GitRevisions());
    const char* workdir = git->repository_workdir(source->repository);
    if (git->repository_is_bare(source->repository) != 0 || workdir == nullptr) {
        revisions->location_ = source->gitDirectory;
        if (here != source->gitDirectory) {
            whyNot = startsWith(here, source->gitDirectory + '/')
                         ? "inside the bare git repository " + quote(source->gitDirectory) +
                               ", not its top"
                         : "not inside a git repository";
            return nullptr;
        }
    } else {
        const std::string top = canonicalPath(workdir);
        if (top.empty() || !(here == top || startsWith(here, top == "/" ? top : top + '/'))) {
            whyNot = "not inside a git repository";
            return nullptr;
        }
        revisions->location_ = top;
        source->workTree = revisions->workTree_ = top == "/" ? top : top + '/';
        revisions->prefix_ = here == top ? std::string() : here.substr(top.size() + 1) + '/';
        if (top == "/" && here != top) {
            revisions->prefix_ = here.substr(1) + '/';
        }
        if (insideGitDirectory(revisions->prefix_)) {
            whyNot = "inside a git directory, not its work tree";
            return nullptr;
        }
    }
    revisions->sources_.push_back(std::move(source));
    return revisions;
}

bool GitRevisions::isShallow() const {
    const Source& source = *sources_[0];
    const std::lock_guard guard(source.lock);
    return source.git.repository_is_shallow(source.repository) == 1;
}

bool GitRevisions::resolve(const std::string& revision, GitVersion& version,
                           std::string& why) const {
    const bool shallow = isShallow();
    const Source& source = *sources_[0];
    const GitLibrary& git = source.git;
    const std::lock_guard guard(source.lock);
    version = GitVersion{};
    version.label = revision;
    Owned<git_object> named(git.object_free);
    // A NUL byte would name a shorter revision than the one given.
    const int found = revision.find('\0') != std::string::npos
                          ? GIT_EINVALIDSPEC
                          : git.revparse_single(named.out(), source.repository, revision.c_str());
    if (found != 0) {
        const std::string where = " in the git repository " + quote(location_);
        why = found == GIT_ENOTFOUND
                  ? "revision " + quote(revision) + " does not exist" + where +
                        (shallow ? ", a shallow clone whose history ends early" : "")
              : found == GIT_EAMBIGUOUS ? "revision " + quote(revision) + " is ambiguous" + where
                                        : "revision " + quote(revision) + " cannot be read" + where;
        why += " (libgit2: " + lastError(git) + ")";
        return false;
    }
    Owned<git_object> peeled(git.object_free);
    if (git.object_peel(peeled.out(), named.get(), GIT_OBJECT_COMMIT) == 0) {
        source.describe(reinterpret_cast<const git_commit*>(peeled.get()), version);
        return true;
    }
    if (git.object_peel(peeled.out(), named.get(), GIT_OBJECT_TREE) == 0) {
        version.tree = idOf(git.object_id(peeled.get()));
        return true;
    }
    why = "revision " + quote(revision) + " names a file, not a commit or a tree, in the git " +
          "repository " + quote(location_);
    return false;
}

bool GitRevisions::firstParents(const GitVersion& from, std::size_t count,
                                std::vector<GitVersion>& series, std::string& why,
                                std::string& notice) const {
    series.clear();
    if (!from.isCommit) {
        why = "revision " + quote(from.label) + " names a tree, which has no history";
        return false;
    }
    const bool shallow = isShallow();
    const Source& source = *sources_[0];
    const GitLibrary& git = source.git;
    const std::lock_guard guard(source.lock);
    const auto endsEarly = [&](std::size_t found) {
        why = "the history of " + quote(from.label) + " ends after " + std::to_string(found) +
              (found == 1 ? " commit" : " commits") + ", not " + std::to_string(count) +
              ": the git repository " + quote(location_) + " is a shallow clone";
        return false;
    };
    GitObjectId next = from.commit;
    for (std::size_t k = 0; k < count; ++k) {
        Owned<git_commit> commit(git.commit_free);
        const git_oid oid = oidOf(next);
        if (git.commit_lookup(commit.out(), source.repository, &oid) != 0) {
            if (shallow) {
                return endsEarly(k);
            }
            why = "commit " + hexOf(next) + " cannot be read in the git repository " +
                  quote(location_) + " (libgit2: " + lastError(git) + ")";
            return false;
        }
        GitVersion version;
        version.label = k == 0 ? from.label : from.label + "~" + std::to_string(k);
        source.describe(commit.get(), version);
        series.push_back(std::move(version));
        if (k + 1 == count) {
            break;
        }
        if (git.commit_parentcount(commit.get()) == 0) {
            if (source.shallowEnds.count(hexOf(series.back().commit)) != 0) {
                return endsEarly(k + 1);
            }
            notice = "revision " + quote(from.label) + " has " + std::to_string(k + 1) +
                     (k == 0 ? " commit" : " commits") + " along its first parents, not " +
                     std::to_string(count);
            break;
        }
        next = idOf(git.commit_parent_id(commit.get(), 0));
    }
    std::reverse(series.begin(), series.end());
    return true;
}

bool GitRevisions::tags(std::vector<GitVersion>& series, std::string& why,
                        const Warning& warning) const {
    series.clear();
    const Source& source = *sources_[0];
    const GitLibrary& git = source.git;
    const std::lock_guard guard(source.lock);
    git_strarray names{};
    if (git.tag_list(&names, source.repository) != 0) {
        why = "the tags of the git repository " + quote(location_) +
              " cannot be read (libgit2: " + lastError(git) + ")";
        return false;
    }
    for (std::size_t i = 0; i < names.count; ++i) {
        const std::string name = names.strings[i];
        Owned<git_object> named(git.object_free);
        Owned<git_object> peeled(git.object_free);
        if (git.revparse_single(named.out(), source.repository, ("refs/tags/" + name).c_str()) !=
                0 ||
            git.object_peel(peeled.out(), named.get(), GIT_OBJECT_COMMIT) != 0) {
            if (warning) {
                warning("tag " + quote(name) + " of the git repository " + quote(location_) +
                        " names no commit that can be read; passed over");
            }
            continue;
        }
        GitVersion version;
        version.label = name;
        source.describe(reinterpret_cast<const git_commit*>(peeled.get()), version);
        series.push_back(std::move(version));
    }
    git.strarray_dispose(&names);
    std::sort(series.begin(), series.end(), [](const GitVersion& a, const GitVersion& b) {
        return a.time != b.time ? a.time < b.time : a.label < b.label;
    });
    return true;
}

bool GitRevisions::enterSubmodule(std::uint32_t outer, const GitObjectId& root,
                                  const std::string& path, const GitObjectId& commit,
                                  std::uint32_t& entered, GitObjectId& tree, std::string& why) {
    const Source& from = *sources_[outer];
    std::string name = path;
    Source::Entry gitmodules;
    std::string text;
    if (from.entry(root, ".gitmodules", gitmodules) && gitmodules.mode != GIT_FILEMODE_TREE &&
        from.blob(gitmodules.id, text)) {
        name = submoduleName(text, path);
    }
    // Where git keeps the submodule's repository: its checkout in the work tree, or the
    // repository's own `modules` folder.
    std::vector<std::string> candidates;
    if (!from.workTree.empty()) {
        candidates.push_back(gitDirectoryOf(from.workTree + path, false));
    }
    {
        const std::lock_guard guard(from.lock);
        const char* common = from.git.repository_commondir(from.repository);
        if (common != nullptr) {
            candidates.push_back(std::string(common) + "modules/" + name);
        }
    }
    why = "its repository is not here (the submodule is not initialised)";
    for (const std::string& candidate : candidates) {
        const std::string gitDirectory =
            candidate.empty() ? std::string() : canonicalPath(candidate);
        if (gitDirectory.empty() || !isDirectory(gitDirectory)) {
            continue;
        }
        std::uint32_t index = 0;
        while (index < sources_.size() && sources_[index]->gitDirectory != gitDirectory) {
            ++index;
        }
        if (index == sources_.size()) {
            if (std::string unreadable = unreadableRepository(gitDirectory); !unreadable.empty()) {
                why = unreadable;
                continue;
            }
            auto source = std::make_unique<Source>(&from.git);
            if (from.git.repository_open_ext(&source->repository, gitDirectory.c_str(),
                                             GIT_REPOSITORY_OPEN_NO_SEARCH, nullptr) != 0) {
                why = "libgit2 cannot open its git repository " + quote(gitDirectory) + ": " +
                      lastError(from.git);
                continue;
            }
            source->gitDirectory = gitDirectory;
            const char* workdir = from.git.repository_workdir(source->repository);
            if (workdir != nullptr && isDirectory(workdir)) {
                const std::string top = canonicalPath(workdir);
                source->workTree = top == "/" ? top : top + '/';
            }
            sources_.push_back(std::move(source));
        }
        if (sources_[index]->commitTree(commit, tree)) {
            entered = index;
            return true;
        }
        why = "commit " + hexOf(commit) + " is not in its git repository " + quote(gitDirectory);
    }
    return false;
}

bool GitRevisions::files(const GitVersion& version, const std::string& shownDirectory,
                         bool withSubfolders, const std::vector<ScanFilter*>& filters,
                         const ExtensionFilter& extensions,
                         const std::function<void(RevisionFile&& file)>& onFile, std::string& why,
                         const Warning& warning) {
    /// One folder of the version being walked.
    struct Frame {
        std::uint32_t source = 0;
        /// The root tree of the version in that repository, where its links are followed.
        GitObjectId root{};
        /// The folder's path in its repository and below the scanned directory, each empty or
        /// ending in '/'.
        std::string repositoryPath;
        std::string walkPath;
        std::shared_ptr<const std::vector<Source::Entry>> entries;
        std::size_t next = 0;
    };
    const auto inRevision = " in revision " + quote(version.label);
    const auto readFolder = [this, &why, &inRevision](Frame& frame, const GitObjectId& id) {
        // A tree never changes: its entries, in the scan's order, serve every version that has
        // it.
        std::string key(reinterpret_cast<const char*>(id.data()), id.size());
        key += std::to_string(frame.source);
        if (const auto known = listings_->trees.find(key); known != listings_->trees.end()) {
            frame.entries = known->second;
            return true;
        }
        std::vector<Source::Entry> found;
        if (!sources_[frame.source]->entries(id, found)) {
            why = "folder " + quote(frame.repositoryPath) + inRevision +
                  " cannot be read from the git repository " +
                  quote(sources_[frame.source]->gitDirectory);
            return false;
        }
        struct Sorted {
            Source::Entry entry;
            std::u16string order;
        };
        std::vector<Sorted> sorted;
        sorted.reserve(found.size());
        for (Source::Entry& entry : found) {
            // Names git itself never writes into a tree.
            if (entry.name.empty() || entry.name.find('/') != std::string::npos ||
                entry.name == "." || entry.name == ".." || entry.name == ".git") {
                continue;
            }
            std::u16string order = scanOrderKey(entry.name);
            sorted.push_back({std::move(entry), std::move(order)});
        }
        std::sort(sorted.begin(), sorted.end(), [](const Sorted& a, const Sorted& b) {
            return scanOrderLess(a.order, a.entry.name, b.order, b.entry.name);
        });
        auto entries = std::make_shared<std::vector<Source::Entry>>();
        entries->reserve(sorted.size());
        for (Sorted& entry : sorted) {
            entries->push_back(std::move(entry.entry));
        }
        frame.entries = entries;
        listings_->trees.emplace(std::move(key), std::move(entries));
        return true;
    };

    // The directory's own folder in the version, through submodules on the way.
    Frame start;
    start.root = version.tree;
    GitObjectId folder = version.tree;
    for (const std::string& name : componentsOf(prefix_)) {
        Source::Entry found;
        if (!sources_[start.source]->entry(folder, name, found)) {
            why = "there is no folder " + quote(start.repositoryPath + name) + inRevision;
            return false;
        }
        if (found.mode == GIT_FILEMODE_COMMIT) {
            std::string whyNot;
            if (!enterSubmodule(start.source, start.root, start.repositoryPath + name, found.id,
                                start.source, folder, whyNot)) {
                why =
                    "submodule " + quote(start.repositoryPath + name) + inRevision + ": " + whyNot;
                return false;
            }
            start.root = folder;
            start.repositoryPath.clear();
            continue;
        }
        if (found.mode != GIT_FILEMODE_TREE) {
            why = quote(start.repositoryPath + name) + inRevision + " is a file, not a folder";
            return false;
        }
        folder = found.id;
        start.repositoryPath += name + '/';
    }
    if (!readFolder(start, folder)) {
        return false;
    }

    std::vector<Frame> stack;
    stack.push_back(std::move(start));
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.entries->size()) {
            stack.pop_back();
            continue;
        }
        const Source::Entry& entry = (*frame.entries)[frame.next++];
        const Source& source = *sources_[frame.source];
        const std::string repositoryPath = frame.repositoryPath + entry.name;
        const bool isLink = entry.mode == GIT_FILEMODE_LINK;
        LinkEnd end;
        if (isLink) {
            end = source.followLink(frame.root, repositoryPath);
        }
        const bool isFolder = entry.mode == GIT_FILEMODE_TREE ||
                              entry.mode == GIT_FILEMODE_COMMIT ||
                              (isLink && end.kind == LinkEnd::Kind::Folder);
        if (isFolder && !withSubfolders) {
            continue;
        }
        const std::string relativePath = frame.walkPath + entry.name;
        if (!filters.empty()) {
            const ScanEntry seen{relativePath, entry.name, isFolder, isLink};
            bool taken = true;
            for (ScanFilter* filter : filters) {
                taken = taken && filter->takes(seen);
            }
            if (!taken) {
                continue;
            }
        }
        if (isLink && isFolder) {
            continue;  // git keeps a link as a link and never looks behind it
        }
        if (entry.mode == GIT_FILEMODE_TREE || entry.mode == GIT_FILEMODE_COMMIT) {
            Frame inner;
            inner.source = frame.source;
            inner.root = frame.root;
            inner.repositoryPath = repositoryPath + '/';
            inner.walkPath = relativePath + '/';
            GitObjectId tree = entry.id;
            if (entry.mode == GIT_FILEMODE_COMMIT) {
                std::string whyNot;
                if (!enterSubmodule(frame.source, frame.root, repositoryPath, entry.id,
                                    inner.source, tree, whyNot)) {
                    if (warning) {
                        warning("submodule " + quote(shownDirectory + relativePath) + inRevision +
                                ": " + whyNot + "; its files are not counted");
                    }
                    continue;
                }
                inner.root = tree;
                inner.repositoryPath.clear();
            }
            if (!readFolder(inner, tree)) {
                return false;
            }
            stack.push_back(std::move(inner));  // `frame` and `entry` are not used after this
            continue;
        }
        if (!extensions.takes(entry.name)) {
            continue;
        }
        RevisionFile file;
        file.path = shownDirectory + relativePath;
        file.below = shownDirectory.size();
        file.repository = frame.source;
        if (!isLink) {
            file.blob = entry.id;
            file.identity = source.gitDirectory + '\n' + repositoryPath;
        } else if (end.kind == LinkEnd::Kind::File) {
            file.blob = end.blob;
            file.identity = source.gitDirectory + '\n' + end.path;
        } else {
            file.readError = ENOENT;
            file.identity = source.gitDirectory + '\n' + repositoryPath;
        }
        onFile(std::move(file));
    }
    return true;
}

int GitRevisions::read(const RevisionFile& file, std::string& bytes) const {
    bytes.clear();
    if (file.readError != 0) {
        return file.readError;
    }
    if (file.repository >= sources_.size() || !sources_[file.repository]->blob(file.blob, bytes)) {
        return EIO;
    }
    return 0;
}

}  // namespace tw
