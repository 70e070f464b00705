#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "project/ExtensionFilter.h"
#include "project/ScanFilter.h"

namespace tw {

/// The id of a git object.
using GitObjectId = std::array<unsigned char, 20>;

/// The id in hexadecimal digits, as git shows it.
std::string hexOf(const GitObjectId& id);

/// One version of a repository's files: a commit, or a tree named directly.
struct GitVersion {
    /// As the user or the series names it: "v1.2", "HEAD~3".
    std::string label;
    GitObjectId tree{};
    bool isCommit = false;
    GitObjectId commit{};
    /// The commit's time (its committer's), in seconds since 1970, and its time zone.
    std::int64_t time = 0;
    int offsetMinutes = 0;

    /// The commit id in hexadecimal; empty for a tree.
    std::string commitId() const;
    /// The commit time as ISO 8601 in the committer's zone ("2024-03-01T12:34:56+01:00"); empty
    /// for a tree.
    std::string date() const;
};

/// One file of a version below a directory.
struct RevisionFile {
    /// As a scan of a checkout shows it: the directory as given (ending in '/', or empty), then
    /// the path below it. Bytes, as the tree holds them.
    std::string path;
    /// Where in `path` the part below the directory begins.
    std::size_t below = 0;
    /// Which repository holds the blob: 0 the directory's own, others its submodules'.
    std::uint32_t repository = 0;
    GitObjectId blob{};
    /// ENOENT for a link that leads to no file of the version (nothing to read); else 0.
    int readError = 0;
    /// Equal for two paths of one file of a checkout (a link and the file it leads to).
    std::string identity;

    std::string_view relativePath() const { return std::string_view(path).substr(below); }
};

/// The versions of the files below a directory that lies in a git repository, read from the
/// repository's object database: no checkout, no temporary file, the work tree untouched. A
/// version is any revision git understands (a tag, a branch, `HEAD~20`, a commit or tree id).
///
/// A version's files are those of a clean checkout of it, in the order and with the paths a
/// directory scan of that checkout takes with `-git`: folders in name order, letter case
/// ignored, the scan's filters and extensions applied alike. A link to a file counts as that
/// file (read from the version); a link to a folder is passed over, as `-git` passes it over; a
/// link that leads nowhere in the version, or out of it, is a file that cannot be read. A
/// submodule is entered at the commit the version records, when its repository is here (the
/// work tree's checkout of it, or the repository's `modules` folder), with a warning when not.
///
/// libgit2 opens only what was checked first: the repository's configuration files, and every
/// file below its git directory, must each be a regular file (a pipe there would block it).
/// Reads of file contents may come from several threads at once; everything else is for one
/// thread, before the reads.
class GitRevisions {
  public:
    /// A warning about part of a version that is passed over; one sentence.
    using Warning = std::function<void(const std::string& text)>;

    /// The repository that holds `directory` (bytes as given; a work tree or a folder in it,
    /// or a bare repository; the folder need not be in the work tree now). Null, with `whyNot`
    /// saying why, when there is none or it cannot be read.
    static std::unique_ptr<GitRevisions> openFor(const std::string& directory, std::string& whyNot);

    ~GitRevisions();
    GitRevisions(const GitRevisions&) = delete;
    GitRevisions& operator=(const GitRevisions&) = delete;

    /// The repository, for messages: its work tree's top, or the bare repository's folder.
    const std::string& location() const;
    /// A work tree's top on disk, ending in '/'; empty for a bare repository.
    const std::string& workTree() const;
    /// The directory's path inside the repository: empty for its top, else ending in '/'.
    const std::string& prefix() const;
    /// The repository is a shallow clone: its history ends early.
    bool isShallow() const;

    /// The version `revision` names, labelled with it; false with `why` when it names none.
    bool resolve(const std::string& revision, GitVersion& version, std::string& why) const;

    /// The last `count` commits along the first parents of `from`, oldest first, labelled
    /// `LABEL~k`. Fewer when the history has fewer, with `notice` saying so; false with `why`
    /// when `from` is no commit or the history ends early because the clone is shallow.
    bool firstParents(const GitVersion& from, std::size_t count, std::vector<GitVersion>& series,
                      std::string& why, std::string& notice) const;

    /// Every tag that names a commit, labelled with its name, in the order of the commits'
    /// dates (ties by name); a tag of anything else is passed over with a warning.
    bool tags(std::vector<GitVersion>& series, std::string& why, const Warning& warning) const;

    /// Hands each file of `version` below the directory to `onFile`, in scan order: paths
    /// begin with `shownDirectory` (the directory as given, ending in '/', or empty); only
    /// files `extensions` takes, and entries every filter takes; subfolders when
    /// `withSubfolders`. False with `why` when the directory is not a folder of the version.
    bool files(const GitVersion& version, const std::string& shownDirectory, bool withSubfolders,
               const std::vector<ScanFilter*>& filters, const ExtensionFilter& extensions,
               const std::function<void(RevisionFile&& file)>& onFile, std::string& why,
               const Warning& warning);

    /// Reads the bytes of `file` into `bytes`: 0, or an `errno` value (the file's
    /// `readError`; EIO when the repository cannot give its blob). Safe from several threads.
    int read(const RevisionFile& file, std::string& bytes) const;

  private:
    struct Source;
    struct Listings;
    GitRevisions();

    /// The repository of a submodule at `path` of `source`'s tree `root`, at commit `commit`:
    /// its index in `sources_` and the commit's tree; false with `why`.
    bool enterSubmodule(std::uint32_t source, const GitObjectId& root, const std::string& path,
                        const GitObjectId& commit, std::uint32_t& entered, GitObjectId& tree,
                        std::string& why);

    std::vector<std::unique_ptr<Source>> sources_;
    /// Trees listed before: each tree of a series is read and sorted once. Names and ids only,
    /// no contents.
    std::unique_ptr<Listings> listings_;
    std::string location_;
    std::string workTree_;
    std::string prefix_;
};

}  // namespace tw
