#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>

#include "project/ProjectFolder.h"

class QWidget;

namespace tw::ui {

class RecentProjects;

/// The project document of the desktop program: the project tree, the file it was loaded from
/// or saved to, and whether it changed since. It takes the steps of new, open, save, save as
/// and the question before a changed project is replaced; the project file format itself is
/// `ProjectFile`'s.
///
/// Views learn of changes through `viewsUpdate`: each view skips a notification it sent itself.
class CTallyweaverDoc : public QObject {
    Q_OBJECT
  public:
    explicit CTallyweaverDoc(RecentProjects* recentProjects = nullptr, QObject* parent = nullptr);
    ~CTallyweaverDoc() override;

    ProjectFolder& root() { return root_; }
    const ProjectFolder& root() const { return root_; }

    /// Records counted when the project was last created, loaded or saved.
    int countedFilesAtSave() const { return countedFilesAtSave_; }

    bool isModified() const { return modified_; }
    void setModifiedFlag(bool modified = true);

    /// The project's name for the window title and the save question: the file's name, or
    /// "Untitled".
    QString title() const;

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
    /// The question "Save changes to %1?" for a changed project, and the save on Yes. True when
    /// the project may now be replaced or closed.
    bool saveModified(QWidget* window);
    /// The question "Save changes to %1?" alone: Yes, No or Cancel.
    QMessageBox::StandardButton askToSave(QWidget* window) const;

    /// Empties the project (every record, then every folder) and shows the empty root.
    void deleteContents();

    /// Sends `hint` with `folder` to every view but `sender`.
    void updateAllViews(QObject* sender, int hint, ProjectFolder* folder);

  signals:
    /// A view-update notification; a view ignores the ones it sent.
    void viewsUpdate(QObject* sender, int hint, tw::ProjectFolder* folder);
    /// The project's folders are about to be destroyed (emptied, or replaced by a loaded
    /// project): views let go of them. An update with `HINT_SHOW_FOLDER` follows.
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

    ProjectFolder root_;
    int countedFilesAtSave_ = 0;
    bool modified_ = false;
    QString pathName_;  ///< the project file's path; empty for a project never saved
    RecentProjects* recentProjects_;
};

}  // namespace tw::ui
