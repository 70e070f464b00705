#include "project/VersionFiles.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "engine/TextConversion.h"
#include "project/CountRunner.h"
#include "project/DirectoryWalk.h"
#include "project/ExcludePatterns.h"
#include "project/ExtensionFilter.h"
#include "project/FileIo.h"
#include "project/GitWorkTreeFilter.h"

namespace tw {
namespace {

/// `directory` as a scan starts from it: ending in '/', or empty for the current directory.
std::string startOf(std::string directory) {
    if (!directory.empty() && directory.back() != '/') {
        directory += '/';
    }
    return directory;
}

ExcludePatterns excludesOf(const ScanChoices& choices) {
    ExcludePatterns excluded;
    for (const std::string& pattern : choices.excludePatterns) {
        excluded.add(pattern);
    }
    return excluded;
}

}  // namespace

int VersionFile::read(std::string& bytes) const {
    if (revisions) {
        return revisions->read(blob, bytes);
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno;
    }
    if (!S_ISREG(info.st_mode)) {
        bytes.clear();
        return S_ISDIR(info.st_mode) ? EISDIR : kNotARegularFile;
    }
    return readWholeFile(path, bytes);
}

bool VersionFile::sameBlobAs(const VersionFile& other) const {
    return revisions && revisions == other.revisions && blob.repository == other.blob.repository &&
           blob.readError == 0 && other.blob.readError == 0 && blob.blob == other.blob.blob;
}

bool revisionFiles(const std::shared_ptr<GitRevisions>& revisions, const GitVersion& version,
                   const std::string& directory, const ScanChoices& choices,
                   std::vector<VersionFile>& files, std::string& why,
                   const GitRevisions::Warning& warning) {
    files.clear();
    ExcludePatterns excluded = excludesOf(choices);
    std::vector<ScanFilter*> filters;
    if (!excluded.empty()) {
        filters.push_back(&excluded);
    }
    const ExtensionFilter extensions(choices.extensions);
    return revisions->files(
        version, startOf(directory), choices.withSubfolders, filters, extensions,
        [&](RevisionFile&& file) {
            VersionFile taken;
            taken.path = file.path;
            taken.below = file.below;
            taken.revisions = revisions;
            taken.blob = std::move(file);
            files.push_back(std::move(taken));
        },
        why, warning);
}

bool directoryFiles(const std::string& directory, const ScanChoices& choices, bool withGitRules,
                    std::vector<VersionFile>& files, std::string& why,
                    const GitRevisions::Warning& warning) {
    files.clear();
    const std::string start = startOf(directory);
    const std::string shown = "'" + (directory.empty() ? std::string(".") : directory) + "'";
    struct stat info {};
    if (::stat(start.empty() ? "." : start.c_str(), &info) != 0) {
        why = "directory " + shown + " cannot be read: " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        why = shown + " is not a directory";
        return false;
    }
    ExcludePatterns excluded = excludesOf(choices);
    std::vector<ScanFilter*> filters;
    if (!excluded.empty()) {
        filters.push_back(&excluded);
    }
    std::unique_ptr<GitWorkTreeFilter> gitRules;
    if (withGitRules) {
        std::string whyNot;
        gitRules = GitWorkTreeFilter::open(
            start, whyNot, [&warning](const std::string& path, const std::string& reason) {
                if (warning) {
                    warning("'" + path + "': " + reason);
                }
            });
        if (!gitRules) {
            why = "directory " + shown + ": " + whyNot;
            return false;
        }
        filters.push_back(gitRules.get());
    }
    const ExtensionFilter extensions(choices.extensions);
    DirectoryWalkCalls calls;
    calls.onFile = [&](const std::string& folder, const std::string& name) {
        if (!extensions.takes(name)) {
            return;
        }
        VersionFile file;
        file.path = folder + name;
        file.below = start.size();
        files.push_back(std::move(file));
    };
    calls.onUnreadable = [&warning](const std::string& folder, int error) {
        if (warning) {
            warning("cannot read directory '" + folder + "': " + std::strerror(error) +
                    "; passed over");
        }
    };
    walkDirectory(start, choices.withSubfolders, calls, filters);
    return true;
}

VersionCounter::VersionCounter(const CountSettings& settings, unsigned threads)
    : settings_(settings), threads_(threads) {}

const FileCount* VersionCounter::counted(const VersionFile& file) const {
    if (!file.revisions || file.blob.readError != 0) {
        return nullptr;
    }
    const std::string_view path = file.path;
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return blobs_.counted(file.blob.blob, fileTypeOfName(utf16FromUtf8(name, InvalidUtf8::Escape)),
                          settings_);
}

std::vector<FileCount> VersionCounter::count(const std::vector<VersionFile>& files,
                                             FailedCountTable& failures) {
    std::vector<FileCount> records;
    records.reserve(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const VersionFile& file = files[i];
        const std::u16string shown = utf16FromUtf8(file.path, InvalidUtf8::Escape);
        if (!file.revisions) {
            records.emplace_back(shown, file.path, FileCount::Measure::AtFirstCount);
            continue;
        }
        // A key no file on disk can have: a NUL byte, then the file's place in the list.
        const std::string key = std::string(1, '\0') + std::to_string(i);
        records.emplace_back(shown, key, FileCount::Measure::AtFirstCount);
        blobs_.add(key, file.revisions, file.blob);
    }
    std::vector<FileCount*> pointers;
    pointers.reserve(records.size());
    for (FileCount& record : records) {
        pointers.push_back(&record);
    }
    CountRunner::Options options;
    options.threads = threads_;
    options.settings = settings_;
    options.count = [this](FileCount& record, const CountSettings& settings,
                           CountMemoryGate* gate) { return blobs_.count(record, settings, gate); };
    CountRunner runner(failures, resultsLock_);
    runner.run(pointers, options, {});
    return records;
}

}  // namespace tw
