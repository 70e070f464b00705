#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/CountSettings.h"
#include "project/VersionFiles.h"

namespace tw {

/// How the lines of one class changed between two versions of a file.
struct LineChanges {
    std::uint64_t same = 0;
    std::uint64_t modified = 0;
    std::uint64_t added = 0;
    std::uint64_t removed = 0;

    LineChanges& operator+=(const LineChanges& other);
    bool operator==(const LineChanges&) const = default;
};

enum class FileChange { Added, Removed, Modified, Unchanged };

/// "added", "removed", "modified", "unchanged".
const char* fileChangeName(FileChange change);

/// One file of a comparison: the lines of each class, each class as the physical rules see its
/// line on its own side (code: a line holding code, with or without a comment; comment; blank).
/// A modified pair of lines counts under its new line's class.
struct FileDiff {
    /// As shown on the new side, or on the old side for a removed file. Bytes.
    std::string path;
    FileChange change = FileChange::Unchanged;
    LineChanges code;
    LineChanges comment;
    LineChanges blank;
    /// In the logical modes, the mode's count (the first report column) on each side; 0 on a
    /// side without the file.
    std::uint64_t oldCount = 0;
    std::uint64_t newCount = 0;
    /// Why a side could not be read or counted; empty when both were. Such a file counts no
    /// lines.
    std::string failure;
};

/// Two versions compared file by file.
struct VersionDiff {
    std::string oldLabel;
    std::string newLabel;
    CountMode mode = CountMode::Physical;
    /// Paired by the path below the directory, in the scan's order.
    std::vector<FileDiff> files;
    /// The sums over the files (`path` empty, `change` meaningless).
    FileDiff totals;
};

/// Compares `oldFiles` with `newFiles`: files pair by their path below the directory, a file on
/// one side only is added or removed. Lines pair by libgit2's diff of the two texts (no
/// whitespace options): within each block of changed lines, removed and added lines pair one
/// to one in order as modified, the rest are added or removed; every other line is the same.
/// The lines' classes and the mode's counts come from counting each side by `settings`. False
/// with `why` when libgit2 cannot be loaded.
bool compareVersions(const std::vector<VersionFile>& oldFiles,
                     const std::vector<VersionFile>& newFiles, const CountSettings& settings,
                     VersionDiff& diff, std::string& why);

}  // namespace tw
