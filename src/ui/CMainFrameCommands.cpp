// The main window's commands: the table that says for each what its action shows, what
// performs it and when it is available, and the actions, menus and toolbar made from it.

#include <QActionGroup>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

#include "ui/Artwork.h"
#include "ui/CMainFrame.h"
#include "ui/CTallyweaverDoc.h"
#include "ui/CommandIds.h"
#include "ui/RecentProjects.h"

namespace tw::ui {
namespace {

using I = ToolbarImage;
using F = CMainFrame;

}  // namespace

std::span<const CMainFrame::CommandEntry> CMainFrame::commands() {
    static const CommandEntry kCommands[] = {
        // File
        {.id = ID_FILE_NEW,
         .objectName = "actionNewProject",
         .text = "&New Project",
         .shortcut = "Ctrl+N",
         .prompt = "Create a new Tallyweaver project\nNew Project",
         .toolbarImage = int(I::NewProject),
         .handler = &F::onFileNew,
         .idleOnly = true},
        {.id = ID_FILE_OPEN,
         .objectName = "actionOpenProject",
         .text = "&Open Project...",
         .shortcut = "Ctrl+O",
         .prompt = "Open an existing Tallyweaver project\nOpen Project",
         .toolbarImage = int(I::OpenProject),
         .handler = &F::onFileOpen,
         .idleOnly = true},
        {.id = ID_FILE_SAVE,
         .objectName = "actionSaveProject",
         .text = "&Save Project",
         .shortcut = "Ctrl+S",
         .prompt = "Save the active project\nSave Project",
         .toolbarImage = int(I::SaveProject),
         .handler = &F::onFileSave,
         .idleOnly = true},
        {.id = ID_FILE_SAVE_AS,
         .objectName = "actionSaveProjectAs",
         .text = "Save Project &As...",
         .shortcut = "Ctrl+Shift+S",
         .prompt = "Save the active project with a new name\nSave Project As...",
         .handler = &F::onFileSaveAs,
         .idleOnly = true},
        {.id = ID_APP_EXIT,
         .objectName = "actionExit",
         .text = "E&xit",
         .shortcut = "Ctrl+Q",
         .prompt = "Quit the application; prompts to save documents\nExit",
         .handler = &F::onExit},
        // Action
        {.id = ID_ACTION_ADD_FILE,
         .objectName = "actionAddFiles",
         .text = "Add &File",
         .shortcut = "Ctrl+Shift+F",
         .prompt = "Add file(s) to the project\nAdd File(s)",
         .toolbarImage = int(I::AddFiles),
         .handler = &F::onAddFiles,
         .idleOnly = true},
        {.id = ID_ACTION_ADD_FOLDER,
         .objectName = "actionAddFolders",
         .text = "Add Fol&der",
         .shortcut = "Ctrl+Shift+D",
         .prompt = "Add folder(s) to the project\nAdd Folder(s)",
         .toolbarImage = int(I::AddFolders),
         .handler = &F::onAddFolders,
         .idleOnly = true},
        // The records are read for Count and Reset only while no worker writes them.
        {.id = ID_ACTION_COUNT,
         .objectName = "actionCount",
         .text = "&Count",
         .shortcut = "F5",
         .prompt = "Begin counting code lines\nCount",
         .toolbarImage = int(I::Count),
         .handler = &F::onCount,
         .idleOnly = true,
         .available = &F::hasUncountedFiles},
        {.id = ID_ACTION_STOP,
         .objectName = "actionStop",
         .text = "&Stop",
         .shortcut = "Esc",
         .prompt = "Stop counting code lines\nStop",
         .toolbarImage = int(I::Stop),
         .handler = &F::onStop,
         .available = &F::isCounting},
        {.id = ID_ACTION_RESET,
         .objectName = "actionReset",
         .text = "&Reset",
         .prompt = "Reset line counts for all files\nReset",
         .toolbarImage = int(I::Reset),
         .handler = &F::onReset,
         .idleOnly = true,
         .available = &F::hasCountedFiles},
        // Selection
        {.id = ID_SELECTION_OPEN,
         .objectName = "actionOpenFiles",
         .text = "&Open File(s)",
         .handler = &F::onOpenFiles,
         .idleOnly = true,
         .available = &F::canActOnSelectedFiles},
        {.id = ID_SELECTION_OPEN_IN_EDITOR,
         .objectName = "actionOpenInTextEditor",
         .text = "Open in &Text Editor",
         .handler = &F::onOpenInTextEditor,
         .idleOnly = true,
         .available = &F::canActOnSelectedFiles},
        {.id = ID_SELECTION_SHOW_IN_FOLDER,
         .objectName = "actionShowInFolders",
         .text = "&Show File(s) in Folder(s)",
         .handler = &F::onShowInFolders,
         .idleOnly = true,
         .available = &F::canActOnSelectedFiles},
        {.id = ID_SELECTION_REMOVE,
         .objectName = "actionRemove",
         .text = "&Remove",
         .shortcut = "Del",
         .prompt = "Remove the selected file(s) or folder(s)\nRemove Selected",
         .toolbarImage = int(I::RemoveSelected),
         .handler = &F::onRemove,
         .idleOnly = true,
         .available = &F::canRemoveSelection},
        // Tools
        {.id = ID_TOOLS_SETTINGS,
         .objectName = "actionSettings",
         .text = "&Settings...",
         .prompt = "Edit Project Settings\nSettings",
         .toolbarImage = int(I::Settings),
         .handler = &F::onSettings,
         .idleOnly = true},
        {.id = ID_TOOLS_REPORT,
         .objectName = "actionReport",
         .text = "&Report...",
         .prompt = "Create a report of all files counted\nGenerate Report",
         .toolbarImage = int(I::GenerateReport),
         .handler = &F::onReport,
         .idleOnly = true},
        // View
        {.id = ID_VIEW_TOOLBAR,
         .objectName = "actionToggleToolBar",
         .text = "&Toolbar",
         .prompt = "Show or hide the toolbar\nToggle ToolBar",
         .handler = &F::onToggleToolBar,
         .idleOnly = true,
         .checked = &F::showsToolBar},
        {.id = ID_VIEW_STATUS_BAR,
         .objectName = "actionToggleStatusBar",
         .text = "&Status Bar",
         .prompt = "Show or hide the status bar\nToggle Status Bar",
         .handler = &F::onToggleStatusBar,
         .idleOnly = true,
         .checked = &F::showsStatusBar},
        {.id = ID_VIEW_FOLDERS_AND_FILES,
         .objectName = "actionFoldersAndFiles",
         .text = "&Folders and Files",
         .handler = &F::onFoldersAndFiles,
         .checked = &F::showsFoldersAndFiles,
         .viewMode = true},
        {.id = ID_VIEW_FILES_ONLY,
         .objectName = "actionFilesOnly",
         .text = "Files &Only",
         .handler = &F::onFilesOnly,
         .checked = &F::showsFilesOnly,
         .viewMode = true},
        {.id = ID_VIEW_SHOW_FULL_PATHS,
         .objectName = "actionShowFullPaths",
         .text = "S&how Full Paths",
         .handler = &F::onShowFullPaths,
         .available = &F::showsFilesOnly,
         .checked = &F::showFullPaths},
        {.id = ID_VIEW_ERRORS,
         .objectName = "actionErrors",
         .text = "&Errors...",
         .prompt = "Show the files the last count could not count, and why\nErrors",
         .handler = &F::onErrors,
         .idleOnly = true,
         .available = &F::hasFailures},
        {.id = ID_VIEW_FUNCTIONS,
         .objectName = "actionFunctions",
         .text = "F&unctions",
         .prompt = "Show or hide the functions of the selected files, the most complex "
                   "first\nFunctions",
         .handler = &F::onToggleFunctions,
         .checked = &F::showsFunctions},
        // Help: also during a count, which they leave alone.
        {.id = ID_HELP_DOCUMENTATION,
         .objectName = "actionDocumentation",
         .text = "&Tallyweaver Documentation",
         .shortcut = "F1",
         .handler = &F::onDocumentation},
        {.id = ID_HELP_COMMAND_LINE,
         .objectName = "actionCommandLineReference",
         .text = "&Command Line Reference",
         .handler = &F::onCommandLineReference},
        {.id = ID_APP_ABOUT,
         .objectName = "actionAbout",
         .text = "&About Tallyweaver",
         .prompt = "View Program Information\nAbout",
         .toolbarImage = int(I::About),
         .handler = &F::onAbout},
        {.id = ID_HELP_WEBSITE,
         .objectName = "actionVisitWebsite",
         .text = "Visit Website",
         .handler = &F::onVisitWebsite},
    };
    return kCommands;
}

const CMainFrame::CommandEntry& CMainFrame::command(int commandId) {
    // The entries of the recent-project list share this one: each performs it with its own
    // place in the list, so the entry names no handler.
    static const CommandEntry kRecentProject = {.id = ID_FILE_MRU_FILE1,
                                                .objectName = "actionRecentProject",
                                                .text = "Recent Project",
                                                .prompt = "Open this document",
                                                .idleOnly = true};
    const std::span<const CommandEntry> table = commands();
    const auto found = std::find_if(table.begin(), table.end(), [commandId](const auto& entry) {
        return entry.id == commandId;
    });
    // An id outside the table gets the recent-project entry, which only asks for no count run.
    return found != table.end() ? *found : kRecentProject;
}

// ---- Commands -----------------------------------------------------------------------------

bool CMainFrame::mayRun(const CommandEntry& entry) const {
    if (entry.idleOnly && isCounting()) {
        return false;
    }
    return entry.available == nullptr || (this->*entry.available)();
}

template <typename Perform>
void CMainFrame::runCommand(const CommandEntry& entry, Perform perform) {
    if (mayRun(entry)) {
        perform();
    }
    updateCommandStates();
}

// ---- Construction -------------------------------------------------------------------------

void CMainFrame::createActions() {
    auto* viewModes = new QActionGroup(this);
    viewModes->setExclusive(true);
    for (const CommandEntry& entry : commands()) {
        QAction* action = makeAction(entry);
        actions_.insert(entry.id, action);
        if (entry.viewMode) {
            viewModes->addAction(action);
        }
        connect(action, &QAction::triggered, this, [this, &entry] {
            runCommand(entry, [this, &entry] { (this->*entry.handler)(); });
        });
    }

    const CommandEntry& recentProject = command(ID_FILE_MRU_FILE1);
    recentPlaceholder_ = new QAction(QString::fromUtf8(recentProject.text), this);
    recentPlaceholder_->setObjectName(QString::fromLatin1(recentProject.objectName));
    recentPlaceholder_->setEnabled(false);
    for (int i = 0; i < RecentProjects::kSize; ++i) {
        auto* recent = new QAction(this);
        recent->setObjectName(QString::fromLatin1(recentProject.objectName) +
                              QString::number(i + 1));
        recent->setData(ID_FILE_MRU_FILE1 + i);
        recent->setStatusTip(QString::fromUtf8(recentProject.prompt));
        connect(recent, &QAction::triggered, this, [this, i, &recentProject] {
            runCommand(recentProject, [this, i] { onRecentProject(i); });
        });
        recentActions_.append(recent);
    }
}

QAction* CMainFrame::makeAction(const CommandEntry& entry) {
    QString text = QString::fromUtf8(entry.text);
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(entry.objectName));
    action->setData(entry.id);
    if (entry.shortcut != nullptr) {
        const QString shortcut = QString::fromLatin1(entry.shortcut);
        text += QLatin1Char('\t') + shortcut;
        action->setShortcut(QKeySequence(shortcut, QKeySequence::PortableText));
    }
    action->setText(text);
    if (entry.prompt != nullptr) {
        const QStringList parts = QString::fromUtf8(entry.prompt).split(QLatin1Char('\n'));
        action->setStatusTip(parts.value(0));
        action->setToolTip(parts.value(1));
    }
    if (entry.toolbarImage >= 0) {
        action->setIcon(artwork::toolbarIcon(static_cast<ToolbarImage>(entry.toolbarImage)));
        action->setIconVisibleInMenu(false);
    }
    action->setCheckable(entry.checked != nullptr);
    return action;
}

void CMainFrame::createMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    const auto menu = [this, bar](const char* title, const char* objectName,
                                  std::initializer_list<int> ids) {
        QMenu* created = bar->addMenu(QString::fromUtf8(title));
        created->setObjectName(QString::fromLatin1(objectName));
        for (const int id : ids) {
            if (id == 0) {
                created->addSeparator();
            } else {
                created->addAction(actions_[id]);
            }
        }
        connect(created, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
        return created;
    };
    fileMenu_ =
        menu("&File", "menuFile", {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0});
    fileMenu_->addAction(recentPlaceholder_);
    fileMenu_->addActions(recentActions_);
    fileMenu_->addSeparator();
    fileMenu_->addAction(actions_[ID_APP_EXIT]);
    menu("&Action", "menuAction",
         {ID_ACTION_ADD_FILE, ID_ACTION_ADD_FOLDER, 0, ID_ACTION_COUNT, ID_ACTION_STOP,
          ID_ACTION_RESET});
    selectionMenu_ = menu("&Selection", "menuSelection",
                          {ID_SELECTION_OPEN, ID_SELECTION_OPEN_IN_EDITOR,
                           ID_SELECTION_SHOW_IN_FOLDER, 0, ID_SELECTION_REMOVE});
    menu("&Tools", "menuTools", {ID_TOOLS_SETTINGS, ID_TOOLS_REPORT});
    menu("&View", "menuView",
         {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, 0, ID_VIEW_FOLDERS_AND_FILES, ID_VIEW_FILES_ONLY, 0,
          ID_VIEW_SHOW_FULL_PATHS, 0, ID_VIEW_ERRORS, ID_VIEW_FUNCTIONS});
    menu("&Help", "menuHelp",
         {ID_HELP_DOCUMENTATION, ID_HELP_COMMAND_LINE, 0, ID_APP_ABOUT, ID_HELP_WEBSITE});
}

void CMainFrame::createStatusBar() {
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    setStatusText(QStringLiteral("Ready"));
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("countProgress"));
    progressBar_->setFormat(QStringLiteral("%v of %m"));
    progressBar_->setTextVisible(true);
    progressBar_->setMaximumWidth(280);
    statusBar()->addPermanentWidget(progressBar_);
    progressBar_->hide();
    // While the last run's failures are known, the status bar says how many and opens them.
    failuresButton_ = new QToolButton(this);
    failuresButton_->setObjectName(QStringLiteral("failuresButton"));
    failuresButton_->setAutoRaise(true);
    failuresButton_->setToolTip(QStringLiteral("Show the Errors dialog"));
    statusBar()->addPermanentWidget(failuresButton_);
    failuresButton_->hide();
    connect(failuresButton_, &QToolButton::clicked, this,
            [this] { actions_[ID_VIEW_ERRORS]->trigger(); });
}

void CMainFrame::createToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("Toolbar"), this);
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(kToolbarImageSize, kToolbarImageSize));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->toggleViewAction()->setVisible(false);
    for (const int id : std::initializer_list<int>{
             ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_ACTION_ADD_FILE, ID_ACTION_ADD_FOLDER,
             ID_SELECTION_REMOVE, 0, ID_ACTION_COUNT, ID_ACTION_STOP, ID_ACTION_RESET, 0,
             ID_TOOLS_SETTINGS, ID_TOOLS_REPORT, 0, ID_APP_ABOUT}) {
        if (id == 0) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(actions_[id]);
        }
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void CMainFrame::rebuildRecentMenu() {
    const RecentProjects* recent = document_.recentProjects();
    const QStringList entries = recent != nullptr ? recent->entries() : QStringList();
    recentPlaceholder_->setVisible(entries.isEmpty());
    for (int i = 0; i < recentActions_.size(); ++i) {
        QAction* action = recentActions_[i];
        if (i < entries.size()) {
            QString shown = entries[i];
            shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
}

QAction* CMainFrame::action(int commandId) const {
    if (commandId >= ID_FILE_MRU_FILE1 && commandId < ID_FILE_MRU_FILE1 + RecentProjects::kSize) {
        return recentActions_.value(commandId - ID_FILE_MRU_FILE1);
    }
    return actions_.value(commandId, nullptr);
}

void CMainFrame::updateCommandStates() {
    for (const CommandEntry& entry : commands()) {
        QAction* action = actions_[entry.id];
        action->setEnabled(mayRun(entry));
        if (entry.checked != nullptr) {
            action->setChecked((this->*entry.checked)());
        }
    }
    const bool recentAvailable = mayRun(command(ID_FILE_MRU_FILE1));
    for (QAction* recent : recentActions_) {
        recent->setEnabled(recentAvailable);
    }
    if (failuresButton_ != nullptr) {
        const bool shown = mayRun(command(ID_VIEW_ERRORS));
        if (shown) {
            failuresButton_->setText(
                QStringLiteral("%1 failed")
                    .arg(QLocale().toString(static_cast<qulonglong>(document_.failures().size()))));
        }
        failuresButton_->setVisible(shown);
    }
}

}  // namespace tw::ui
