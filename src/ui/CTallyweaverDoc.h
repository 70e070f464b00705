#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include "engine/CountSettings.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"

class QWidget;

namespace tw::ui {

class RecentProjects;

/// The project document of the desktop program: the project tree, the file it was loaded from
/// or saved to, and whether it changed since. It takes the steps of new, open, save, save as
/// and the question before a changed project is replaced (the project file format itself is
/// `ProjectFile`'s), and every edit of the project: adding, removing, resetting the counts.
///
/// Views learn of changes through its signals; a view skips a `folderChanged` it caused.
class CTallyweaverDoc : public QObject {
    Q_OBJECT
  public:
    /// A document over the program's count settings and failure table.
    explicit CTallyweaverDoc(RecentProjects* recentProjects = nullptr, QObject* parent = nullptr);
    CTallyweaverDoc(CountSettings& settings, FailedCountTable& failures,
                    RecentProjects* recentProjects = nullptr, QObject* parent = nullptr);
    ~CTallyweaverDoc() override;

    /// How the project is counted; kept in the project file.
    CountSettings& settings() { return settings_; }
    const CountSettings& settings() const { return settings_; }
    /// Why the files of the last count run failed, by record path; for a loaded project, the
    /// failed records it was saved with.
    FailedCountTable& failures() { return failures_; }
    const FailedCountTable& failures() const { return failures_; }

    ProjectFolder& root() { return root_; }
    const ProjectFolder& root() const { return root_; }

    /// Records counted when the project was last created, loaded or saved.
    int countedFilesAtSave() const { return countedFilesAtSave_; }

    bool isModified() const { return modified_; }
    void setModifiedFlag(bool modified = true);

    /// The project's name for the window title and the save question: the file's name, or
    /// "Untitled".
    QString title() const;
    /// The project file's path; empty for a project never saved.
    const QString& pathName() const { return pathName_; }
    /// Where the project dialogs start: the project file's folder, or the folder of the last
    /// project opened or saved when this one has no file; empty when there is neither.
    QString projectFolder() const;

    RecentProjects* recentProjects() const { return recentProjects_; }

    // ---- Document steps; `window` owns the dialogs and message boxes ----------------------

    /// New Project: asks to save a changed project, then empties it. False when the user
    /// cancelled.
    bool newProject(QWidget* window);
    enum class OpenOutcome { Opened, Cancelled, Failed };
    /// Open Project with `path`: asks to save a changed project, then loads the file. A file
    /// that cannot be read leaves the project as it was; one that turns out damaged leaves an
    /// empty, untitled project. Either failure is shown in a message box.
    OpenOutcome openProject(const QString& path, QWidget* window);
    /// Save Project: saves under the current name, or asks for one first.
    bool saveProject(QWidget* window);
    /// Save Project As: asks for a name, then saves under it.
    bool saveProjectAs(QWidget* window);
    /// The question "Save changes to %1?" for a changed project, and the save on Save. True
    /// when the project may now be replaced or closed.
    bool saveModified(QWidget* window);
    /// The question "Save changes to %1?" alone: Save, Discard or Cancel.
    QMessageBox::StandardButton askToSave(QWidget* window) const;

    /// Empties the project (every record, then every folder) and shows the empty root.
    void deleteContents();

    // ---- Edits; each marks the project modified where it changed it ----------------------

    /// The folder the views show, "" for the root; kept while the views are made anew.
    const QString& rememberedFolderPath() const { return rememberedFolderPath_; }
    void setRememberedFolderPath(const QString& path) { rememberedFolderPath_ = path; }
    /// The folder of `rememberedFolderPath`: the root for "", null when it is gone.
    ProjectFolder* rememberedFolder();

    /// Add File(s): adds the files at the disk paths `paths`, each folder opened in the tree,
    /// and shows the folder of the last one added. Files the project holds already are passed
    /// over. The remembered folder is forgotten first, also when `paths` is empty.
    void addFiles(const QStringList& paths);
    /// Add Folder(s): adds the files a folder search of `searched` found (disk paths in the
    /// file system's encoding), naming each in `statusMessage`, and shows the searched folder
    /// (the folder of the last file added when the project has no folder of that path).
    void addFoundFiles(const std::vector<std::string>& found, const QString& searched = QString());
    /// Removes `folder` with everything below it and every folder this leaves empty; the
    /// nearest folder that stays becomes the one shown.
    void removeFolder(ProjectFolder& folder);
    /// Removes the files of the project paths `paths` and every folder this leaves empty; when
    /// a folder went, the nearest one that stays of the last to go becomes the one shown.
    /// Returns the paths the project did not hold.
    std::vector<std::u16string> removeFiles(const std::vector<std::u16string>& paths);
    /// Reset: every count undone, and with them the failures of the last run.
    void resetCounts();
    /// A count run is over: the project changed when the counted files are not those it had
    /// at the last save; the views show the new counts.
    void countRunEnded();

    /// The disk paths of the files at the project paths `paths`, in that order.
    QStringList diskFiles(const std::vector<std::u16string>& paths) const;
    /// The disk folders that hold those files, each once, in that order.
    QStringList diskFolders(const std::vector<std::u16string>& paths) const;
    /// The disk path of `folder`.
    static QString diskFolder(const ProjectFolder& folder);

    /// The views are to show `folder`, which changed or which `origin` (a view that already
    /// shows it; null for none) chose.
    void showFolder(ProjectFolder* folder, QObject* origin = nullptr);

  signals:
    /// What an edit is doing, for the status bar.
    void statusMessage(const QString& text);
    /// The views show `folder` anew; `origin` is the view that chose it, or null.
    void folderChanged(tw::ProjectFolder* folder, QObject* origin);
    /// The records' counts changed: the views show them again, for the same folder.
    void countsChanged();
    /// `top` and the folders below it are about to leave the project: the tree takes out
    /// their items. `foldersRemoved` follows once they are gone.
    void foldersAboutToBeRemoved(tw::ProjectFolder* top);
    void foldersRemoved();
    /// Files or folders left the project; the views show `shown`, the folder now remembered
    /// (or the root).
    void filesRemoved(tw::ProjectFolder* shown);
    /// The project's folders are about to be destroyed (emptied, or replaced by a loaded
    /// project): views let go of them. A `folderChanged` follows.
    void treeAboutToBeReplaced();
    /// A project was loaded: the main frame re-creates its current view.
    void recreateViewRequested();
    /// The title or the modified flag changed.
    void stateChanged();

  private:
    /// Saves under `path`, or asks for a name first when `path` is empty.
    bool doSave(const QString& path, QWidget* window);
    /// Writes the project to `path`; shows a message and returns false on failure.
    bool writeProject(const QString& path, QWidget* window);
    /// A new, untitled project: the tree emptied, nothing counted at save, unmodified.
    void becomeNewProject();
    void setPathName(const QString& path);
    /// Adds one file; the record, or null when the project holds it already.
    FileCount* addFile(const std::u16string& path, const std::string& diskPath);
    /// Removes `folder` and the folders this leaves empty, telling the views; returns the
    /// nearest folder that stays.
    ProjectFolder& pruneFolder(ProjectFolder& folder);

    CountSettings& settings_;
    FailedCountTable& failures_;
    ProjectFolder root_;
    int countedFilesAtSave_ = 0;
    bool modified_ = false;
    QString pathName_;  ///< the project file's path; empty for a project never saved
    QString rememberedFolderPath_;
    RecentProjects* recentProjects_;
};

}  // namespace tw::ui
