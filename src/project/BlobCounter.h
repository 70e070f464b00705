#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "engine/FileType.h"
#include "project/GitRevisions.h"

namespace tw {

/// Counts records whose files are blobs of git versions, as `CountRunner::Options::count`
/// asks: each record stands for the blob registered under its disk path, and is counted from
/// the blob's bytes by the engine's own reading and stages (`FileCount::countHeld`); a record
/// registered under no blob is counted from its file.
///
/// A blob counted once in the run is not counted again for the same file type and settings: its
/// counts are copied. The cache holds the counts of each blob, never its text, so a long series
/// of versions costs little more than its distinct contents and its memory does not grow with
/// the texts. Once every record is registered, `count` is safe from several threads.
class BlobCounter {
  public:
    /// Makes the record whose disk path is `key` stand for `file` of `revisions`.
    void add(const std::string& key, const std::shared_ptr<const GitRevisions>& revisions,
             const RevisionFile& file);

    /// Counts `record` as `FileCount::count` would count the file with its blob's bytes.
    bool count(FileCount& record, const CountSettings& settings, CountMemoryGate* gate);

    /// The counts of `blob` (its id names its content, in any repository) for a file of `type`
    /// counted by `settings`, when a count of it was made already; null otherwise. Stays valid
    /// while the counter lives.
    const FileCount* counted(const GitObjectId& blob, FileType type,
                             const CountSettings& settings) const;

    /// Counts of blobs made so far; the other records took their counts from the cache.
    std::size_t blobsCounted() const;

  private:
    struct Blob {
        const GitRevisions* revisions = nullptr;
        std::uint32_t repository = 0;
        GitObjectId id{};
        int readError = 0;
    };
    struct Key {
        GitObjectId blob;
        FileType type;
        CountSettings settings;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };

    std::unordered_map<std::string, Blob> blobs_;
    std::vector<std::shared_ptr<const GitRevisions>> repositories_;

    mutable std::mutex mutex_;
    std::unordered_map<Key, FileCount, KeyHash> counted_;
    std::size_t blobsCounted_ = 0;
};

}  // namespace tw
