#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QTimer>

#include <mutex>
#include <string>
#include <vector>

#include "ui/CountThreadState.h"

class QSettings;
class QThread;
class QToolBar;

namespace tw {
class ProjectFolder;
}

namespace tw::ui {

class CFileView;
class CFolderView;
class CSplitterView;
class CTallyweaverDoc;
class CountWorker;

/// The main window: menu, toolbar, status bar and one view, either the folder tree beside the
/// file list (Folders and Files) or the file list alone (Files Only). It handles every command,
/// decides which are available, and owns the count run.
class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit CMainFrame(CTallyweaverDoc& document, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CTallyweaverDoc& document() { return document_; }

    /// The program's settings file, where dialogs keep what they remember between runs; none
    /// unless given (tests that give none leave no trace on disk).
    void setSettings(QSettings* settings) { settings_ = settings; }

    /// The action of a command id; null for an unknown id.
    QAction* action(int commandId) const;
    /// The "&Selection" menu, which both views also show as their context menu.
    QMenu* selectionMenu() const { return selectionMenu_; }

    /// ID_VIEW_FOLDERS_AND_FILES or ID_VIEW_FILES_ONLY.
    int viewMode() const { return viewMode_; }
    bool showFullPaths() const { return showFullPaths_; }
    const QString& rememberedFolderPath() const { return rememberedFolderPath_; }
    void setRememberedFolderPath(const QString& path) { rememberedFolderPath_ = path; }

    /// The current top-level view; null before the first view switch.
    QWidget* currentView() const { return currentView_; }
    /// The folder tree (Folders and Files mode only), else null.
    CFolderView* folderView() const;
    /// The file list of the current view, null when there is no view.
    CFileView* fileView() const;

    /// The text of the status bar's pane.
    QString statusText() const { return statusText_; }
    void setStatusText(const QString& text);

    /// A count run is in progress: from Count until the run has been closed.
    bool isCounting() const { return counting_; }
    CountThreadState& countThreadState() { return countState_; }
    /// During a count run, the lock under which records may be read; otherwise no lock.
    std::unique_lock<std::mutex> lockRecordsDuringRun();

    /// Recomputes whether each command is available and checked.
    void updateCommandStates();

    /// Opens the project file `path` as Open Project would after its dialog.
    void openProjectFile(const QString& path);
    /// Adds the files a folder search found (disk paths), as Add Folder(s) does after its
    /// dialog.
    void addFolderFiles(const std::vector<std::string>& found);

  signals:
    /// A count run was closed ("Ready." or "Stopped." in the status bar).
    void countRunClosed();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    struct CommandEntry;
    void createActions();
    void createMenus();
    void createToolBar();
    QAction* makeAction(const CommandEntry& entry);
    void rebuildRecentMenu();
    void updateTitle();
    bool selectionCommandsAvailable(bool remove) const;

    // Command handlers.
    void onFileNew();
    void onFileOpen();
    void onFileSave();
    void onFileSaveAs();
    void onRecentProject(int index);
    void onAddFiles();
    void onAddFolders();
    void onCount();
    void onStop();
    void onReset();
    void onOpenFiles();
    void onOpenInTextEditor();
    void onShowInFolders();
    void onRemove();
    /// The three forms of Remove: the folder selected in the tree, the selected files of that
    /// folder, the selected files of the whole list (Files Only).
    void removeSelectedFolder(CFolderView& tree);
    void removeSelectedFilesOfFolder(CFolderView& tree, CFileView& list);
    void removeSelectedFilesOfProject(CFileView& list);
    void onSettings();
    void onReport();
    void onToggleToolBar();
    void onToggleStatusBar();
    void onChooseView(int commandId);
    void onShowFullPaths();
    void onHelpPage(const QString& page);
    void onAbout();
    void onVisitWebsite();

    /// The view is made again, as after loading a project.
    void recreateView();
    /// Refreshes the file list after a change of the counts: the folder selected in the tree
    /// (Folders and Files), or the whole project (Files Only).
    void refreshFileList();
    /// The folder to show for `rememberedFolderPath`: the root when it is "".
    ProjectFolder* rememberedFolder();
    /// The disk paths of the files of the selected rows, in row order.
    QStringList selectedDiskFiles();

    bool startWorker();
    void onProgressTimer();
    /// Ends a run whose worker has finished. `interactive` shows the Errors dialog.
    void closeRun(bool interactive);
    /// Asks a running worker to stop and waits until it has.
    void stopAndWait();

    CTallyweaverDoc& document_;
    QWidget* currentView_ = nullptr;
    int viewMode_;
    bool showFullPaths_ = true;
    QString rememberedFolderPath_;
    QSettings* settings_ = nullptr;
    CountThreadState countState_;
    bool counting_ = false;
    QThread* countThread_ = nullptr;
    CountWorker* countWorker_ = nullptr;
    QTimer progressTimer_;

    QHash<int, QAction*> actions_;
    QMenu* fileMenu_ = nullptr;
    QMenu* selectionMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAction* recentPlaceholder_ = nullptr;
    QList<QAction*> recentActions_;
    QString statusText_;
};

}  // namespace tw::ui
