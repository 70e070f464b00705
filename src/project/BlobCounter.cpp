#include "project/BlobCounter.h"

#include <algorithm>
#include <cstring>

#include "engine/SourceFile.h"
#include "engine/SourceText.h"
#include "project/CountRunner.h"

namespace tw {

std::size_t BlobCounter::KeyHash::operator()(const Key& key) const {
    std::size_t hash = 0;
    std::memcpy(&hash, key.blob.data(), sizeof hash);  // the id is a hash already
    const auto mode = static_cast<std::size_t>(key.settings.mode);
    const std::size_t options = (key.settings.allCapsFunctionsAsMacros ? 1 : 0) |
                                (key.settings.macrosAsStatements ? 2 : 0) |
                                (key.settings.logicAsSingleStatement ? 4 : 0);
    return hash ^ (static_cast<std::size_t>(key.type) << 8) ^ (mode << 16) ^ (options << 20);
}

void BlobCounter::add(const std::string& key, const std::shared_ptr<const GitRevisions>& revisions,
                      const RevisionFile& file) {
    if (std::find(repositories_.begin(), repositories_.end(), revisions) == repositories_.end()) {
        repositories_.push_back(revisions);
    }
    blobs_[key] = {revisions.get(), file.repository, file.blob, file.readError};
}

bool BlobCounter::count(FileCount& record, const CountSettings& settings, CountMemoryGate* gate) {
    const auto found = blobs_.find(record.diskPath);
    if (found == blobs_.end()) {
        return record.count(settings, gate);
    }
    const Blob& blob = found->second;
    const Key key{blob.id, record.fileType, settings};
    if (blob.readError == 0) {
        const std::lock_guard lock(mutex_);
        if (const auto counted = counted_.find(key); counted != counted_.end()) {
            copyCountResults(counted->second, record);
            return record.hasCounts();
        }
    }
    // One buffer per thread, as the engine keeps one text per thread.
    thread_local std::string bytes;
    RevisionFile file;
    file.repository = blob.repository;
    file.blob = blob.id;
    file.readError = blob.readError;
    const int error = blob.revisions->read(file, bytes);
    const bool succeeded = record.countHeld(HeldFile{bytes, error}, settings, gate);
    bytes.clear();
    releaseIfHuge(bytes);
    if (error == 0) {
        FileCount counts(u"", std::string(), FileCount::Measure::AtFirstCount);
        copyCountResults(record, counts);
        const std::lock_guard lock(mutex_);
        counted_.emplace(key, std::move(counts));
        ++blobsCounted_;
    }
    return succeeded;
}

const FileCount* BlobCounter::counted(const GitObjectId& blob, FileType type,
                                      const CountSettings& settings) const {
    const std::lock_guard lock(mutex_);
    const auto found = counted_.find(Key{blob, type, settings});
    return found != counted_.end() ? &found->second : nullptr;
}

std::size_t BlobCounter::blobsCounted() const {
    const std::lock_guard lock(mutex_);
    return blobsCounted_;
}

}  // namespace tw
