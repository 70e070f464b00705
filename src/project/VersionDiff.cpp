#include "project/VersionDiff.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string_view>

#include "engine/CountColumns.h"
#include "engine/FileCount.h"
#include "engine/FileExplanation.h"
#include "engine/TextConversion.h"
#include "project/DirectoryWalk.h"
#include "project/GitLibrary.h"

namespace tw {
namespace {

enum class LineClass : unsigned char { Code, Comment, Blank };

LineClass classOf(LineType kind) {
    switch (kind) {
        case LineType::Code:
        case LineType::Declaration:
        case LineType::Directive:
        case LineType::CommentCodeLine:
            return LineClass::Code;
        case LineType::Blank:
            return LineClass::Blank;
        default:
            return LineClass::Comment;
    }
}

LineChanges& changesOf(FileDiff& file, LineClass lineClass) {
    switch (lineClass) {
        case LineClass::Code:
            return file.code;
        case LineClass::Comment:
            return file.comment;
        default:
            return file.blank;
    }
}

/// One side of a file, counted: its text as the count read it, one line per line, and the class
/// of each line.
struct CountedSide {
    std::string text;
    std::vector<LineClass> classes;
    std::uint64_t modeCount = 0;
};

/// Reads and counts `file`; false with `failure` when it cannot be read or counted.
bool countSide(const VersionFile& file, const CountSettings& settings, CountedSide& side,
               std::string& failure) {
    std::string bytes;
    const int error = file.read(bytes);
    FileCount record(utf16FromUtf8(file.path, InvalidUtf8::Escape), std::string(),
                     FileCount::Measure::AtFirstCount);
    FileExplanation explanation;
    if (!record.explainHeld(HeldFile{bytes, error}, settings, explanation)) {
        failure = file.path + ": " + utf8FromUtf16(record.remarks);
        if (record.readError > 0) {
            failure += std::string(" ") + std::strerror(record.readError);
        }
        return false;
    }
    side.modeCount = CountValues::of(record)[CountColumn::Code];
    side.classes.reserve(explanation.lines.size());
    // The text as the count decoded it (carriage returns dropped), so that any encoding
    // compares with any other; a last line without a line feed stays without, as git sees it.
    side.text = utf8FromUtf16(explanation.text);
    for (const FileExplanation::Line& line : explanation.lines) {
        side.classes.push_back(classOf(line.kind));
    }
    return true;
}

/// The changed lines of the diff's current block, by line index on their side.
struct LinePairing {
    const CountedSide* oldSide = nullptr;
    const CountedSide* newSide = nullptr;
    FileDiff* file = nullptr;
    std::vector<std::size_t> removed;
    std::vector<std::size_t> added;
    /// The lines of each side in a block of changes.
    std::vector<bool> oldChanged;
    std::vector<bool> newChanged;

    void flush() {
        const std::size_t pairs = std::min(removed.size(), added.size());
        for (std::size_t i = 0; i < pairs; ++i) {
            ++changesOf(*file, newSide->classes[added[i]]).modified;
        }
        for (std::size_t i = pairs; i < removed.size(); ++i) {
            ++changesOf(*file, oldSide->classes[removed[i]]).removed;
        }
        for (std::size_t i = pairs; i < added.size(); ++i) {
            ++changesOf(*file, newSide->classes[added[i]]).added;
        }
        removed.clear();
        added.clear();
    }
};

int onHunk(const git_diff_delta*, const git_diff_hunk*, void* payload) {
    static_cast<LinePairing*>(payload)->flush();
    return 0;
}

int onLine(const git_diff_delta*, const git_diff_hunk*, const git_diff_line* line, void* payload) {
    auto& pairing = *static_cast<LinePairing*>(payload);
    if (line->origin == GIT_DIFF_LINE_DELETION && line->old_lineno > 0 &&
        static_cast<std::size_t>(line->old_lineno) <= pairing.oldSide->classes.size()) {
        pairing.removed.push_back(static_cast<std::size_t>(line->old_lineno) - 1);
        pairing.oldChanged[pairing.removed.back()] = true;
    } else if (line->origin == GIT_DIFF_LINE_ADDITION && line->new_lineno > 0 &&
               static_cast<std::size_t>(line->new_lineno) <= pairing.newSide->classes.size()) {
        pairing.added.push_back(static_cast<std::size_t>(line->new_lineno) - 1);
        pairing.newChanged[pairing.added.back()] = true;
    }
    return 0;
}

/// Marks every line of `side` with `how`.
void allLines(const CountedSide& side, FileDiff& file, std::uint64_t LineChanges::*how) {
    for (const LineClass lineClass : side.classes) {
        ++(changesOf(file, lineClass).*how);
    }
}

void addTo(FileDiff& totals, const FileDiff& file) {
    totals.code += file.code;
    totals.comment += file.comment;
    totals.blank += file.blank;
    totals.oldCount += file.oldCount;
    totals.newCount += file.newCount;
}

}  // namespace

LineChanges& LineChanges::operator+=(const LineChanges& other) {
    same += other.same;
    modified += other.modified;
    added += other.added;
    removed += other.removed;
    return *this;
}

const char* fileChangeName(FileChange change) {
    switch (change) {
        case FileChange::Added:
            return "added";
        case FileChange::Removed:
            return "removed";
        case FileChange::Modified:
            return "modified";
        default:
            return "unchanged";
    }
}

bool compareVersions(const std::vector<VersionFile>& oldFiles,
                     const std::vector<VersionFile>& newFiles, const CountSettings& settings,
                     VersionDiff& diff, std::string& why) {
    const GitLibrary* git = gitLibrary(why);
    if (git == nullptr) {
        return false;
    }
    diff.files.clear();
    diff.totals = FileDiff{};
    diff.mode = settings.mode;
    git_diff_options options{};
    git->diff_options_init(&options, GIT_DIFF_OPTIONS_VERSION);
    options.context_lines = 0;
    options.interhunk_lines = 0;
    options.flags = GIT_DIFF_FORCE_TEXT;

    // Pairs by the path below the directory, in the scan's order.
    struct Pair {
        const VersionFile* oldFile = nullptr;
        const VersionFile* newFile = nullptr;
    };
    std::vector<std::pair<std::string_view, Pair>> pairs;
    {
        std::map<std::string_view, Pair> byPath;
        for (const VersionFile& file : oldFiles) {
            byPath[file.relativePath()].oldFile = &file;
        }
        for (const VersionFile& file : newFiles) {
            byPath[file.relativePath()].newFile = &file;
        }
        pairs.assign(byPath.begin(), byPath.end());
        std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) {
            return scanPathLess(a.first, b.first);
        });
    }

    for (const auto& [relative, pair] : pairs) {
        FileDiff file;
        file.path = pair.newFile != nullptr ? pair.newFile->path : pair.oldFile->path;
        CountedSide oldSide;
        CountedSide newSide;
        bool counted = true;
        if (pair.oldFile != nullptr) {
            counted = countSide(*pair.oldFile, settings, oldSide, file.failure);
        }
        if (counted && pair.newFile != nullptr) {
            counted = countSide(*pair.newFile, settings, newSide, file.failure);
        }
        if (pair.oldFile == nullptr) {
            file.change = FileChange::Added;
        } else if (pair.newFile == nullptr) {
            file.change = FileChange::Removed;
        } else if (pair.oldFile->sameBlobAs(*pair.newFile) ||
                   (counted && oldSide.text == newSide.text &&
                    oldSide.classes == newSide.classes)) {
            file.change = FileChange::Unchanged;
        } else {
            file.change = FileChange::Modified;
        }
        if (!counted) {
            diff.files.push_back(std::move(file));
            continue;
        }
        if (settings.mode != CountMode::Physical) {
            file.oldCount = oldSide.modeCount;
            file.newCount = newSide.modeCount;
        }
        switch (file.change) {
            case FileChange::Added:
                allLines(newSide, file, &LineChanges::added);
                break;
            case FileChange::Removed:
                allLines(oldSide, file, &LineChanges::removed);
                break;
            case FileChange::Unchanged:
                allLines(newSide, file, &LineChanges::same);
                break;
            case FileChange::Modified: {
                LinePairing pairing;
                pairing.oldSide = &oldSide;
                pairing.newSide = &newSide;
                pairing.file = &file;
                pairing.oldChanged.assign(oldSide.classes.size(), false);
                pairing.newChanged.assign(newSide.classes.size(), false);
                const std::string oldPath(pair.oldFile->relativePath());
                const std::string newPath(pair.newFile->relativePath());
                if (git->diff_buffers(oldSide.text.data(), oldSide.text.size(), oldPath.c_str(),
                                      newSide.text.data(), newSide.text.size(), newPath.c_str(),
                                      &options, nullptr, nullptr, onHunk, onLine, &pairing) != 0) {
                    const std::string path = file.path;
                    const FileChange change = file.change;
                    file = FileDiff{};
                    file.path = path;
                    file.change = change;
                    file.failure = file.path + ": the two versions cannot be compared";
                    break;
                }
                pairing.flush();
                // The lines outside the blocks of changes pair in order; each is the same
                // line, counted under its new side's class.
                std::size_t oldLine = 0;
                for (std::size_t newLine = 0; newLine < newSide.classes.size(); ++newLine) {
                    if (pairing.newChanged[newLine]) {
                        continue;
                    }
                    while (oldLine < oldSide.classes.size() && pairing.oldChanged[oldLine]) {
                        ++oldLine;
                    }
                    if (oldLine == oldSide.classes.size()) {
                        break;
                    }
                    ++oldLine;
                    ++changesOf(file, newSide.classes[newLine]).same;
                }
                break;
            }
        }
        if (file.failure.empty()) {
            addTo(diff.totals, file);
        }
        diff.files.push_back(std::move(file));
    }
    return true;
}

}  // namespace tw
