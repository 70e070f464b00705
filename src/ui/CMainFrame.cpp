#include "ui/CMainFrame.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QThread>
#include <QToolBar>
#include <QUrl>

#include <set>

#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "engine/TextConversion.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"
#include "ui/Artwork.h"
#include "ui/CAboutDialog.h"
#include "ui/CFileView.h"
#include "ui/CFolderView.h"
#include "ui/CSplitterView.h"
#include "ui/CTallyweaverDoc.h"
#include "ui/CommandIds.h"
#include "ui/CountWorker.h"
#include "ui/DialogCalls.h"
#include "ui/FileChooser.h"
#include "ui/FileListModel.h"
#include "ui/HelpPages.h"
#include "ui/RecentProjects.h"
#include "ui/common/MessageBox.h"
#include "ui/common/Shell.h"

namespace tw::ui {
namespace {

/// The progress timer's period: short enough to follow every file, long enough not to keep a
/// processor core busy.
constexpr int kProgressPeriodMs = 10;

const char* const kWebsite = "https://tallyweaver.example.org/";

QString diskPathText(const std::string& diskPath) {
    return QFile::decodeName(QByteArray::fromStdString(diskPath));
}

/// The folder path of a record path: "/usr/src" for /usr/src/a.c, "/" for /a.c, "" for a.c.
std::u16string directoryPart(const std::u16string& path) {
    const std::size_t separator = path.rfind(u'/');
    if (separator == std::u16string::npos) {
        return {};
    }
    return path.substr(0, separator == 0 ? 1 : separator);
}

/// The folder on disk that a project folder stands for, worked out from the disk path of the
/// first file below it; the project's own path form when it holds no file.
QString diskPathOfFolder(const ProjectFolder& folder) {
    std::vector<const FileCount*> records;
    folder.CollectRecords(records);
    if (records.empty()) {
        return diskPathText(diskPathOfPath(folder.FullPath()));
    }
    // The record's folder lies `levels` folders below `folder`; each is one component of the
    // disk path, and so is the file name.
    const FileCount& record = *records.front();
    int levels = 0;
    for (const ProjectFolder* at = folder.FindFile(record.path).folder;
         at != nullptr && at != &folder; at = at->parent()) {
        ++levels;
    }
    QString path = diskPathText(record.diskPath);
    for (int strip = 0; strip <= levels; ++strip) {
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        if (slash < 0) {
            return QStringLiteral(".");
        }
        path.truncate(slash);
    }
    return path.isEmpty() ? QStringLiteral("/") : path;
}

}  // namespace

/// One command: its id, the object name of its action, its menu text and its prompt (status
/// text, then after a line break the tooltip).
struct CMainFrame::CommandEntry {
    int id;
    const char* objectName;
    const char* text;
    const char* prompt;
    int toolbarImage;  ///< a ToolbarImage, or -1
};

CMainFrame::CMainFrame(CTallyweaverDoc& document, QWidget* parent)
    : QMainWindow(parent), document_(document), viewMode_(ID_VIEW_FOLDERS_AND_FILES) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(artwork::applicationIcon());
    setAcceptDrops(true);
    createActions();
    createMenus();
    createToolBar();
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    setStatusText(QStringLiteral("Ready"));

    progressTimer_.setInterval(kProgressPeriodMs);
    connect(&progressTimer_, &QTimer::timeout, this, &CMainFrame::onProgressTimer);

    connect(&document_, &CTallyweaverDoc::stateChanged, this, [this] {
        updateTitle();
        rebuildRecentMenu();
        updateCommandStates();
    });
    connect(&document_, &CTallyweaverDoc::recreateViewRequested, this, &CMainFrame::recreateView);
    connect(&document_, &CTallyweaverDoc::viewsUpdate, this, [this] { updateCommandStates(); });
    connect(qApp, &QApplication::focusChanged, this, [this] { updateCommandStates(); });

    updateTitle();
    rebuildRecentMenu();
    // The first view is made from the event loop, by the command of the initial mode.
    viewMode_ = ID_VIEW_FILES_ONLY;
    QMetaObject::invokeMethod(
        this, [this] { onChooseView(ID_VIEW_FOLDERS_AND_FILES); }, Qt::QueuedConnection);
    updateCommandStates();
}

CMainFrame::~CMainFrame() {
    progressTimer_.stop();
    if (countThread_ != nullptr) {
        stopAndWait();
        delete countWorker_;
        delete countThread_;
    }
    // The window's own teardown moves the focus and destroys the views; none of that may
    // reach this frame's handlers once its members are gone.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(&document_, nullptr, this, nullptr);
    currentView_ = nullptr;
    delete takeCentralWidget();
}

// ---- Construction -------------------------------------------------------------------------

void CMainFrame::createActions() {
    using I = ToolbarImage;
    static const CommandEntry kCommands[] = {
        {ID_FILE_NEW, "actionNewProject", "&New Project\tCtrl+N",
         "Create a new Tallyweaver project\nNew Project", int(I::NewProject)},
        {ID_FILE_OPEN, "actionOpenProject", "&Open Project...\tCtrl+O",
         "Open an existing Tallyweaver project\nOpen Project", int(I::OpenProject)},
        {ID_FILE_SAVE, "actionSaveProject", "&Save Project\tCtrl+S",
         "Save the active project\nSave Project", int(I::SaveProject)},
        {ID_FILE_SAVE_AS, "actionSaveProjectAs", "Save Project &As...",
         "Save the active project with a new name\nSave Project As...", -1},
        {ID_APP_EXIT, "actionExit", "E&xit",
         "Quit the application; prompts to save documents\nExit", -1},
        {ID_ACTION_ADD_FILE, "actionAddFiles", "Add &File",
         "Add file(s) to the project\nAdd File(s)", int(I::AddFiles)},
        {ID_ACTION_ADD_FOLDER, "actionAddFolders", "Add Fol&der",
         "Add folder(s) to the project\nAdd Folder(s)", int(I::AddFolders)},
        {ID_ACTION_COUNT, "actionCount", "&Count", "Begin counting code lines\nCount",
         int(I::Count)},
        {ID_ACTION_STOP, "actionStop", "&Stop", "Stop counting code lines\nStop", int(I::Stop)},
        {ID_ACTION_RESET, "actionReset", "&Reset", "Reset line counts for all files\nReset",
         int(I::Reset)},
        {ID_SELECTION_OPEN, "actionOpenFiles", "&Open File(s)", nullptr, -1},
        {ID_SELECTION_OPEN_IN_EDITOR, "actionOpenInTextEditor", "Open File(s) in Notepad", nullptr,
         -1},
        {ID_SELECTION_SHOW_IN_FOLDER, "actionShowInFolders", "&Show File(s) in Folder(s)", nullptr,
         -1},
        {ID_SELECTION_REMOVE, "actionRemove", "&Remove",
         "Remove the selected file(s) or folder(s)\nRemove Selected", int(I::RemoveSelected)},
        {ID_TOOLS_SETTINGS, "actionSettings", "&Settings...", "Edit Project Settings\nSettings",
         int(I::Settings)},
        {ID_TOOLS_REPORT, "actionReport", "&Report...",
         "Create a report of all files counted\nGenerate Report", int(I::GenerateReport)},
        {ID_VIEW_TOOLBAR, "actionToggleToolBar", "&Toolbar",
         "Show or hide the toolbar\nToggle ToolBar", -1},
        {ID_VIEW_STATUS_BAR, "actionToggleStatusBar", "&Status Bar",
         "Show or hide the status bar\nToggle Status Bar", -1},
        {ID_VIEW_FOLDERS_AND_FILES, "actionFoldersAndFiles", "&Folders and Files", nullptr, -1},
        {ID_VIEW_FILES_ONLY, "actionFilesOnly", "Files &Only", nullptr, -1},
        {ID_VIEW_SHOW_FULL_PATHS, "actionShowFullPaths", "S&how Full Paths", nullptr, -1},
        {ID_HELP_DOCUMENTATION, "actionDocumentation", "&Tallyweaver Documentation", nullptr, -1},
        {ID_HELP_COMMAND_LINE, "actionCommandLineReference", "&Command Line Reference", nullptr,
         -1},
        {ID_APP_ABOUT, "actionAbout", "&About Tallyweaver", "View Program Information\nAbout",
         int(I::About)},
        {ID_HELP_WEBSITE, "actionVisitWebsite", "Visit Website", nullptr, -1},
    };
    for (const CommandEntry& entry : kCommands) {
        actions_.insert(entry.id, makeAction(entry));
    }
    actions_[ID_FILE_NEW]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    actions_[ID_FILE_OPEN]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    actions_[ID_FILE_SAVE]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    for (const int id : {ID_VIEW_FOLDERS_AND_FILES, ID_VIEW_FILES_ONLY, ID_VIEW_SHOW_FULL_PATHS}) {
        actions_[id]->setCheckable(true);
    }

    const auto on = [this](int id, auto handler) {
        connect(actions_[id], &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    on(ID_FILE_NEW, &CMainFrame::onFileNew);
    on(ID_FILE_OPEN, &CMainFrame::onFileOpen);
    on(ID_FILE_SAVE, &CMainFrame::onFileSave);
    on(ID_FILE_SAVE_AS, &CMainFrame::onFileSaveAs);
    connect(actions_[ID_APP_EXIT], &QAction::triggered, this, &QWidget::close);
    on(ID_ACTION_ADD_FILE, &CMainFrame::onAddFiles);
    on(ID_ACTION_ADD_FOLDER, &CMainFrame::onAddFolders);
    on(ID_ACTION_COUNT, &CMainFrame::onCount);
    on(ID_ACTION_STOP, &CMainFrame::onStop);
    on(ID_ACTION_RESET, &CMainFrame::onReset);
    on(ID_SELECTION_OPEN, &CMainFrame::onOpenFiles);
    on(ID_SELECTION_OPEN_IN_EDITOR, &CMainFrame::onOpenInTextEditor);
    on(ID_SELECTION_SHOW_IN_FOLDER, &CMainFrame::onShowInFolders);
    on(ID_SELECTION_REMOVE, &CMainFrame::onRemove);
    on(ID_TOOLS_SETTINGS, &CMainFrame::onSettings);
    on(ID_TOOLS_REPORT, &CMainFrame::onReport);
    on(ID_VIEW_TOOLBAR, &CMainFrame::onToggleToolBar);
    on(ID_VIEW_STATUS_BAR, &CMainFrame::onToggleStatusBar);
    for (const int id : {ID_VIEW_FOLDERS_AND_FILES, ID_VIEW_FILES_ONLY}) {
        connect(actions_[id], &QAction::triggered, this, [this, id] {
            onChooseView(id);
            updateCommandStates();
        });
    }
    on(ID_VIEW_SHOW_FULL_PATHS, &CMainFrame::onShowFullPaths);
    connect(actions_[ID_HELP_DOCUMENTATION], &QAction::triggered, this,
            [this] { onHelpPage(QStringLiteral("documentation.html")); });
    connect(actions_[ID_HELP_COMMAND_LINE], &QAction::triggered, this,
            [this] { onHelpPage(QStringLiteral("command-line.html")); });
    on(ID_APP_ABOUT, &CMainFrame::onAbout);
    on(ID_HELP_WEBSITE, &CMainFrame::onVisitWebsite);

    recentPlaceholder_ = new QAction(QStringLiteral("Recent Project"), this);
    recentPlaceholder_->setObjectName(QStringLiteral("actionRecentProject"));
    recentPlaceholder_->setEnabled(false);
    for (int i = 0; i < RecentProjects::kSize; ++i) {
        auto* recent = new QAction(this);
        recent->setObjectName(QStringLiteral("actionRecentProject%1").arg(i + 1));
        recent->setData(ID_FILE_MRU_FILE1 + i);
        recent->setStatusTip(QStringLiteral("Open this document"));
        connect(recent, &QAction::triggered, this, [this, i] { onRecentProject(i); });
        recentActions_.append(recent);
    }
}

QAction* CMainFrame::makeAction(const CommandEntry& entry) {
    auto* action = new QAction(QString::fromUtf8(entry.text), this);
    action->setObjectName(QString::fromLatin1(entry.objectName));
    action->setData(entry.id);
    if (entry.prompt != nullptr) {
        const QStringList parts = QString::fromUtf8(entry.prompt).split(QLatin1Char('\n'));
        action->setStatusTip(parts.value(0));
        action->setToolTip(parts.value(1));
    }
    if (entry.toolbarImage >= 0) {
        action->setIcon(artwork::toolbarIcon(static_cast<ToolbarImage>(entry.toolbarImage)));
        action->setIconVisibleInMenu(false);
    }
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
          ID_VIEW_SHOW_FULL_PATHS});
    menu("&Help", "menuHelp",
         {ID_HELP_DOCUMENTATION, ID_HELP_COMMAND_LINE, 0, ID_APP_ABOUT, ID_HELP_WEBSITE});
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

void CMainFrame::updateTitle() {
    setWindowTitle(document_.title() + QStringLiteral(" - Tallyweaver"));
}

QAction* CMainFrame::action(int commandId) const {
    if (commandId >= ID_FILE_MRU_FILE1 && commandId < ID_FILE_MRU_FILE1 + RecentProjects::kSize) {
        return recentActions_.value(commandId - ID_FILE_MRU_FILE1);
    }
    return actions_.value(commandId, nullptr);
}

// ---- Views and status ---------------------------------------------------------------------

CFolderView* CMainFrame::folderView() const {
    auto* splitter = qobject_cast<CSplitterView*>(currentView_);
    return splitter != nullptr ? &splitter->folderView() : nullptr;
}

CFileView* CMainFrame::fileView() const {
    if (auto* splitter = qobject_cast<CSplitterView*>(currentView_)) {
        return &splitter->fileView();
    }
    return qobject_cast<CFileView*>(currentView_);
}

void CMainFrame::setStatusText(const QString& text) {
    statusText_ = text;
    statusBar()->showMessage(text);
}

bool CMainFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        // A command's prompt while the pointer is on it; the program's own text again after.
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        statusBar()->showMessage(tip.isEmpty() ? statusText_ : tip);
        return true;
    }
    return QMainWindow::event(event);
}

std::unique_lock<std::mutex> CMainFrame::lockRecordsDuringRun() {
    if (!counting_) {
        return {};
    }
    return std::unique_lock<std::mutex>(countState_.lock);
}

// ---- Command availability -----------------------------------------------------------------

bool CMainFrame::selectionCommandsAvailable(bool remove) const {
    if (counting_ || currentView_ == nullptr) {
        return false;
    }
    const QWidget* focus = QApplication::focusWidget();
    CFolderView* tree = folderView();
    if (tree != nullptr && focus == tree) {
        return remove && tree->selectedItem().isValid();
    }
    CFileView* list = fileView();
    if (list != nullptr && focus == list) {
        return list->listModel().fileRowCount() > 0 && list->hasSelectedRows();
    }
    return false;
}

void CMainFrame::updateCommandStates() {
    const bool idle = !counting_;
    const auto enable = [this](int id, bool enabled) { actions_[id]->setEnabled(enabled); };
    for (const int id :
         {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_ACTION_ADD_FILE,
          ID_ACTION_ADD_FOLDER, ID_TOOLS_SETTINGS, ID_TOOLS_REPORT, ID_VIEW_TOOLBAR,
          ID_VIEW_STATUS_BAR, ID_HELP_DOCUMENTATION, ID_HELP_COMMAND_LINE, ID_APP_ABOUT,
          ID_HELP_WEBSITE}) {
        enable(id, idle);
    }
    for (QAction* recent : recentActions_) {
        recent->setEnabled(idle);
    }
    enable(ID_APP_EXIT, true);
    // The records are read only while no worker writes them.
    enable(ID_ACTION_COUNT, idle && document_.root().HasUncounted());
    enable(ID_ACTION_STOP, counting_);
    enable(ID_ACTION_RESET, idle && document_.root().HasCounted());
    const bool selection = selectionCommandsAvailable(false);
    enable(ID_SELECTION_OPEN, selection);
    enable(ID_SELECTION_OPEN_IN_EDITOR, selection);
    enable(ID_SELECTION_SHOW_IN_FOLDER, selection);
    enable(ID_SELECTION_REMOVE, selectionCommandsAvailable(true));
    enable(ID_VIEW_FOLDERS_AND_FILES, true);
    enable(ID_VIEW_FILES_ONLY, true);
    actions_[ID_VIEW_FOLDERS_AND_FILES]->setChecked(viewMode_ == ID_VIEW_FOLDERS_AND_FILES);
    actions_[ID_VIEW_FILES_ONLY]->setChecked(viewMode_ == ID_VIEW_FILES_ONLY);
    enable(ID_VIEW_SHOW_FULL_PATHS, viewMode_ == ID_VIEW_FILES_ONLY);
    actions_[ID_VIEW_SHOW_FULL_PATHS]->setChecked(showFullPaths_);
}

// ---- Document commands --------------------------------------------------------------------

void CMainFrame::onFileNew() {
    if (counting_) {
        return;
    }
    document_.newProject(this);
}

void CMainFrame::onFileOpen() {
    if (counting_) {
        return;
    }
    const QString path = FileChooser::openProject(this);
    if (!path.isEmpty()) {
        openProjectFile(path);
    }
}

void CMainFrame::openProjectFile(const QString& path) {
    if (counting_) {
        return;
    }
    document_.openProject(path, this);
}

void CMainFrame::onRecentProject(int index) {
    if (counting_ || document_.recentProjects() == nullptr) {
        return;
    }
    const QString path = document_.recentProjects()->entries().value(index);
    if (path.isEmpty()) {
        return;
    }
    if (document_.openProject(path, this) == CTallyweaverDoc::OpenOutcome::Failed) {
        document_.recentProjects()->remove(path);
        rebuildRecentMenu();
    }
}

void CMainFrame::onFileSave() {
    if (!counting_) {
        document_.saveProject(this);
    }
}

void CMainFrame::onFileSaveAs() {
    if (!counting_) {
        document_.saveProjectAs(this);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (counting_) {
        // The project must outlive the worker: stop it and wait for the file in hand.
        stopAndWait();
        closeRun(false);
    }
    if (!document_.saveModified(this)) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!counting_ && event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    if (counting_) {
        return;
    }
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            openProjectFile(url.toLocalFile());
        }
    }
}

// ---- Project commands ---------------------------------------------------------------------

ProjectFolder* CMainFrame::rememberedFolder() {
    ProjectFolder& root = document_.root();
    if (rememberedFolderPath_.isEmpty()) {
        return &root;
    }
    return root.FindFolder(rememberedFolderPath_.toStdU16String());
}

void CMainFrame::onAddFiles() {
    if (counting_) {
        return;
    }
    rememberedFolderPath_.clear();
    const QStringList paths = FileChooser::addFiles(this);
    if (paths.isEmpty()) {
        return;
    }
    ProjectFolder& root = document_.root();
    for (const QString& path : paths) {
        FileCount* record =
            root.AddFilePath(path.toStdU16String(), QFile::encodeName(path).toStdString());
        if (record == nullptr) {
            continue;
        }
        if (ProjectFolder* folder = root.FindFolder(directoryPart(record->path))) {
            folder->SetExpanded(true);
            rememberedFolderPath_ = QString::fromStdU16String(folder->FullPath());
        }
        document_.setModifiedFlag();
    }
    if (ProjectFolder* show = rememberedFolder()) {
        document_.updateAllViews(nullptr, HINT_SHOW_FOLDER, show);
    }
    updateCommandStates();
}

void CMainFrame::onAddFolders() {
    if (counting_) {
        return;
    }
    std::vector<std::string> found;
    if (runAddFolderDialog(this, found, settings_)) {
        addFolderFiles(found);
    }
}

void CMainFrame::addFolderFiles(const std::vector<std::string>& found) {
    if (counting_ || found.empty()) {
        return;
    }
    ProjectFolder& root = document_.root();
    for (const std::string& diskPath : found) {
        const std::u16string path = utf16FromUtf8(diskPath);
        setStatusText(QStringLiteral("Adding file to project: ") + QString::fromStdU16String(path));
        FileCount* record = root.AddFilePath(path, diskPath);
        if (record != nullptr) {
            rememberedFolderPath_ = QString::fromStdU16String(directoryPart(record->path));
            document_.setModifiedFlag();
        }
    }
    setStatusText(QStringLiteral("Ready"));
    if (ProjectFolder* show = rememberedFolder()) {
        document_.updateAllViews(nullptr, HINT_SHOW_FOLDER, show);
    }
    updateCommandStates();
}

void CMainFrame::onReset() {
    if (counting_) {
        return;
    }
    ProjectFolder& root = document_.root();
    if (root.HasCounted()) {
        document_.setModifiedFlag();
    }
    root.ResetAllCounts();
    refreshFileList();
    updateCommandStates();
}

void CMainFrame::refreshFileList() {
    ProjectFolder& root = document_.root();
    if (viewMode_ == ID_VIEW_FILES_ONLY) {
        document_.updateAllViews(nullptr, HINT_SHOW_FOLDER, &root);
        return;
    }
    CFolderView* tree = folderView();
    if (tree == nullptr) {
        return;
    }
    ProjectFolder* folder = nullptr;
    const QModelIndex selected = tree->selectedItem();
    if (selected.isValid()) {
        folder = tree->folderOf(selected);
    } else {
        // No folder is selected: the list shows the remembered folder or the root, and its
        // numbers must not outlive the counts they were taken from.
        folder = rememberedFolder();
        if (folder == nullptr) {
            folder = &root;
        }
    }
    if (folder != nullptr) {
        document_.updateAllViews(tree, HINT_SHOW_FOLDER, folder);
    }
}

void CMainFrame::onSettings() {
    if (counting_) {
        return;
    }
    const CountSettings before = countSettings();
    if (runSettingsDialog(this) && countSettings() != before) {
        onReset();
    }
}

void CMainFrame::onReport() {
    if (!counting_) {
        runReportDialog(this, document_.root());
    }
}

void CMainFrame::onRemove() {
    if (!selectionCommandsAvailable(true)) {
        return;
    }
    const QWidget* focus = QApplication::focusWidget();
    CFolderView* tree = folderView();
    CFileView* list = fileView();
    if (viewMode_ == ID_VIEW_FILES_ONLY && list != nullptr) {
        removeSelectedFilesOfProject(*list);
    } else if (tree != nullptr && focus == tree) {
        removeSelectedFolder(*tree);
    } else if (tree != nullptr && list != nullptr && focus == list) {
        removeSelectedFilesOfFolder(*tree, *list);
    } else {
        return;
    }
    // Whatever the removal did, also when the user said No.
    document_.setModifiedFlag();
    updateCommandStates();
}

namespace {

const char* const kConfirmTitle = "Confirm removal:";

bool confirmed(QWidget* window, const QString& question) {
    return MessageBox::show(window, question, QString::fromLatin1(kConfirmTitle),
                            QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::Question) == QMessageBox::Yes;
}

void showRemovalError(QWidget* window, const QString& text) {
    MessageBox::show(window, text, QStringLiteral("Error"), QMessageBox::Ok, QMessageBox::Warning);
}

bool isEmptyFolder(const ProjectFolder& folder) {
    return folder.files().empty() && folder.subfolders().empty();
}

const QString kFilesQuestion = QStringLiteral(
    "Are you sure you want to remove the selected file(s) from the project?\r\n\r\nOnce "
    "removed, all empty parent folders will also be removed.");

}  // namespace

void CMainFrame::removeSelectedFolder(CFolderView& tree) {
    QModelIndex item = tree.selectedItem();
    if (!item.isValid()) {
        return;
    }
    if (!confirmed(this, QStringLiteral("Are you sure you want to remove the folder \"") +
                             printableInMessage(tree.itemPath(item)) +
                             QStringLiteral("\" from the project?\r\n\r\nAll file counts, "
                                            "subfolders, and empty parent folders will also be "
                                            "removed."))) {
        return;
    }
    ProjectFolder* folder = tree.folderOf(item);
    ProjectFolder* parent = folder != nullptr ? folder->parent() : nullptr;
    if (parent != nullptr) {
        parent->RemoveSubfolderByName(std::u16string(folder->name()));
    }
    QModelIndex parentItem = item.parent();
    const QPersistentModelIndex keep(parentItem);
    tree.deleteItem(item);
    parentItem = keep;
    document_.setModifiedFlag();

    // Folders left empty go too, with their items, up to the first one that holds anything.
    ProjectFolder* emptied = parent;
    while (emptied != nullptr && parentItem.isValid() && isEmptyFolder(*emptied)) {
        ProjectFolder* above = emptied->parent();
        if (above != nullptr) {
            above->RemoveSubfolderByName(std::u16string(emptied->name()));
        }
        const QPersistentModelIndex next(parentItem.parent());
        tree.deleteItem(parentItem);
        parentItem = next;
        emptied = above;
    }
    tree.selectItemQuietly(parentItem);
    ProjectFolder* shown = emptied != nullptr ? emptied : &document_.root();
    rememberedFolderPath_ = QString::fromStdU16String(shown->FullPath());
    document_.updateAllViews(&tree, HINT_SHOW_FOLDER, shown);
}

void CMainFrame::removeSelectedFilesOfFolder(CFolderView& tree, CFileView& list) {
    const std::vector<int> rows = list.selectedFileRows();
    if (rows.empty() || !confirmed(this, kFilesQuestion)) {
        return;
    }
    QModelIndex item = tree.selectedItem();
    ProjectFolder* folder = tree.folderOf(item);
    if (folder == nullptr) {
        return;
    }
    FileListModel& model = list.listModel();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        const QString name = model.rowLabel(*row);
        if (!folder->RemoveRecordByFileName(name.toStdU16String())) {
            showRemovalError(
                this, QStringLiteral("Failed to remove file count object for file: \"") + name +
                          QLatin1Char('"'));
            return;
        }
        if (!model.removeFileRow(*row)) {
            showRemovalError(this, QStringLiteral("Failed to remove list item for file: \"") +
                                       name + QLatin1Char('"'));
            return;
        }
    }
    document_.setModifiedFlag();

    while (item.isValid() && folder != nullptr && isEmptyFolder(*folder)) {
        ProjectFolder* above = folder->parent();
        if (above != nullptr) {
            const std::u16string name = folder->name();
            if (!above->RemoveSubfolderByName(name)) {
                showRemovalError(this,
                                 QStringLiteral("Failed to remove empty folder from parent: \"") +
                                     QString::fromStdU16String(name) + QLatin1Char('"'));
            }
        }
        const QPersistentModelIndex next(item.parent());
        tree.deleteItem(item);
        item = next;
        folder = above;
    }
    tree.selectItemQuietly(item);
    ProjectFolder* shown = folder != nullptr ? folder : &document_.root();
    rememberedFolderPath_ = QString::fromStdU16String(shown->FullPath());
    document_.updateAllViews(&tree, HINT_SHOW_FOLDER, shown);
    tree.setFocus();
}

void CMainFrame::removeSelectedFilesOfProject(CFileView& list) {
    const std::vector<int> rows = list.selectedFileRows();
    if (rows.empty() || !confirmed(this, kFilesQuestion)) {
        return;
    }
    FileListModel& model = list.listModel();
    ProjectFolder& root = document_.root();
    int removedRows = 0;
    for (const int selected : rows) {
        const int row = selected - removedRows;
        const QString label = model.rowLabel(row);
        const std::u16string path = model.rowPath(row);
        if (!model.removeFileRow(row)) {
            showRemovalError(this, QStringLiteral("Failed to remove list item for file: \"") +
                                       label + QLatin1Char('"'));
            break;
        }
        ++removedRows;
        const ProjectFolder::FoundFile found = root.FindFile(path);
        if (found.record == nullptr) {
            continue;
        }
        ProjectFolder* folder = found.folder;
        folder->RemoveRecordByFileName(std::u16string(found.record->fileName()));
        bool failed = false;
        while (folder != nullptr && isEmptyFolder(*folder)) {
            ProjectFolder* above = folder->parent();
            if (above != nullptr && !above->RemoveSubfolderByName(std::u16string(folder->name()))) {
                showRemovalError(this, QStringLiteral("Failed to remove empty parent folder."));
                failed = true;
                break;
            }
            rememberedFolderPath_ =
                above != nullptr ? QString::fromStdU16String(above->FullPath()) : QString();
            folder = above;
        }
        if (failed) {
            break;
        }
    }
    // The rows left are the project's files in its order; listing them again also brings
    // the summary row up to date.
    document_.updateAllViews(nullptr, HINT_SHOW_FOLDER, &root);
}

// ---- Selection commands -------------------------------------------------------------------

QStringList CMainFrame::selectedDiskFiles() {
    QStringList files;
    CFileView* list = fileView();
    if (list == nullptr) {
        return files;
    }
    const std::vector<int> rows = list->selectedFileRows();
    ProjectFolder& root = document_.root();
    std::u16string folderPath;
    if (CFolderView* tree = folderView()) {
        const QModelIndex item = tree->selectedItem();
        if (!item.isValid() && rows.empty()) {
            return files;
        }
        const ProjectFolder* folder = tree->folderOf(item);
        if (folder == nullptr) {
            return files;
        }
        folderPath = folder->FullPath();
    }
    for (const int row : rows) {
        std::u16string path = list->listModel().rowPath(row);
        if (folderView() != nullptr) {
            path = folderPath;
            appendPathComponent(path, list->listModel().rowLabel(row).toStdU16String());
        }
        const FileCount* record = root.FindFile(path).record;
        files.append(diskPathText(record != nullptr ? record->diskPath : diskPathOfPath(path)));
    }
    return files;
}

void CMainFrame::onOpenFiles() {
    if (!selectionCommandsAvailable(false)) {
        return;
    }
    for (const QString& file : selectedDiskFiles()) {
        Shell::run(Shell::Action::Open, file);
    }
}

void CMainFrame::onOpenInTextEditor() {
    if (!selectionCommandsAvailable(false)) {
        return;
    }
    for (const QString& file : selectedDiskFiles()) {
        Shell::run(Shell::Action::OpenInTextEditor, file);
    }
}

void CMainFrame::onShowInFolders() {
    if (!selectionCommandsAvailable(false)) {
        return;
    }
    if (CFolderView* tree = folderView()) {
        const ProjectFolder* folder = tree->folderOf(tree->selectedItem());
        if (folder != nullptr) {
            Shell::run(Shell::Action::ShowFolder, diskPathOfFolder(*folder));
        }
        return;
    }
    CFileView* list = fileView();
    if (list == nullptr) {
        return;
    }
    std::set<std::u16string> taken;
    for (const int row : list->selectedFileRows()) {
        const std::u16string path = list->listModel().rowPath(row);
        if (!taken.insert(directoryPart(path)).second) {
            continue;
        }
        const FileCount* record = document_.root().FindFile(path).record;
        const QString file =
            diskPathText(record != nullptr ? record->diskPath : diskPathOfPath(path));
        Shell::run(Shell::Action::ShowFolder, QFileInfo(file).path());
    }
}

// ---- View commands ------------------------------------------------------------------------

void CMainFrame::onChooseView(int commandId) {
    if (commandId == viewMode_) {
        return;
    }
    ProjectFolder* show = nullptr;
    QWidget* created = nullptr;
    if (commandId == ID_VIEW_FOLDERS_AND_FILES) {
        auto* splitter = new CSplitterView(*this, document_);
        connect(&splitter->fileView(), &CFileView::selectionChangedByUser, this,
                &CMainFrame::updateCommandStates);
        created = splitter;
        if (!rememberedFolderPath_.isEmpty()) {
            show = rememberedFolder();
        }
    } else {
        auto* list = new CFileView(*this, document_);
        connect(list, &CFileView::selectionChangedByUser, this, &CMainFrame::updateCommandStates);
        created = list;
        show = &document_.root();
    }
    viewMode_ = commandId;
    QWidget* old = takeCentralWidget();
    currentView_ = created;
    setCentralWidget(created);
    delete old;
    if (auto* splitter = qobject_cast<CSplitterView*>(created)) {
        splitter->initialUpdate();
    } else if (auto* list = qobject_cast<CFileView*>(created)) {
        list->initialUpdate();
    }
    created->show();
    if (show != nullptr) {
        document_.updateAllViews(nullptr, HINT_SHOW_FOLDER, show);
    }
    updateCommandStates();
}

void CMainFrame::recreateView() {
    const int mode = viewMode_;
    viewMode_ = mode == ID_VIEW_FOLDERS_AND_FILES ? ID_VIEW_FILES_ONLY : ID_VIEW_FOLDERS_AND_FILES;
    onChooseView(mode);
}

void CMainFrame::onShowFullPaths() {
    if (viewMode_ != ID_VIEW_FILES_ONLY) {
        updateCommandStates();
        return;
    }
    showFullPaths_ = !showFullPaths_;
    document_.updateAllViews(nullptr, HINT_SHOW_FOLDER, &document_.root());
    updateCommandStates();
}

void CMainFrame::onToggleToolBar() {
    toolBar_->setVisible(!toolBar_->isVisible());
}

void CMainFrame::onToggleStatusBar() {
    statusBar()->setVisible(!statusBar()->isVisible());
}

// ---- Help ---------------------------------------------------------------------------------

void CMainFrame::onHelpPage(const QString& page) {
    const QString file = helpPageFile(page);
    if (!file.isEmpty()) {
        Shell::run(Shell::Action::OpenPage, file);
    }
}

void CMainFrame::onVisitWebsite() {
    Shell::run(Shell::Action::OpenPage, QString::fromLatin1(kWebsite));
}

void CMainFrame::onAbout() {
    CAboutDialog about(this);
    about.exec();
}

// ---- Count run ----------------------------------------------------------------------------

void CMainFrame::onCount() {
    ProjectFolder& root = document_.root();
    if (counting_ || !root.HasUncounted()) {
        return;
    }
    failedCountTable().clear();
    countState_.prepare(root);
    countState_.running = true;
    counting_ = true;
    if (!startWorker()) {
        countState_.running = false;
        counting_ = false;
        return;
    }
    progressTimer_.start();
    updateCommandStates();
}

bool CMainFrame::startWorker() {
    countThread_ = new QThread(this);
    countThread_->setObjectName(QStringLiteral("countWorker"));
    countWorker_ = new CountWorker(countState_);
    countWorker_->moveToThread(countThread_);
    connect(countThread_, &QThread::started, countWorker_, &CountWorker::run);
    // Quit straight from the worker's thread, so that waiting for the thread never needs the
    // window thread's event loop.
    connect(countWorker_, &CountWorker::finished, countThread_, &QThread::quit,
            Qt::DirectConnection);
    // The run is closed as soon as the worker is done, not only at the next tick.
    connect(countWorker_, &CountWorker::finished, this, &CMainFrame::onProgressTimer,
            Qt::QueuedConnection);
    countThread_->start();
    if (countThread_->isRunning() || countThread_->isFinished()) {
        return true;
    }
    delete countWorker_;
    countWorker_ = nullptr;
    delete countThread_;
    countThread_ = nullptr;
    return false;
}

void CMainFrame::onStop() {
    if (!counting_) {
        return;
    }
    const std::lock_guard<std::mutex> guard(countState_.lock);
    countState_.stop = true;
}

void CMainFrame::onProgressTimer() {
    if (!counting_) {
        return;
    }
    std::unique_lock<std::mutex> lock(countState_.lock);
    if (countState_.running) {
        // Between the last file and the end of the run every file has been visited; the
        // number stays at the total rather than run one past it.
        const int shown = std::min(countState_.index + 1, countState_.total);
        const QString text = QString::asprintf("Counting file %i of %i: ", shown,
                                               countState_.total) +
                             QString::fromStdU16String(countState_.currentFile);
        lock.unlock();
        setStatusText(text);
        return;
    }
    lock.unlock();
    closeRun(true);
}

void CMainFrame::stopAndWait() {
    {
        const std::lock_guard<std::mutex> guard(countState_.lock);
        countState_.stop = true;
    }
    if (countThread_ != nullptr) {
        countThread_->wait();
    }
}

void CMainFrame::closeRun(bool interactive) {
    progressTimer_.stop();
    if (countThread_ != nullptr) {
        countThread_->quit();
        countThread_->wait();
        delete countWorker_;
        countWorker_ = nullptr;
        delete countThread_;
        countThread_ = nullptr;
    }
    counting_ = false;
    bool completed = false;
    {
        const std::lock_guard<std::mutex> guard(countState_.lock);
        countState_.running = false;
        completed = countState_.index == countState_.total;
    }
    setStatusText(completed ? QStringLiteral("Ready.") : QStringLiteral("Stopped."));
    if (interactive && !failedCountTable().empty()) {
        runFailedCountsDialog(this, document_.root());
    }
    updateCommandStates();
    if (static_cast<int>(document_.root().CountedRecords(true)) != document_.countedFilesAtSave()) {
        document_.setModifiedFlag();
    }
    refreshFileList();
    emit countRunClosed();
}

}  // namespace tw::ui
