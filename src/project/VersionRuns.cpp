#include "project/VersionRuns.h"

#include <memory>

#include "project/GitRevisions.h"

namespace tw {
namespace {

std::string shownDirectory(const std::string& directory) {
    return "'" + (directory.empty() ? std::string(".") : directory) + "'";
}

/// The repository of `directory`, or null with a message.
std::shared_ptr<GitRevisions> repositoryOf(const std::string& directory,
                                           std::vector<std::string>& messages) {
    std::string why;
    std::shared_ptr<GitRevisions> revisions = GitRevisions::openFor(directory, why);
    if (!revisions) {
        messages.push_back("directory " + shownDirectory(directory) + ": " + why);
    }
    return revisions;
}

GitRevisions::Warning collect(std::vector<std::string>& messages) {
    return [&messages](const std::string& text) { messages.push_back(text); };
}

}  // namespace

RevisionRun runRevision(const VersionRunSettings& run, const std::string& revision) {
    RevisionRun result;
    VersionCounter counter(run.settings, run.threads);
    for (const std::string& directory : run.directories) {
        const auto revisions = repositoryOf(directory, result.messages);
        GitVersion version;
        std::string why;
        std::vector<VersionFile> files;
        if (!revisions || !revisions->resolve(revision, version, why) ||
            !revisionFiles(revisions, version, directory, run.choices, files, why,
                           collect(result.messages))) {
            if (!why.empty()) {
                result.messages.push_back("directory " + shownDirectory(directory) + ": " + why);
            }
            continue;
        }
        for (FileCount& record : counter.count(files, result.failures)) {
            result.records.push_back(std::move(record));
        }
    }
    result.outcome =
        result.records.empty() ? VersionRunOutcome::NothingToCount : VersionRunOutcome::Completed;
    return result;
}

DiffRun runDiff(const VersionRunSettings& run, const std::string& oldVersion,
                const std::string& newVersion) {
    DiffRun result;
    result.diff.oldLabel = oldVersion;
    result.diff.newLabel =
        newVersion.empty() && !run.directories.empty() ? "work tree" : newVersion;
    result.diff.mode = run.settings.mode;
    const auto compare = [&](const std::vector<VersionFile>& oldFiles,
                             const std::vector<VersionFile>& newFiles) {
        VersionDiff part;
        std::string why;
        if (!compareVersions(oldFiles, newFiles, run.settings, part, why)) {
            result.messages.push_back(why);
            return;
        }
        for (FileDiff& file : part.files) {
            result.diff.files.push_back(std::move(file));
        }
        result.diff.totals.code += part.totals.code;
        result.diff.totals.comment += part.totals.comment;
        result.diff.totals.blank += part.totals.blank;
        result.diff.totals.oldCount += part.totals.oldCount;
        result.diff.totals.newCount += part.totals.newCount;
        result.outcome = VersionRunOutcome::Completed;
    };
    if (run.directories.empty()) {
        std::vector<VersionFile> oldFiles;
        std::vector<VersionFile> newFiles;
        std::string why;
        if (!directoryFiles(oldVersion, run.choices, false, oldFiles, why,
                            collect(result.messages)) ||
            !directoryFiles(newVersion, run.choices, false, newFiles, why,
                            collect(result.messages))) {
            result.messages.push_back(why);
            return result;
        }
        compare(oldFiles, newFiles);
        return result;
    }
    for (const std::string& directory : run.directories) {
        const auto revisions = repositoryOf(directory, result.messages);
        if (!revisions) {
            continue;
        }
        std::vector<VersionFile> oldFiles;
        std::vector<VersionFile> newFiles;
        GitVersion version;
        std::string why;
        bool read = revisions->resolve(oldVersion, version, why) &&
                    revisionFiles(revisions, version, directory, run.choices, oldFiles, why,
                                  collect(result.messages));
        if (read && newVersion.empty()) {
            read = directoryFiles(directory, run.choices, true, newFiles, why,
                                  collect(result.messages));
        } else if (read) {
            read = revisions->resolve(newVersion, version, why) &&
                   revisionFiles(revisions, version, directory, run.choices, newFiles, why,
                                 collect(result.messages));
        }
        if (!read) {
            result.messages.push_back("directory " + shownDirectory(directory) + ": " + why);
            continue;
        }
        compare(oldFiles, newFiles);
    }
    return result;
}

HistoryRun runHistory(const VersionRunSettings& run, const std::string& seriesName,
                      const std::string& from) {
    HistoryRun result;
    VersionCounter counter(run.settings, run.threads);
    for (const std::string& directory : run.directories) {
        const auto revisions = repositoryOf(directory, result.messages);
        if (!revisions) {
            continue;
        }
        std::vector<GitVersion> series;
        std::vector<HistoryRow> rows;
        std::string why;
        std::string notice;
        if (!historySeries(*revisions, seriesName, from, series, why, notice,
                           collect(result.messages)) ||
            !countHistory(revisions, series, directory, run.choices, counter, rows, why,
                          collect(result.messages))) {
            result.messages.push_back("directory " + shownDirectory(directory) + ": " + why);
            continue;
        }
        if (!notice.empty()) {
            result.messages.push_back("directory " + shownDirectory(directory) + ": " + notice);
        }
        if (!rows.empty()) {
            result.outcome = VersionRunOutcome::Completed;
        }
        result.directories.emplace_back(directory, std::move(rows));
    }
    return result;
}

}  // namespace tw
