#include "ui/CMainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QUrl>

#include <utility>

#include "engine/CountSettings.h"
#include "project/ProjectFolder.h"
#include "ui/Artwork.h"
#include "ui/CAboutDialog.h"
#include "ui/CFileView.h"
#include "ui/CFolderView.h"
#include "ui/CFunctionsPane.h"
#include "ui/CSplitterView.h"
#include "ui/CTallyweaverDoc.h"
#include "ui/DialogCalls.h"
#include "ui/FileChooser.h"
#include "ui/HelpPages.h"
#include "ui/RecentProjects.h"
#include "ui/common/MessageBox.h"
#include "ui/common/Shell.h"

namespace tw::ui {

CMainFrame::CMainFrame(CTallyweaverDoc& document, QWidget* parent)
    : QMainWindow(parent), document_(document), viewMode_(ID_VIEW_FOLDERS_AND_FILES) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(artwork::applicationIcon());
    setAcceptDrops(true);
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    functionsPane_ = new CFunctionsPane(
        *this, document_,
        [this] {
            const CFileView* list = fileView();
            return list != nullptr ? list->selectedFilePaths() : std::vector<std::u16string>();
        },
        this);
    addDockWidget(Qt::BottomDockWidgetArea, functionsPane_);
    functionsPane_->hide();
    connect(functionsPane_, &QDockWidget::visibilityChanged, this,
            [this] { updateCommandStates(); });

    connect(&countRun_, &CountRun::progress, this,
            [this](int shown, int total, const QString& currentFile) {
                setStatusText(QString::asprintf("Counting file %i of %i: ", shown, total) +
                              currentFile);
                // Shown first, so that even the first value of a short run is seen as set.
                progressBar_->show();
                progressBar_->setRange(0, total);
                progressBar_->setValue(shown);
                // The counts of the files done so far, and the sums below them.
                if (!sinceListRefresh_.isValid() ||
                    sinceListRefresh_.elapsed() >= kListRefreshPeriodMs) {
                    sinceListRefresh_.start();
                    if (CFileView* list = fileView()) {
                        list->refreshCounts();
                    }
                }
            });
    connect(&countRun_, &CountRun::finished, this,
            [this](bool completed) { closeRun(completed, true); });

    connect(&document_, &CTallyweaverDoc::stateChanged, this, [this] {
        updateTitle();
        rebuildRecentMenu();
        updateCommandStates();
    });
    connect(&document_, &CTallyweaverDoc::recreateViewRequested, this, &CMainFrame::recreateView);
    connect(&document_, &CTallyweaverDoc::statusMessage, this, &CMainFrame::setStatusText);
    connect(&document_, &CTallyweaverDoc::folderChanged, this, [this] { updateCommandStates(); });
    connect(&document_, &CTallyweaverDoc::countsChanged, this, [this] { updateCommandStates(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        followFocus(now);
        updateCommandStates();
    });
    // Every dialog of the window, whoever opens it, hands the keyboard back when it closes.
    qApp->installEventFilter(this);

    updateTitle();
    rebuildRecentMenu();
    // The first view is made from the event loop, by the command of the initial mode (the
    // remembered one, once `restoreWindowState` has read it).
    windowState_.viewMode = ID_VIEW_FOLDERS_AND_FILES;
    viewMode_ = ID_VIEW_FILES_ONLY;
    QMetaObject::invokeMethod(
        this,
        [this] {
            const int initial = windowState_.viewMode;
            viewMode_ =
                initial == ID_VIEW_FILES_ONLY ? ID_VIEW_FOLDERS_AND_FILES : ID_VIEW_FILES_ONLY;
            onChooseView(initial);
        },
        Qt::QueuedConnection);
    updateCommandStates();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    // The project must outlive the worker: stop it and wait for the file in hand.
    countRun_.stopAndWait();
    // The window's own teardown moves the focus and destroys the views; none of that may
    // reach this frame's handlers once its members are gone.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(&document_, nullptr, this, nullptr);
    // The pane reads the project through this frame, whose members go before its children.
    delete std::exchange(functionsPane_, nullptr);
    currentView_ = nullptr;
    delete takeCentralWidget();
}

void CMainFrame::updateTitle() {
    // "[*]" is where the desktop shows the modified marker.
    setWindowTitle(document_.title() + QStringLiteral("[*] - Tallyweaver"));
    setWindowModified(document_.isModified());
}

bool CMainFrame::restoreWindowState() {
    if (settings_ != nullptr) {
        windowState_ = WindowState::read(*settings_);
    }
    toolBar_->setHidden(!windowState_.showToolBar);
    statusBar()->setHidden(!windowState_.showStatusBar);
    updateCommandStates();
    if (!windowState_.geometry.isEmpty() && restoreGeometry(windowState_.geometry)) {
        return true;
    }
    const QScreen* shownOn = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (shownOn != nullptr) {
        setGeometry(initialWindowGeometry(shownOn->availableGeometry()));
    }
    return false;
}

void CMainFrame::saveWindowState() {
    if (settings_ == nullptr) {
        return;
    }
    windowState_.geometry = saveGeometry();
    windowState_.viewMode = viewMode_;
    windowState_.showToolBar = showsToolBar();
    windowState_.showStatusBar = showsStatusBar();
    if (auto* splitter = qobject_cast<CSplitterView*>(currentView_)) {
        windowState_.treeFraction = splitter->treeFraction();
    }
    windowState_.write(*settings_);
}

int CMainFrame::chosenColumnWidth(std::string_view id) const {
    return windowState_.columnWidths.value(QString::fromLatin1(id), 0);
}

FileListLayout CMainFrame::listLayout() const {
    return {.filesOnly = showsFilesOnly(), .showFullPaths = showFullPaths_};
}

void CMainFrame::setChosenColumnWidth(std::string_view id, int width) {
    windowState_.columnWidths.insert(QString::fromLatin1(id), width);
}

std::optional<bool> CMainFrame::chosenColumnShown(std::string_view id) const {
    const auto found = windowState_.columnShown.constFind(QString::fromLatin1(id));
    return found != windowState_.columnShown.cend() ? std::optional<bool>(*found) : std::nullopt;
}

void CMainFrame::setChosenColumnShown(std::string_view id, bool shown) {
    windowState_.columnShown.insert(QString::fromLatin1(id), shown);
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

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched != this && watched->isWidgetType()) {
        const auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog != nullptr && dialog->isWindow() && dialog->parentWidget() != nullptr &&
            dialog->parentWidget()->window() == this) {
            // Once the dialog's own event loop is over.
            QTimer::singleShot(0, this, &CMainFrame::takeBackFocus);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::takeBackFocus() {
    // Without a window manager nothing gives the window its focus back after a dialog, and
    // the keyboard would reach no widget at all. Another dialog that is still open keeps it.
    if (!isVisible() || QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr) {
        return;
    }
    activateWindow();
    const QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr || focused->window() != this) {
        QWidget* last = focusWidget();
        QWidget* target = last != nullptr ? last : static_cast<QWidget*>(fileView());
        if (target != nullptr) {
            target->setFocus(Qt::ActiveWindowFocusReason);
        }
    }
}

std::unique_lock<std::mutex> CMainFrame::lockRecordsDuringRun() {
    return countRun_.lockRecords();
}

// ---- Command availability -----------------------------------------------------------------

bool CMainFrame::hasUncountedFiles() const {
    return document_.root().HasUncounted();
}

bool CMainFrame::hasCountedFiles() const {
    return document_.root().HasCounted();
}

void CMainFrame::followFocus(QWidget* now) {
    if (now != nullptr && (now == fileView() || now == folderView())) {
        focusedPane_ = now;
        return;
    }
    // A menu, the menu bar or a popup borrows the focus to show the commands of the pane that
    // had it; the commands must still act on that pane. So does a window that is not active
    // any more. Any other widget of the window, or no focus at all in it, leaves the pane.
    const bool borrowed = qobject_cast<QMenuBar*>(now) != nullptr ||
                          qobject_cast<QMenu*>(now) != nullptr ||
                          QApplication::activePopupWidget() != nullptr ||
                          (now == nullptr && QApplication::activeWindow() != this);
    if (!borrowed) {
        focusedPane_ = nullptr;
    }
}

QWidget* CMainFrame::focusedPane() const {
    QWidget* pane = focusedPane_.data();
    return pane != nullptr && (pane == fileView() || pane == folderView()) ? pane : nullptr;
}

bool CMainFrame::canActOnSelectedFiles() const {
    const CFileView* list = fileView();
    return list != nullptr && focusedPane() == list && list->listModel().fileRowCount() > 0 &&
           list->hasSelectedRows();
}

bool CMainFrame::canRemoveSelection() const {
    const CFolderView* tree = folderView();
    if (tree != nullptr && focusedPane() == tree) {
        return tree->selectedItem().isValid();
    }
    return canActOnSelectedFiles();
}

// ---- Document commands --------------------------------------------------------------------

void CMainFrame::onFileNew() {
    document_.newProject(this);
}

void CMainFrame::onFileOpen() {
    const QString path = FileChooser::openProject(this, document_.projectFolder());
    if (!path.isEmpty()) {
        openProjectFile(path);
    }
}

void CMainFrame::openProjectFile(const QString& path) {
    if (mayRun(command(ID_FILE_OPEN))) {
        document_.openProject(path, this);
    }
}

void CMainFrame::onRecentProject(int index) {
    if (document_.recentProjects() == nullptr) {
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
    document_.saveProject(this);
}

void CMainFrame::onFileSaveAs() {
    document_.saveProjectAs(this);
}

void CMainFrame::onExit() {
    close();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    const bool mayClose = countRun_.isRunning() ? closeDuringRun() : document_.saveModified(this);
    if (!mayClose) {
        event->ignore();
        return;
    }
    saveWindowState();
    event->accept();
}

bool CMainFrame::closeDuringRun() {
    // The run changes the project with every file it counts, so the question is always asked,
    // and asked while the run goes on: Cancel must leave it as it was. A run that ends
    // meanwhile shows its Errors dialog after the question, if the window stays.
    askingToClose_ = true;
    const QMessageBox::StandardButton answer = document_.askToSave(this);
    askingToClose_ = false;
    if (answer != QMessageBox::Save && answer != QMessageBox::Discard) {
        if (std::exchange(errorsAfterQuestion_, false)) {
            runFailedCountsDialog(this, document_.root(), document_.failures());
        }
        return false;
    }
    errorsAfterQuestion_ = false;
    if (countRun_.isRunning()) {
        // The project must outlive the worker: stop it and wait for the file in hand.
        closeRun(countRun_.stopAndWait(), false);
    }
    return answer == QMessageBox::Discard || document_.saveProject(this);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (mayRun(command(ID_FILE_OPEN)) && event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    if (!mayRun(command(ID_FILE_OPEN))) {
        return;
    }
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    // Project files open; other files join the project, as Add File(s) adds them; a folder
    // opens Add Folder(s) on it.
    QStringList sources;
    QString folder;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) {
            continue;
        }
        const QString path = url.toLocalFile();
        if (path.endsWith(QStringLiteral(".tyx"), Qt::CaseInsensitive)) {
            openProjectFile(path);
        } else if (QFileInfo(path).isFile()) {
            sources.append(path);
        } else if (QFileInfo(path).isDir()) {
            folder = path;
        }
    }
    if (!sources.isEmpty()) {
        document_.addFiles(sources);
    }
    if (!folder.isEmpty()) {
        // Once the drop is over: the dragging program waits for its end.
        QTimer::singleShot(0, this, [this, folder] {
            QString directory = folder;
            std::vector<std::string> found;
            if (mayRun(command(ID_ACTION_ADD_FOLDER)) &&
                runAddFolderDialog(this, found, directory, settings_)) {
                windowState_.addFolderFolder = directory;
                addFolderFiles(found);
            }
        });
    }
}

// ---- Project commands ---------------------------------------------------------------------

QString CMainFrame::startFolder(const QString& lastUsed) const {
    return document_.pathName().isEmpty() ? lastUsed : document_.projectFolder();
}

void CMainFrame::onAddFiles() {
    const QStringList paths = FileChooser::addFiles(this, startFolder(windowState_.addFilesFolder));
    if (!paths.isEmpty()) {
        windowState_.addFilesFolder = QFileInfo(paths.first()).absolutePath();
    }
    document_.addFiles(paths);
}

void CMainFrame::onAddFolders() {
    std::vector<std::string> found;
    QString folder = startFolder(windowState_.addFolderFolder);
    if (runAddFolderDialog(this, found, folder, settings_)) {
        windowState_.addFolderFolder = folder;
        addFolderFiles(found);
    }
}

void CMainFrame::addFolderFiles(const std::vector<std::string>& found) {
    if (!mayRun(command(ID_ACTION_ADD_FOLDER)) || found.empty()) {
        return;
    }
    document_.addFoundFiles(found, windowState_.addFolderFolder);
    updateCommandStates();
}

void CMainFrame::onReset() {
    // The counts of a large project take long to make again: ask before they go.
    if (document_.root().HasCounted() &&
        MessageBox::show(this,
                         QStringLiteral("Reset the counts of all files?\nThe next Count counts "
                                        "every file again."),
                         QString(), QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::Question) != QMessageBox::Yes) {
        return;
    }
    document_.resetCounts();
}

void CMainFrame::onSettings() {
    const CountSettings before = document_.settings();
    if (runSettingsDialog(this, document_.settings(), document_.root().HasCounted()) &&
        document_.settings() != before) {
        document_.resetCounts();
    }
}

void CMainFrame::onReport() {
    QString folder = startFolder(windowState_.reportFolder);
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    if (runReportDialog(this, document_.root(), folder, windowState_.reportFormat)) {
        windowState_.reportFolder = folder;
    }
}

void CMainFrame::onRemove() {
    const auto confirmed = [this](const QString& question) {
        return MessageBox::show(this, question, QStringLiteral("Confirm removal:"),
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::Question) == QMessageBox::Yes;
    };
    CFolderView* tree = folderView();
    CFileView* list = fileView();
    if (tree != nullptr && focusedPane() == tree) {
        const QModelIndex item = tree->selectedItem();
        if (item.isValid() &&
            confirmed(QStringLiteral("Are you sure you want to remove the folder \"") +
                      printableInMessage(tree->itemPath(item)) +
                      QStringLiteral("\" from the project?\r\n\r\nAll file counts, subfolders, "
                                     "and empty parent folders will also be removed."))) {
            document_.removeFolder(*tree->folderOf(item));
        }
    } else if (list != nullptr && (showsFilesOnly() || focusedPane() == list)) {
        const std::vector<std::u16string> paths = list->selectedFilePaths();
        if (!paths.empty() &&
            confirmed(QStringLiteral("Are you sure you want to remove the selected file(s) from "
                                     "the project?\r\n\r\nOnce removed, all empty parent "
                                     "folders will also be removed."))) {
            const std::vector<std::u16string> missing = document_.removeFiles(paths);
            if (!missing.empty()) {
                MessageBox::show(
                    this,
                    QStringLiteral("Failed to remove file count object for file: \"") +
                        QString::fromStdU16String(missing.front()).section(QLatin1Char('/'), -1) +
                        QLatin1Char('"'),
                    QStringLiteral("Error"), QMessageBox::Ok, QMessageBox::Warning);
            }
        }
    } else {
        return;
    }
    // Whatever the removal did, also when the user said No.
    document_.setModifiedFlag();
}

// ---- Selection commands -------------------------------------------------------------------

QStringList CMainFrame::selectedDiskFiles() {
    const CFileView* list = fileView();
    return list != nullptr ? document_.diskFiles(list->selectedFilePaths()) : QStringList();
}

void CMainFrame::onOpenFiles() {
    for (const QString& file : selectedDiskFiles()) {
        if (!Shell::runOrExplain(this, Shell::Action::Open, file)) {
            break;
        }
    }
}

void CMainFrame::onOpenInTextEditor() {
    for (const QString& file : selectedDiskFiles()) {
        if (!Shell::runOrExplain(this, Shell::Action::OpenInTextEditor, file)) {
            break;
        }
    }
}

void CMainFrame::onShowInFolders() {
    if (CFolderView* tree = folderView()) {
        Shell::runOrExplain(this, Shell::Action::ShowFolder,
                            document_.diskFolder(*tree->folderOf(tree->selectedItem())));
    } else if (const CFileView* list = fileView()) {
        for (const QString& folder : document_.diskFolders(list->selectedFilePaths())) {
            Shell::runOrExplain(this, Shell::Action::ShowFolder, folder);
        }
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
        splitter->setTreeFraction(windowState_.treeFraction);
        connect(splitter, &CSplitterView::treeFractionChosen, this,
                [this](double fraction) { windowState_.treeFraction = fraction; });
        connect(&splitter->fileView(), &CFileView::selectionChangedByUser, this,
                &CMainFrame::updateCommandStates);
        connect(&splitter->fileView(), &CFileView::selectionChangedByUser, functionsPane_,
                &CFunctionsPane::scheduleRefresh);
        created = splitter;
        // The remembered folder, or the whole project when none is remembered or the folder
        // is gone: a tree left empty here would stay empty, since nothing else rebuilds it
        // (a project loaded in Files Only mode left it so).
        show = document_.rememberedFolder();
        if (show == nullptr) {
            show = &document_.root();
        }
    } else {
        auto* list = new CFileView(*this, document_);
        connect(list, &CFileView::selectionChangedByUser, this, &CMainFrame::updateCommandStates);
        connect(list, &CFileView::selectionChangedByUser, functionsPane_,
                &CFunctionsPane::scheduleRefresh);
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
    // Tab leaves the list for the next pane instead of walking its cells one by one.
    fileView()->setTabKeyNavigation(false);
    created->show();
    if (show != nullptr) {
        document_.showFolder(show);
    }
    updateCommandStates();
}

void CMainFrame::recreateView() {
    const int mode = viewMode_;
    viewMode_ = mode == ID_VIEW_FOLDERS_AND_FILES ? ID_VIEW_FILES_ONLY : ID_VIEW_FOLDERS_AND_FILES;
    onChooseView(mode);
}

void CMainFrame::onShowFullPaths() {
    showFullPaths_ = !showFullPaths_;
    document_.showFolder(&document_.root());
}

bool CMainFrame::showsToolBar() const {
    return !toolBar_->isHidden();
}

bool CMainFrame::showsFunctions() const {
    return functionsPane_ != nullptr && !functionsPane_->isHidden();
}

void CMainFrame::onToggleFunctions() {
    if (functionsPane_->isHidden()) {
        functionsPane_->show();
        // A third of the window's height, the list above keeping the rest.
        resizeDocks({functionsPane_}, {height() / 3}, Qt::Vertical);
    } else {
        functionsPane_->hide();
    }
}

bool CMainFrame::showsStatusBar() const {
    return !statusBar()->isHidden();
}

void CMainFrame::onToggleToolBar() {
    toolBar_->setVisible(toolBar_->isHidden());
}

void CMainFrame::onToggleStatusBar() {
    statusBar()->setVisible(statusBar()->isHidden());
}

// ---- Help ---------------------------------------------------------------------------------

void CMainFrame::onDocumentation() {
    openHelpPage(QStringLiteral("documentation.html"));
}

void CMainFrame::onCommandLineReference() {
    openHelpPage(QStringLiteral("command-line.html"));
}

void CMainFrame::openHelpPage(const QString& page) {
    const QString file = helpPageFile(page);
    if (!file.isEmpty()) {
        Shell::runOrExplain(this, Shell::Action::OpenPage, file);
    }
}

void CMainFrame::onVisitWebsite() {
    // The program's pages travel with it; there is no site to send the user to.
    openHelpPage(QStringLiteral("documentation.html"));
}

void CMainFrame::onAbout() {
    CAboutDialog about(this);
    about.exec();
}

// ---- Count run ----------------------------------------------------------------------------

void CMainFrame::onCount() {
    ProjectFolder& root = document_.root();
    if (countRun_.isRunning() || !root.HasUncounted()) {
        return;
    }
    document_.failures().clear();
    sinceListRefresh_.invalidate();
    countRun_.start(root, document_.settings(), document_.failures());
    updateCommandStates();
}

bool CMainFrame::hasFailures() const {
    return !document_.failures().empty();
}

void CMainFrame::onErrors() {
    if (hasFailures()) {
        runFailedCountsDialog(this, document_.root(), document_.failures());
    }
}

void CMainFrame::onStop() {
    countRun_.requestStop();
}

void CMainFrame::closeRun(bool completed, bool interactive) {
    progressBar_->hide();
    updateCommandStates();
    // The list shows the final figures before anything is asked, and the run's closing text
    // is the last word in the status bar: the rebuilt list writes its own before it.
    document_.countRunEnded();
    setStatusText(completed ? QStringLiteral("Ready.") : QStringLiteral("Stopped."));
    if (interactive && !document_.failures().empty()) {
        if (askingToClose_) {
            // Shown once the close question is answered with Cancel.
            errorsAfterQuestion_ = true;
        } else {
            runFailedCountsDialog(this, document_.root(), document_.failures());
        }
    }
    emit countRunClosed();
}

}  // namespace tw::ui
