#include "project/VersionHistory.h"

#include <charconv>

namespace tw {

bool historySeries(const GitRevisions& revisions, const std::string& seriesName,
                   const std::string& from, std::vector<GitVersion>& series, std::string& why,
                   std::string& notice, const GitRevisions::Warning& warning) {
    series.clear();
    if (seriesName == "tags") {
        return revisions.tags(series, why, warning);
    }
    std::size_t count = 0;
    const char* end = seriesName.data() + seriesName.size();
    const auto [stop, error] = std::from_chars(seriesName.data(), end, count);
    if (seriesName.empty() || error != std::errc() || stop != end || count == 0) {
        why = "'" + seriesName + "' names no series of revisions: 'tags', or a number of commits " +
              "from 1 on";
        return false;
    }
    GitVersion start;
    if (!revisions.resolve(from.empty() ? std::string("HEAD") : from, start, why)) {
        return false;
    }
    return revisions.firstParents(start, count, series, why, notice);
}

bool countHistory(const std::shared_ptr<GitRevisions>& revisions,
                  const std::vector<GitVersion>& series, const std::string& directory,
                  const ScanChoices& choices, VersionCounter& counter,
                  std::vector<HistoryRow>& rows, std::string& why,
                  const GitRevisions::Warning& warning) {
    rows.clear();
    rows.reserve(series.size());
    std::vector<VersionFile> files;
    for (const GitVersion& version : series) {
        if (!revisionFiles(revisions, version, directory, choices, files, why, warning)) {
            return false;
        }
        HistoryRow row;
        row.version = version;
        row.files = files.size();
        const auto add = [&row](const FileCount& record) {
            if (record.hasCounts()) {
                row.values += CountValues::of(record);
            } else {
                ++row.failed;
            }
        };
        // Contents counted before are taken from the counter at once; the others are counted
        // together.
        std::vector<VersionFile> uncounted;
        for (VersionFile& file : files) {
            if (const FileCount* counted = counter.counted(file)) {
                add(*counted);
            } else {
                uncounted.push_back(std::move(file));
            }
        }
        if (!uncounted.empty()) {
            FailedCountTable failures;
            for (const FileCount& record : counter.count(uncounted, failures)) {
                add(record);
            }
        }
        rows.push_back(std::move(row));
    }
    return true;
}

}  // namespace tw
