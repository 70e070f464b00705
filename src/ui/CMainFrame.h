#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/CommandIds.h"
#include "ui/CountRun.h"
#include "ui/ViewHost.h"
#include "ui/WindowState.h"

class QProgressBar;
class QSettings;
class QToolBar;
class QToolButton;

namespace tw {
class ProjectFolder;
}

namespace tw::ui {

class CFileView;
class CFolderView;
class CFunctionsPane;
class CSplitterView;
class CTallyweaverDoc;

/// The main window: menu, toolbar, status bar and one view, either the folder tree beside the
/// file list (Folders and Files) or the file list alone (Files Only). It wires every command to
/// the document, its dialogs or its views, decides which are available, and owns the count run.
/// The project itself is edited by the document.
class CMainFrame : public QMainWindow, public ViewHost {
    Q_OBJECT
  public:
    explicit CMainFrame(CTallyweaverDoc& document, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CTallyweaverDoc& document() { return document_; }

    /// The program's settings file, where dialogs keep what they remember between runs; none
    /// unless given (tests that give none leave no trace on disk).
    void setSettings(QSettings* settings) { settings_ = settings; }
    /// Brings back what the settings file remembers of the window (`WindowState`). Without a
    /// saved place the window takes a sensible size on its screen's available area, since
    /// nothing may maximise it. Returns whether a saved place was restored. Call before the
    /// window is shown.
    bool restoreWindowState();
    /// Keeps the window's state in the settings file; done when the window closes.
    void saveWindowState();
    int chosenColumnWidth(std::string_view id) const override;
    void setChosenColumnWidth(std::string_view id, int width) override;
    std::optional<bool> chosenColumnShown(std::string_view id) const override;
    void setChosenColumnShown(std::string_view id, bool shown) override;

    /// The action of a command id; null for an unknown id.
    QAction* action(int commandId) const;
    /// The "&Selection" menu, which both views also show as their context menu.
    QMenu* selectionMenu() const override { return selectionMenu_; }

    /// ID_VIEW_FOLDERS_AND_FILES or ID_VIEW_FILES_ONLY.
    int viewMode() const { return viewMode_; }
    bool showFullPaths() const { return showFullPaths_; }
    FileListLayout listLayout() const override;

    /// The current top-level view; null before the first view switch.
    QWidget* currentView() const { return currentView_; }
    /// The folder tree (Folders and Files mode only), else null.
    CFolderView* folderView() const;
    /// The file list of the current view, null when there is no view.
    CFileView* fileView() const;
    /// The Functions pane, hidden until View > Functions shows it.
    CFunctionsPane* functionsPane() const { return functionsPane_; }

    /// How often the file list shows the counts of a run that goes on: four times a second.
    static constexpr int kListRefreshPeriodMs = 250;

    /// The progress bar beside the status text: "n of N" during a count run, hidden otherwise.
    QProgressBar* progressBar() const { return progressBar_; }

    /// The text of the status bar's pane.
    QString statusText() const { return statusText_; }
    void setStatusText(const QString& text) override;

    /// A count run is in progress: from Count until the run has been closed.
    bool isCounting() const { return countRun_.isRunning(); }
    CountRun::State& countRunState() { return countRun_.state(); }
    /// During a count run, the lock under which records may be read; otherwise no lock.
    std::unique_lock<std::mutex> lockRecordsDuringRun() override;

    /// Recomputes from the command table whether each command is available and checked.
    void updateCommandStates();

    /// Opens the project file `path` as Open Project would after its dialog, and only when
    /// Open Project is available.
    void openProjectFile(const QString& path);
    /// Adds the files a folder search found (disk paths), as Add Folder(s) does after its
    /// dialog, and only when Add Folder(s) is available.
    void addFolderFiles(const std::vector<std::string>& found);

  signals:
    /// A count run was closed ("Ready." or "Stopped." in the status bar).
    void countRunClosed();

  protected:
    bool event(QEvent* event) override;
    /// Watches the window's dialogs close, to give the window back its keyboard focus.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    /// Closing during a count run: the save question first, the run stopped only once the
    /// window is sure to close. False when the user cancelled.
    bool closeDuringRun();
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    /// One command of the window, in the one table that says everything about it
    /// (CMainFrameCommands.cpp): its action's id, object name, menu text, shortcut, prompt and
    /// toolbar image, the handler that performs it, and when it is available. Every way a
    /// command is started goes through `runCommand`, which refuses it when it is not available;
    /// `updateCommandStates` shows the same rule on the action.
    struct CommandEntry {
        int id = 0;
        const char* objectName = nullptr;
        const char* text = nullptr;
        /// The shortcut in portable text ("Ctrl+N"), also shown after the menu text; null for
        /// none.
        const char* shortcut = nullptr;
        /// The status text and, after a line break, the tooltip; null for none.
        const char* prompt = nullptr;
        int toolbarImage = -1;  ///< a ToolbarImage, or -1
        void (CMainFrame::*handler)() = nullptr;
        /// Unavailable while a count run is in progress.
        bool idleOnly = false;
        /// A further condition for the command to be available; null for none.
        bool (CMainFrame::*available)() const = nullptr;
        /// Whether the command shows a check mark; null for a command without one.
        bool (CMainFrame::*checked)() const = nullptr;
        /// One of the view modes, which show as an exclusive pair of radio items.
        bool viewMode = false;
    };
    /// Every command with an action of its own, in menu order.
    static std::span<const CommandEntry> commands();
    /// The entry of `commandId`; ID_FILE_MRU_FILE1 gives the one that the four entries of the
    /// recent-project list share.
    static const CommandEntry& command(int commandId);

    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    QAction* makeAction(const CommandEntry& entry);
    void rebuildRecentMenu();
    void updateTitle();

    /// The command may run now: not during a count run when it is `idleOnly`, and its
    /// `available` condition holds.
    bool mayRun(const CommandEntry& entry) const;
    /// The one way a command is started: `perform` runs when the command may run; then every
    /// command's state is brought up to date.
    template <typename Perform>
    void runCommand(const CommandEntry& entry, Perform perform);

    // Conditions of the command table.
    bool hasUncountedFiles() const;
    bool hasCountedFiles() const;
    /// Open, Open in Text Editor and Show in Folder: the focus is in the file list, which has
    /// selected rows.
    bool canActOnSelectedFiles() const;
    /// Remove: as `canActOnSelectedFiles`, or the focus is in the folder tree, which has a
    /// selected item.
    bool canRemoveSelection() const;
    /// After a dialog of the window closed: the window active again, the keyboard focus back on
    /// the widget that had it (the file list when none had).
    void takeBackFocus();
    /// Keeps `focusedPane_` up to date when the keyboard focus moves to `now`.
    void followFocus(QWidget* now);
    /// The folder tree or the file list when the keyboard focus is in it, or was in it when a
    /// menu took the focus; null otherwise.
    QWidget* focusedPane() const;
    bool showsFoldersAndFiles() const { return viewMode_ == ID_VIEW_FOLDERS_AND_FILES; }
    bool showsFilesOnly() const { return viewMode_ == ID_VIEW_FILES_ONLY; }
    /// Some file of the last count run failed.
    bool hasFailures() const;
    bool showsToolBar() const;
    bool showsStatusBar() const;
    /// Where a file dialog starts: the project file's folder, or `lastUsed` (the folder that
    /// dialog last showed) for a project never saved.
    QString startFolder(const QString& lastUsed) const;
    bool showsFunctions() const;

    // Command handlers.
    void onFileNew();
    void onFileOpen();
    void onFileSave();
    void onFileSaveAs();
    void onRecentProject(int index);
    void onExit();
    void onAddFiles();
    void onAddFolders();
    void onCount();
    void onStop();
    void onReset();
    void onOpenFiles();
    void onOpenInTextEditor();
    void onShowInFolders();
    /// Remove: the folder selected in the tree when the tree has the focus, else the selected
    /// files of the list.
    void onRemove();
    void onSettings();
    void onReport();
    void onToggleToolBar();
    void onToggleStatusBar();
    void onToggleFunctions();
    void onFoldersAndFiles() { onChooseView(ID_VIEW_FOLDERS_AND_FILES); }
    void onFilesOnly() { onChooseView(ID_VIEW_FILES_ONLY); }
    void onChooseView(int commandId);
    void onShowFullPaths();
    void onDocumentation();
    void onCommandLineReference();
    void openHelpPage(const QString& page);
    void onAbout();
    /// The Errors dialog again, for the failures of the last count run.
    void onErrors();
    void onVisitWebsite();

    /// The view is made again, as after loading a project.
    void recreateView();
    /// The disk paths of the files of the selected rows, in the project's order.
    QStringList selectedDiskFiles();

    /// What follows a run that is over: the modified flag, the file list, "Ready." or
    /// "Stopped.", then the Errors dialog when `interactive` and some file failed.
    void closeRun(bool completed, bool interactive);

    CTallyweaverDoc& document_;
    QWidget* currentView_ = nullptr;
    int viewMode_;
    bool showFullPaths_ = true;
    QSettings* settings_ = nullptr;
    CountRun countRun_;
    WindowState windowState_;

    QHash<int, QAction*> actions_;
    QMenu* fileMenu_ = nullptr;
    QMenu* selectionMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAction* recentPlaceholder_ = nullptr;
    QList<QAction*> recentActions_;
    QString statusText_;
    QPointer<QWidget> focusedPane_;
    QProgressBar* progressBar_ = nullptr;
    CFunctionsPane* functionsPane_ = nullptr;
    /// "N failed" in the status bar, opening the Errors dialog.
    QToolButton* failuresButton_ = nullptr;
    /// Since the file list last showed the counts of the run that goes on.
    QElapsedTimer sinceListRefresh_;
    /// The save question of a close during a run is open.
    bool askingToClose_ = false;
    /// A run ended with failures while the close question was open.
    bool errorsAfterQuestion_ = false;
};

}  // namespace tw::ui
