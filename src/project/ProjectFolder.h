#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/CountColumns.h"
#include "engine/FileCount.h"

namespace tw {

/// One folder of the project tree. A folder owns its subfolders and its file count records,
/// both kept in the order they were added; the tree is built from file paths alone
/// (`AddFilePath`) and every total is computed from it on demand.
///
/// Paths are native: components are separated by '/', case is kept, and lookups compare
/// exactly. An absolute path's first folder is named "/"; empty components (doubled '/') name
/// no folder, since the file system reads them as one. Two records are the same when both their
/// paths and their disk paths are equal: names that are not UTF-8 may show alike and still be
/// two files. A record's `path` and `diskPath` must not change while a folder holds it: the
/// folder indexes its records by them, so that adding stays fast in large folders.
class ProjectFolder {
  public:
    using FolderList = std::vector<std::unique_ptr<ProjectFolder>>;
    using RecordList = std::vector<std::unique_ptr<FileCount>>;

    /// Folders deeper than this below a root are not created: `AddFilePath` refuses a path that
    /// would need them. A path the file system can open never comes near it, and it keeps the
    /// walks over the tree and the width of tree reports bounded for any input.
    static constexpr std::size_t kMaxDepth = 2048;

    /// A root: empty name, no parent.
    ProjectFolder() = default;
    /// A folder named `name` below `parent`, which does not list it yet.
    ProjectFolder(std::u16string_view name, ProjectFolder* parent);
    ~ProjectFolder() = default;

    ProjectFolder(const ProjectFolder&) = delete;
    ProjectFolder& operator=(const ProjectFolder&) = delete;

    const std::u16string& name() const { return name_; }
    ProjectFolder* parent() const { return parent_; }
    const FolderList& subfolders() const { return subfolders_; }
    const RecordList& files() const { return files_; }
    bool expanded() const { return expanded_; }

    // ---- Building and finding -------------------------------------------------------------

    /// Places `path` into the tree below this folder, creating the folders it names, and makes
    /// its record with `diskPath` as the file to measure and count. Returns the new record, or
    /// nullptr for an empty path, a path ending in '/', a record already present in the target
    /// folder, or a path deeper than `kMaxDepth`; a path refused for its form makes no folder. With
    /// `folderBudget`, no more folders are made than it allows, so that a file of unknown origin
    /// cannot make a tree out of proportion to it; a path that needs more is refused.
    struct FolderBudget {
        std::size_t left = 0;
        bool exceeded = false;
    };
    FileCount* AddFilePath(std::u16string_view path, std::string diskPath,
                           FileCount::Measure measure = FileCount::Measure::Now,
                           FolderBudget* folderBudget = nullptr);
    /// As above, the disk path being `path` itself.
    FileCount* AddFilePath(std::u16string_view path);

    /// Appends `record` unless a record with the same `path` and `diskPath` is present; false
    /// then, and the record is destroyed.
    bool AddFile(std::unique_ptr<FileCount> record);

    /// This folder's path: the names from the top folder down to its own, joined by '/' ("/"
    /// for the top folder of absolute paths, "/usr/src" below it). Empty for a root.
    std::u16string FullPath() const;

    /// The first folder of the subtree, in pre-order, whose `FullPath` equals `fullPath`.
    ProjectFolder* FindFolder(std::u16string_view fullPath);
    const ProjectFolder* FindFolder(std::u16string_view fullPath) const;

    /// A record found by `FindFile` and the folder that lists it; both null when none was.
    struct FoundFile {
        FileCount* record = nullptr;
        ProjectFolder* folder = nullptr;
    };
    /// The first record of the subtree, in pre-order, whose `path` equals `path`.
    FoundFile FindFile(std::u16string_view path) const;

    /// Sets `expanded`; setting it also opens every ancestor up to the root.
    void SetExpanded(bool expanded);

    // ---- Counts and sums ------------------------------------------------------------------
    // Recursive operations visit the folder's own records first, then each subfolder in order.
    // Sums are 32-bit and wrap around.

    /// Records in the whole subtree.
    std::uint32_t TotalRecords() const;
    /// Records whose `counted` is set; subfolders included when `recursive`.
    std::uint32_t CountedRecords(bool recursive) const;
    /// Records of the whole subtree whose `counted` is clear.
    std::uint32_t UncountedRecords() const;
    /// Records whose `failed` is set; subfolders included when `recursive`.
    std::uint32_t FailedRecords(bool recursive) const;
    /// Some record of the subtree has `counted` set.
    bool HasCounted() const;
    /// Some record of the subtree has `counted` clear.
    bool HasUncounted() const;
    /// No record and no subfolder.
    bool IsEmpty() const;

    /// The sum of one counter (`&FileCount::code`, ...) over the records whose `counted` is set;
    /// records with `counted` clear add nothing, whatever they hold.
    std::uint32_t Sum(std::uint32_t FileCount::*counter, bool recursive) const;
    /// Every counter summed the same way, in one walk, with the totals formed from the sums.
    CountValues Sums(bool recursive) const;

    // ---- Collection and measures ----------------------------------------------------------

    /// Appends every record of the subtree, in pre-order, to `records`.
    void CollectRecords(std::vector<FileCount*>& records);
    void CollectRecords(std::vector<const FileCount*>& records) const;

    /// The largest of `startWidth` and, over the subtree, of a label's length plus its depth
    /// times `indentation` (but no more than `maxIndent`): this folder's records and subfolder
    /// names are at `depth`, the contents of each subfolder one level deeper. A record's label
    /// is its file name.
    std::size_t WidestTreeLabel(std::size_t startWidth, std::size_t depth, std::size_t indentation,
                                std::size_t maxIndent = static_cast<std::size_t>(-1)) const;

    /// The longest record `path` (`fullPath`) or file name over the subtree; 0 when it is empty.
    std::size_t LongestPath(bool fullPath) const;

    // ---- Reset and removal ----------------------------------------------------------------

    /// Every record of the subtree back to uncounted (`FileCount::reset`).
    void ResetAllCounts();
    /// Destroys this folder's own records; subfolders stay.
    void DeleteAllRecords();
    /// Destroys every subfolder with everything below it; this folder's own records stay.
    void DeleteAllSubfolders();
    /// Takes the records and subfolders of the root `other` in place of this root's own, which
    /// are destroyed; `other` ends empty. Record paths stay as they are, so both must be roots.
    void TakeContentsOf(ProjectFolder& other);
    /// Destroys the first of this folder's own records whose file name is `fileName`.
    bool RemoveRecordByFileName(std::u16string_view fileName);
    /// Destroys the first subfolder named `name`, with everything below it.
    bool RemoveSubfolderByName(std::u16string_view name);

    // ---- Removal that leaves no empty folder behind ---------------------------------------
    // Called on a root (or any folder that bounds the pruning): folders are removed below it
    // only, never the folder itself.

    /// What goes when `folder` goes, so that no folder is left empty: `folder` itself, or its
    /// highest ancestor below this folder that holds nothing besides the way down to it.
    /// `folder` itself when it does not lie below this folder.
    ProjectFolder& RemovalTop(ProjectFolder& folder);
    /// Destroys `folder`, which lies below this folder, with everything below it, and every
    /// ancestor that this leaves empty (`RemovalTop`). Returns the nearest folder that stays:
    /// this folder at most. A `folder` that does not lie below this folder is left alone and
    /// returned.
    ProjectFolder& RemoveFolderAndEmptyParents(ProjectFolder& folder);

  private:
    std::size_t depthBelowRoot() const;
    /// What tells the records of one folder apart: the disk path (doubled separators name the
    /// same file, as they name the same folders) and the path. Read from the records
    /// themselves, whose names never change once they are in a folder.
    struct RecordIdentity {
        std::size_t operator()(const FileCount* record) const;
        bool operator()(const FileCount* left, const FileCount* right) const;
    };
    /// The folder reached from this one through `names`, creating those missing within
    /// `budget` (when given); nullptr when the budget ran out.
    ProjectFolder* folderAlong(const std::vector<std::u16string_view>& names, FolderBudget* budget);
    const ProjectFolder* findFolderFrom(std::u16string_view fullPath,
                                        std::u16string_view ownPath) const;
    /// `folder` lies in this folder's subtree and is not this folder.
    bool holdsBelow(const ProjectFolder& folder) const;
    void removeSubfolder(FolderList::iterator subfolder);

    ProjectFolder* parent_ = nullptr;
    std::u16string name_;
    FolderList subfolders_;
    RecordList files_;
    bool expanded_ = false;
    /// Lookups for `AddFilePath` and `AddFile`: each subfolder by name, the records of `files_`.
    std::unordered_map<std::u16string, ProjectFolder*> subfolderByName_;
    std::unordered_set<const FileCount*, RecordIdentity, RecordIdentity> records_;
};

/// The names of the folders that `path` leads through, in order ("/" first for an absolute
/// path, empty components skipped), and in `fileName` what follows the last '/'.
std::vector<std::u16string_view> folderNamesOf(std::u16string_view path,
                                               std::u16string_view& fileName);

/// The path of the folder that holds a record with path `recordPath`: what comes before its
/// last '/' ("/usr/src" for /usr/src/a.c, "/" for /a.c); empty for a bare name.
std::u16string folderPathOf(std::u16string_view recordPath);

/// Appends `component` to `path`, with a '/' between them unless `path` is empty or already
/// ends in one.
void appendPathComponent(std::u16string& path, std::u16string_view component);

/// The record path that `AddFilePath` on a root gives to `path`, worked out without a tree:
/// `path` with its doubled separators made single. Empty when `AddFilePath` would refuse it in
/// any tree.
std::u16string recordPathOf(std::u16string_view path);

}  // namespace tw
