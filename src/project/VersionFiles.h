#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "project/BlobCounter.h"
#include "project/FailedCountTable.h"
#include "project/GitRevisions.h"

namespace tw {

/// The choices of a directory scan that decide which files it takes.
struct ScanChoices {
    /// Subfolders are scanned too (not `-nosub`).
    bool withSubfolders = true;
    /// Each beginning with '.', as the console makes them.
    std::vector<std::u16string> extensions;
    /// Shell patterns of `-exclude`, bytes.
    std::vector<std::string> excludePatterns;
};

/// One file of a version of a directory: a blob of a git revision, or a file on disk.
struct VersionFile {
    /// As a scan shows it: the directory as given (ending in '/', or empty), then the path below
    /// it. Bytes.
    std::string path;
    /// Where in `path` the part below the directory begins.
    std::size_t below = 0;
    /// The repository the blob is read from; null for a file on disk.
    std::shared_ptr<const GitRevisions> revisions;
    RevisionFile blob;

    std::string_view relativePath() const { return std::string_view(path).substr(below); }
    /// Reads the file's bytes: 0, or an `errno` value.
    int read(std::string& bytes) const;
    /// Whether the two are the same blob of one repository, so that their bytes are equal
    /// without reading them.
    bool sameBlobAs(const VersionFile& other) const;
};

/// The files of `version` below `directory` (as given: shown at the start of every path), as a
/// scan of a checkout of it would take them with `choices` and `-git`, in the scan's order.
/// False with `why` when the directory is not a folder of the version.
bool revisionFiles(const std::shared_ptr<GitRevisions>& revisions, const GitVersion& version,
                   const std::string& directory, const ScanChoices& choices,
                   std::vector<VersionFile>& files, std::string& why,
                   const GitRevisions::Warning& warning = {});

/// The files below `directory` on disk as a scan takes them with `choices` (and, when
/// `withGitRules`, without what git ignores), in the scan's order. False with `why` when the
/// directory cannot be read; folders below it that cannot be read go to `warning`.
bool directoryFiles(const std::string& directory, const ScanChoices& choices, bool withGitRules,
                    std::vector<VersionFile>& files, std::string& why,
                    const GitRevisions::Warning& warning = {});

/// Counts the files of versions into records. A blob counted once by a counter is not counted
/// again for the same file type and settings (`BlobCounter`): a counter kept for a whole run
/// counts each distinct content once.
class VersionCounter {
  public:
    /// `threads`: files counted at once, 0 for one per processor.
    explicit VersionCounter(const CountSettings& settings, unsigned threads = 0);

    /// The records of `files`, in their order, counted: each with the file's shown path and
    /// type. A count that fails leaves its record uncounted and its error text in `failures`
    /// under its path.
    std::vector<FileCount> count(const std::vector<VersionFile>& files, FailedCountTable& failures);

    /// The counts of `file` when its content was counted already for a file of its type; null
    /// otherwise, and for a file on disk. Stays valid while the counter lives.
    const FileCount* counted(const VersionFile& file) const;

    const CountSettings& settings() const { return settings_; }
    /// Contents counted so far; the other blob records took their counts from the cache.
    std::size_t blobsCounted() const { return blobs_.blobsCounted(); }

  private:
    CountSettings settings_;
    unsigned threads_;
    BlobCounter blobs_;
    std::mutex resultsLock_;
};

}  // namespace tw
