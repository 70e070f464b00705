#pragma once

#include <string>
#include <string_view>

#include "engine/CountSettings.h"
#include "project/FileIo.h"
#include "project/ProjectFolder.h"

namespace tw {

/// How loading a project ended, and what it left behind.
enum class ProjectLoadStatus {
    Loaded,      ///< the tree and the settings hold the file's project
    EmptyFile,   ///< the file had no bytes: an empty tree; the settings were left alone
    Unreadable,  ///< the file could not be opened or read: tree and settings untouched
    Damaged,     ///< the bytes are no valid project: an empty tree; the settings untouched
};

struct ProjectLoadResult {
    ProjectLoadStatus status = ProjectLoadStatus::Loaded;
    /// For the user when loading failed: "Unexpected file format.", "%1 was not found.", ...
    std::u16string message;
    /// The system's own words for a failed read, when there are any.
    std::string systemReason;

    /// Loaded or empty: the tree now holds the project of the file.
    bool succeeded() const {
        return status == ProjectLoadStatus::Loaded || status == ProjectLoadStatus::EmptyFile;
    }
};

enum class ProjectSaveStatus {
    Saved,
    Failed,  ///< the file on disk is as it was before
};

struct ProjectSaveResult {
    ProjectSaveStatus status = ProjectSaveStatus::Saved;
    /// For the user when saving failed: "Access to %1 was denied.", "Failed to save document.", ...
    std::u16string message;
    /// The system's own words for the failure.
    std::string systemReason;
};

/// The project file (".tyx"): the count settings and every record of a project tree with the
/// results of its last count. Folders are not stored; loading rebuilds them from the records'
/// paths.
///
/// The layout is fixed, little-endian, without signature or version: a 20-byte header (record
/// count, mode, the three options as 1 or 0), then one record per file in pre-order. After the
/// last record may come the records' disk paths, a tagged section that other readers skip as
/// trailing bytes; it is written only when some record's path is not its disk path in UTF-8
/// (a name that is not valid UTF-8, or one holding '\', which files of other writers use as the
/// separator). A project counted in the Cyclomatic Complexity mode also keeps its records'
/// functions in a section of the same form after it, which readers that know only the disk
/// paths skip, and which a reader ignores whole when a record's text in it is damaged.
class ProjectFile {
  public:
    static constexpr std::u16string_view kUnexpectedFormat = u"Unexpected file format.";
    static constexpr std::u16string_view kFailedToOpen = u"Failed to open document.";
    static constexpr std::u16string_view kFailedToSave = u"Failed to save document.";

    /// The bytes of the project file for `root` and `settings`. A project without records is
    /// the header alone.
    static std::string store(const ProjectFolder& root, const CountSettings& settings);

    /// Replaces the content of `root` with the project in `bytes` and, unless `bytes` is empty,
    /// `settings` with its count settings. Never fails half-way: when the bytes are damaged,
    /// `root` ends empty and `settings` as it was. Each record is made through `AddFilePath`
    /// (measuring its file) and then given its stored values; a path refused there, such as a
    /// second record with the same path, is dropped.
    static ProjectLoadResult load(std::string_view bytes, ProjectFolder& root,
                                  CountSettings& settings);

    /// Stores the project into the file `fileName` through a temporary file that replaces it
    /// only when everything was written; on failure the old file stays as it was.
    static ProjectSaveResult save(const std::string& fileName, const ProjectFolder& root,
                                  const CountSettings& settings,
                                  FileSystemCalls& calls = systemFileCalls());

    /// Reads the file `fileName` and loads it as `load` does. A file that cannot be read leaves
    /// `root` and `settings` as they were.
    static ProjectLoadResult open(const std::string& fileName, ProjectFolder& root,
                                  CountSettings& settings,
                                  FileSystemCalls& calls = systemFileCalls());
};

}  // namespace tw
