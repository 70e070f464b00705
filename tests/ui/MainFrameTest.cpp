// The main window through its commands: availability, the view switch, adding files, counting,
// saving and reopening, closing with unsaved changes, the selection commands and the About box.

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "UiTestSupport.h"
#include "engine/FileCount.h"
#include "ui/Artwork.h"
#include "ui/CAboutDialog.h"
#include "ui/CSplitterView.h"
#include "ui/RecentProjects.h"

#include <cerrno>
#include <cstring>
#include <functional>

using namespace tw;
using namespace tw::test;
using namespace tw::ui;

namespace {

/// The ids of the commands whose availability the tests compare, with their short names.
const std::vector<std::pair<int, const char*>> kCommands = {
    {ID_FILE_NEW, "new"},
    {ID_FILE_OPEN, "open"},
    {ID_FILE_SAVE, "save"},
    {ID_FILE_SAVE_AS, "saveAs"},
    {ID_APP_EXIT, "exit"},
    {ID_ACTION_ADD_FILE, "addFile"},
    {ID_ACTION_ADD_FOLDER, "addFolder"},
    {ID_ACTION_COUNT, "count"},
    {ID_ACTION_STOP, "stop"},
    {ID_ACTION_RESET, "reset"},
    {ID_SELECTION_OPEN, "openFiles"},
    {ID_SELECTION_OPEN_IN_EDITOR, "editor"},
    {ID_SELECTION_SHOW_IN_FOLDER, "showFolder"},
    {ID_SELECTION_REMOVE, "remove"},
    {ID_TOOLS_SETTINGS, "settings"},
    {ID_TOOLS_REPORT, "report"},
    {ID_VIEW_TOOLBAR, "toolbar"},
    {ID_VIEW_STATUS_BAR, "statusBar"},
    {ID_VIEW_FOLDERS_AND_FILES, "foldersAndFiles"},
    {ID_VIEW_FILES_ONLY, "filesOnly"},
    {ID_VIEW_SHOW_FULL_PATHS, "fullPaths"},
    {ID_HELP_DOCUMENTATION, "documentation"},
    {ID_HELP_COMMAND_LINE, "commandLine"},
    {ID_APP_ABOUT, "about"},
    {ID_HELP_WEBSITE, "website"},
};

/// The names of the available commands, in table order.
QStringList availableCommands(Desktop& desktop) {
    QStringList names;
    for (const auto& [id, name] : kCommands) {
        if (desktop.enabled(id)) {
            names.append(QString::fromLatin1(name));
        }
    }
    return names;
}

QStringList allBut(const QStringList& left) {
    QStringList names;
    for (const auto& [id, name] : kCommands) {
        if (!left.contains(QString::fromLatin1(name))) {
            names.append(QString::fromLatin1(name));
        }
    }
    return names;
}

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void commandAvailability_data();
    void commandAvailability();
    void projectStaysAsItIsDuringARun();
    void menusAndToolbarAreComplete();
    void viewSwitchKeepsFolderAndFullPaths();
    void splitterKeepsTreeAtAThird();
    void addFilesExpandsAndShowsLastFolder();
    void addFilesCancelledRefreshesNothing();
    void caseTwinsAreTwoRowsWithTheirRealNames();
    void addFilesCountSaveReopen();
    void addFoldersAddsWhatTheDialogFound();
    void emptyListSaysHowToStart();
    void settingsResetCountsOnlyWhenChanged();
    void closingWithUnsavedChanges_data();
    void closingWithUnsavedChanges();
    void openFailuresAreReported();
    void droppedFilesOpenProjectsOrJoinTheProject();
    void recentProjectsKeepFourNewest();
    void resetMakesEveryFileUncounted();
    void selectionCommandsHandFilesToShell();
    void fileListKeepsSummaryRowsOutOfSelection();
    void aboutBoxShowsPicture();
    void helpCommandsOpenShippedPages();
    void treeShowsProjectOpenedInFilesOnly();
    void selectionMenuActsOnTheListItWasOpenedFrom_data();
    void selectionMenuActsOnTheListItWasOpenedFrom();
    void exitCancelledDuringARunKeepsCounting();
    void shortcutsStartTheirCommands_data();
    void shortcutsStartTheirCommands();
    void viewMenuShowsStateOfBarsAndModes();
    void missingLauncherIsExplained_data();
    void missingLauncherIsExplained();

  private:
    QTemporaryDir files_;
};

void MainFrameTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(files_.isValid());
}

void MainFrameTest::init() {
    countSettings() = CountSettings{};
}

void MainFrameTest::commandAvailability_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("available");

    const QStringList idle = allBut(
        {"count", "stop", "reset", "openFiles", "editor", "showFolder", "remove", "fullPaths"});
    QTest::newRow("empty project") << "empty" << idle;
    QTest::newRow("uncounted files, focus elsewhere") << "uncounted" << idle + QStringList{"count"};
    QTest::newRow("focus in tree with a folder selected")
        << "treeFocus" << idle + QStringList{"count", "remove"};
    QTest::newRow("focus in list with a row selected")
        << "listFocus"
        << idle + QStringList{"count", "openFiles", "editor", "showFolder", "remove"};
    QTest::newRow("focus in list without selection")
        << "listNoSelection" << idle + QStringList{"count"};
    QTest::newRow("everything counted") << "counted" << idle + QStringList{"reset"};
    QTest::newRow("files only") << "filesOnly" << idle + QStringList{"count", "fullPaths"};
    QTest::newRow("during a run") << "running"
                                  << QStringList{"exit",      "stop",          "foldersAndFiles",
                                                 "filesOnly", "documentation", "commandLine",
                                                 "about",     "website"};
}

void MainFrameTest::commandAvailability() {
    QFETCH(QString, state);
    QFETCH(QStringList, available);

    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    if (state != QLatin1String("empty")) {
        QStringList paths;
        const int count = state == QLatin1String("running") ? 400 : 2;
        for (int i = 0; i < count; ++i) {
            paths.append(writeFile(dir, QStringLiteral("src/f%1.cpp").arg(i), smallSource()));
        }
        desktop.addFiles(chooser, paths);
    }
    desktop.unfocus();
    if (state == QLatin1String("treeFocus")) {
        QVERIFY(desktop.frame.folderView()->selectedItem().isValid());
        desktop.focus(desktop.frame.folderView());
    } else if (state == QLatin1String("listFocus") || state == QLatin1String("listNoSelection")) {
        desktop.focus(desktop.frame.fileView());
        if (state == QLatin1String("listFocus")) {
            desktop.frame.fileView()->selectRow(0);
        }
    } else if (state == QLatin1String("counted")) {
        QVERIFY(desktop.countAndWait());
        desktop.unfocus();
    } else if (state == QLatin1String("filesOnly")) {
        desktop.action(ID_VIEW_FILES_ONLY)->trigger();
    } else if (state == QLatin1String("running")) {
        desktop.focus(desktop.frame.fileView());
        desktop.frame.fileView()->selectRow(0);
        desktop.action(ID_ACTION_COUNT)->trigger();
        QVERIFY(desktop.frame.isCounting());
    }
    available.sort();
    QStringList actual = availableCommands(desktop);
    actual.sort();
    QCOMPARE(actual, available);

    if (state == QLatin1String("running")) {
        // Toolbar buttons follow their commands.
        const auto* stop = qobject_cast<QToolButton*>(
            desktop.frame.findChild<QToolBar*>("toolBar")->widgetForAction(
                desktop.action(ID_ACTION_STOP)));
        QVERIFY(stop != nullptr && stop->isEnabled());
    }
}

void MainFrameTest::projectStaysAsItIsDuringARun() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    ShellRecorder shell;
    QTemporaryDir dir;
    Desktop desktop;
    // Sources large enough that the run outlasts the test by far, even on a fast machine.
    desktop.addSlowFiles(chooser, dir, 300, 600);
    chooser.asked.clear();
    desktop.focus(desktop.frame.fileView());
    desktop.frame.fileView()->selectRow(0);
    desktop.action(ID_ACTION_COUNT)->trigger();
    QVERIFY(desktop.frame.isCounting());
    ModalDialogAnswerer dialogs([](QDialog&) { return false; });

    // Whoever starts them, commands that would change the project wait for the run's end: the
    // window's own entry points as much as an action whose state has not caught up yet.
    desktop.frame.openProjectFile(dir.filePath(QStringLiteral("other.tyx")));
    desktop.frame.addFolderFiles(
        {QFile::encodeName(writeFile(dir, QStringLiteral("new/x.cpp"), smallSource()))
             .toStdString()});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dir.filePath(QStringLiteral("other.tyx")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&desktop.frame, &enter);
    QVERIFY(!enter.isAccepted());
    for (const int id :
         {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_ACTION_ADD_FILE,
          ID_ACTION_ADD_FOLDER, ID_ACTION_RESET, ID_SELECTION_OPEN, ID_SELECTION_OPEN_IN_EDITOR,
          ID_SELECTION_SHOW_IN_FOLDER, ID_SELECTION_REMOVE, ID_TOOLS_SETTINGS, ID_TOOLS_REPORT,
          ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        desktop.action(id)->setEnabled(true);
        desktop.action(id)->trigger();
        QVERIFY2(!desktop.enabled(id), qPrintable(desktop.action(id)->objectName()));
    }
    QVERIFY(boxes.shown.empty());
    QVERIFY(chooser.asked.empty());
    QVERIFY(shell.requests.empty());
    QCOMPARE(dialogs.answered, 0);
    QCOMPARE(desktop.root().TotalRecords(), 300u);
    QCOMPARE(shownTitle(desktop.frame), QStringLiteral("Untitled* - Tallyweaver"));
    QVERIFY(desktop.frame.findChild<QToolBar*>("toolBar")->isVisible());
    QVERIFY(desktop.frame.isCounting());
}

void MainFrameTest::menusAndToolbarAreComplete() {
    Desktop desktop;
    QStringList menus;
    for (QAction* menuAction : desktop.frame.menuBar()->actions()) {
        QStringList entries;
        for (QAction* entry : menuAction->menu()->actions()) {
            if (entry->isSeparator()) {
                entries.append(QStringLiteral("-"));
            } else if (entry->isVisible()) {
                entries.append(entry->text());
            }
        }
        menus.append(menuAction->text() + QStringLiteral(": ") +
                     entries.join(QStringLiteral(" | ")));
    }
    QCOMPARE(menus,
             QStringList({
                 "&File: &New Project\tCtrl+N | &Open Project...\tCtrl+O | &Save Project\tCtrl+S | "
                 "Save Project &As...\tCtrl+Shift+S | - | Recent Project | - | E&xit\tCtrl+Q",
                 "&Action: Add &File\tCtrl+Shift+F | Add Fol&der\tCtrl+Shift+D | - | "
                 "&Count\tF5 | &Stop\tEsc | &Reset",
                 "&Selection: &Open File(s) | Open in &Text Editor | &Show File(s) in Folder(s) | "
                 "- | &Remove\tDel",
                 "&Tools: &Settings... | &Report...",
                 "&View: &Toolbar | &Status Bar | - | &Folders and Files | Files &Only | - | "
                 "S&how Full Paths | - | &Errors... | F&unctions",
                 "&Help: &Tallyweaver Documentation\tF1 | &Command Line Reference | - | "
                 "&About Tallyweaver | Visit Website",
             }));
    QCOMPARE(desktop.action(ID_FILE_NEW)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(desktop.action(ID_FILE_SAVE)->statusTip(), QStringLiteral("Save the active project"));
    QCOMPARE(desktop.action(ID_ACTION_COUNT)->toolTip(), QStringLiteral("Count"));

    const auto* toolBar = desktop.frame.findChild<QToolBar*>("toolBar");
    QStringList buttons;
    QSet<qint64> images;
    for (QAction* button : toolBar->actions()) {
        if (button->isSeparator()) {
            buttons.append(QStringLiteral("|"));
            continue;
        }
        buttons.append(button->toolTip());
        const QImage normal = button->icon().pixmap(24, 24, QIcon::Normal).toImage();
        const QImage disabled = button->icon().pixmap(24, 24, QIcon::Disabled).toImage();
        QCOMPARE(normal.size(), QSize(24, 24));
        QVERIFY2(normal != disabled, qPrintable(button->toolTip()));
        images.insert(qHash(
            QByteArray(reinterpret_cast<const char*>(normal.constBits()), normal.sizeInBytes())));
    }
    QCOMPARE(
        buttons.join(QLatin1Char(',')),
        QStringLiteral("New Project,Open Project,Save Project,|,Add File(s),Add Folder(s),"
                       "Remove Selected,|,Count,Stop,Reset,|,Settings,Generate Report,|,About"));
    QCOMPARE(images.size(), 12);  // each button has an image of its own
    QCOMPARE(toolBar->iconSize(), QSize(24, 24));
}

void MainFrameTest::viewSwitchKeepsFolderAndFullPaths() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    const QString a = writeFile(dir, QStringLiteral("one/a.cpp"), smallSource());
    const QString b = writeFile(dir, QStringLiteral("two/b.cpp"), smallSource());
    desktop.addFiles(chooser, {a, b});
    QCOMPARE(desktop.frame.viewMode(), int(ID_VIEW_FOLDERS_AND_FILES));
    QVERIFY(desktop.action(ID_VIEW_FOLDERS_AND_FILES)->isChecked());
    QCOMPARE(desktop.list().fileRowCount(), 1);
    QCOMPARE(desktop.list().rowLabel(0), QStringLiteral("b.cpp"));

    desktop.action(ID_VIEW_FILES_ONLY)->trigger();
    QVERIFY(qobject_cast<CFileView*>(desktop.frame.currentView()) != nullptr);
    QVERIFY(desktop.frame.folderView() == nullptr);
    QVERIFY(desktop.action(ID_VIEW_FILES_ONLY)->isChecked());
    QCOMPARE(desktop.list().fileRowCount(), 2);
    QCOMPARE(desktop.list().summaryRowCount(), 1);
    QCOMPARE(desktop.list().rowLabel(0), qs(projectPathOf(a)));

    // Show Full Paths rebuilds the list at once, and keeps its value across switches.
    desktop.action(ID_VIEW_SHOW_FULL_PATHS)->trigger();
    QVERIFY(!desktop.frame.showFullPaths());
    QCOMPARE(desktop.list().rowLabel(0), QStringLiteral("a.cpp"));

    desktop.action(ID_VIEW_FOLDERS_AND_FILES)->trigger();
    QVERIFY(qobject_cast<CSplitterView*>(desktop.frame.currentView()) != nullptr);
    QVERIFY(!desktop.enabled(ID_VIEW_SHOW_FULL_PATHS));
    QVERIFY(!desktop.action(ID_VIEW_SHOW_FULL_PATHS)->isChecked());
    // The remembered folder is selected again and listed.
    CFolderView* tree = desktop.frame.folderView();
    QCOMPARE(tree->itemPath(tree->selectedItem()), qs(projectFolderOf(b)));
    QCOMPARE(desktop.list().rowLabel(0), QStringLiteral("b.cpp"));
    QCOMPARE(desktop.list().summaryRowCount(), 3);

    // Choosing the current mode again changes nothing.
    QWidget* view = desktop.frame.currentView();
    desktop.action(ID_VIEW_FOLDERS_AND_FILES)->trigger();
    QCOMPARE(desktop.frame.currentView(), view);
}

void MainFrameTest::splitterKeepsTreeAtAThird() {
    Desktop desktop;
    auto* splitterView = qobject_cast<CSplitterView*>(desktop.frame.currentView());
    QVERIFY(splitterView != nullptr);
    QSplitter& splitter = splitterView->splitter();
    // The divider dragged away goes back to a third at the next resize of the window.
    splitter.setSizes({600, 100});
    desktop.frame.resize(900, 500);
    QTRY_COMPARE(splitter.sizes().value(0), splitterView->width() / 3);
    desktop.frame.resize(1200, 500);
    QTRY_COMPARE(splitter.sizes().value(0), splitterView->width() / 3);
    QVERIFY(splitterView->width() > 1000);
}

void MainFrameTest::addFilesExpandsAndShowsLastFolder() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    const QString a = writeFile(dir, QStringLiteral("one/a.cpp"), smallSource());
    const QString b = writeFile(dir, QStringLiteral("two/deeper/b.cpp"), smallSource());
    desktop.addFiles(chooser, {a, b, a});

    QCOMPARE(chooser.asked.front().title, QStringLiteral("Add File(s):"));
    QCOMPARE(desktop.root().TotalRecords(), 2u);  // the second a.cpp is refused silently
    QVERIFY(boxes.shown.empty());
    QVERIFY(desktop.document.isModified());
    const std::u16string folderB = projectFolderOf(b);
    QCOMPARE(desktop.document.rememberedFolderPath(), qs(folderB));
    ProjectFolder* one = desktop.root().FindFile(projectPathOf(a)).folder;
    ProjectFolder* deeper = desktop.root().FindFolder(folderB);
    QVERIFY(one->expanded() && deeper->expanded() && deeper->parent()->expanded());
    QCOMPARE(desktop.list().rowLabel(0), QStringLiteral("b.cpp"));
    CFolderView* tree = desktop.frame.folderView();
    QCOMPARE(tree->itemPath(tree->selectedItem()), qs(folderB));
    QVERIFY(tree->isExpanded(tree->selectedItem().parent()));
}

void MainFrameTest::caseTwinsAreTwoRowsWithTheirRealNames() {
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    const QString upper = writeFile(dir, QStringLiteral("Src/Foo.c"), smallSource());
    const QString lower = writeFile(dir, QStringLiteral("Src/foo.c"), smallSource());
    desktop.addFiles(chooser, {upper, lower});
    QCOMPARE(desktop.root().TotalRecords(), 2u);
    QCOMPARE(desktop.list().fileRowCount(), 2);
    QCOMPARE(desktop.list().rowLabel(0), QStringLiteral("Foo.c"));
    QCOMPARE(desktop.list().rowLabel(1), QStringLiteral("foo.c"));
    // The tree shows the folder as the file system names it.
    CFolderView* tree = desktop.frame.folderView();
    QCOMPARE(tree->itemPath(tree->selectedItem()), dir.filePath(QStringLiteral("Src")));

    desktop.action(ID_VIEW_FILES_ONLY)->trigger();
    QCOMPARE(desktop.list().rowLabel(0), upper);
    QCOMPARE(desktop.list().rowLabel(1), lower);
}

void MainFrameTest::addFilesCancelledRefreshesNothing() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), smallSource())});
    desktop.document.setModifiedFlag(false);
    QSignalSpy updates(&desktop.document, &CTallyweaverDoc::folderChanged);
    desktop.addFiles(chooser, {});
    QCOMPARE(desktop.document.rememberedFolderPath(), QString());
    QCOMPARE(updates.count(), 0);
    QVERIFY(!desktop.document.isModified());
}

void MainFrameTest::addFilesCountSaveReopen() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("src/a.cpp"), smallSource());
    const QString b = writeFile(dir, QStringLiteral("src/b.h"), "int x;\n\n");
    const QString project = dir.filePath(QStringLiteral("counted"));
    QSettings settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    RecentProjects recent(&settings);
    // A document that keeps a recent list.
    CTallyweaverDoc document(&recent);
    CMainFrame frame(document);
    frame.show();
    QTRY_VERIFY(frame.currentView() != nullptr);
    QCOMPARE(shownTitle(frame), QStringLiteral("Untitled - Tallyweaver"));

    chooser.answers.push_back({a, b});
    frame.action(ID_ACTION_ADD_FILE)->trigger();
    FileListModel& list = frame.fileView()->listModel();
    QCOMPARE(list.cellText(0, ColumnCode), QStringLiteral("-"));

    QSignalSpy closed(&frame, &CMainFrame::countRunClosed);
    frame.action(ID_ACTION_COUNT)->trigger();
    QVERIFY(closed.wait(30000));
    QCOMPARE(list.cellText(0, ColumnCode), QStringLiteral("3"));
    QCOMPARE(list.cellText(0, ColumnCommentOwnLine), QStringLiteral("1"));
    QCOMPARE(list.cellText(1, ColumnCode), QStringLiteral("1"));
    QCOMPARE(list.cellText(1, ColumnBlank), QStringLiteral("1"));
    QCOMPARE(list.cellText(4, ColumnFileName), QStringLiteral("Project (2 succeeded, 0 failed)"));
    QVERIFY(document.isModified());
    QVERIFY(!frame.action(ID_ACTION_COUNT)->isEnabled());

    // Save Project on an untitled project asks for a name; ".tyx" is the dialog's to add.
    chooser.answers.push_back({project + QStringLiteral(".tyx")});
    frame.action(ID_FILE_SAVE)->trigger();
    QCOMPARE(chooser.asked.back().kind, FileChooser::Kind::SaveProject);
    QCOMPARE(chooser.asked.back().suggested, QStringLiteral("Untitled.tyx"));
    QVERIFY(!document.isModified());
    QCOMPARE(document.countedFilesAtSave(), 2);
    QCOMPARE(shownTitle(frame), QStringLiteral("counted.tyx - Tallyweaver"));

    frame.action(ID_FILE_NEW)->trigger();
    QCOMPARE(document.root().TotalRecords(), 0u);
    QCOMPARE(shownTitle(frame), QStringLiteral("Untitled - Tallyweaver"));

    // Reopened, the counts are shown at once and nothing is left to count.
    QFile::remove(a);
    chooser.answers.push_back({project + QStringLiteral(".tyx")});
    frame.action(ID_FILE_OPEN)->trigger();
    QVERIFY(boxes.shown.empty());
    QCOMPARE(document.root().TotalRecords(), 2u);
    QCOMPARE(document.countedFilesAtSave(), 2);
    QVERIFY(!frame.action(ID_ACTION_COUNT)->isEnabled());
    QVERIFY(frame.action(ID_ACTION_RESET)->isEnabled());
    FileListModel& reopened = frame.fileView()->listModel();
    QCOMPARE(reopened.fileRowCount(), 2);
    QCOMPARE(reopened.cellText(0, ColumnCode), QStringLiteral("3"));
    QCOMPARE(shownTitle(frame), QStringLiteral("counted.tyx - Tallyweaver"));
    QCOMPARE(recent.entries(), QStringList{project + QStringLiteral(".tyx")});
    document.setModifiedFlag(false);
}

void MainFrameTest::addFoldersAddsWhatTheDialogFound() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    const QString top = writeFile(dir, QStringLiteral("x/proj/src/top.cpp"), smallSource());
    const QString deep = writeFile(dir, QStringLiteral("x/proj/src/sub/deep.h"), smallSource());
    writeFile(dir, QStringLiteral("x/proj/src/notes.txt"), "not source\n");
    Desktop desktop;
    QStringList texts;
    connect(desktop.frame.statusBar(), &QStatusBar::messageChanged, this,
            [&texts](const QString& text) { texts.append(text); });
    ModalDialogAnswerer addFolder([&dir](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("directoryEdit"))
            ->setText(dir.filePath(QStringLiteral("x/proj/src")));
        return true;
    });
    desktop.action(ID_ACTION_ADD_FOLDER)->trigger();

    QCOMPARE(addFolder.answered, 1);
    QCOMPARE(desktop.root().TotalRecords(), 2u);
    QVERIFY(desktop.document.isModified());
    QVERIFY(!desktop.root().FindFile(projectPathOf(deep)).folder->expanded());
    QVERIFY(texts.contains(QStringLiteral("Adding file to project: ") + deep));
    // Its "Ready" gives way to the list's "Ready." when the list is rebuilt.
    const QStringList afterAdding = texts.mid(texts.lastIndexOf(QStringLiteral("Ready")));
    QCOMPARE(afterAdding.value(1), QStringLiteral("Updating display information.  Please wait..."));
    QCOMPARE(afterAdding.last(), QStringLiteral("Ready."));
    // The list shows the folder added, which the tree selects. The tree starts there, at the
    // folder common to the project's files, named by its whole path and open.
    const QString added = qs(projectFolderOf(top));
    QCOMPARE(desktop.document.rememberedFolderPath(), added);
    CFolderView* tree = desktop.frame.folderView();
    QCOMPARE(tree->itemPath(tree->selectedItem()), added);
    QCOMPARE(tree->model()->rowCount(), 1);
    const QModelIndex root = tree->model()->index(0, 0);
    QCOMPARE(root.data().toString(), added);
    QVERIFY(tree->isExpanded(root));
    QCOMPARE(tree->model()->index(0, 0, root).data().toString(), QStringLiteral("sub"));
    QCOMPARE(desktop.list().fileRowCount(), 1);

    // Cancelled, it adds nothing.
    ModalDialogAnswerer cancel([](QDialog&) { return false; });
    desktop.document.setModifiedFlag(false);
    desktop.action(ID_ACTION_ADD_FOLDER)->trigger();
    QVERIFY(!desktop.document.isModified());
}

void MainFrameTest::emptyListSaysHowToStart() {
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    CFileView& list = *desktop.frame.fileView();
    QCOMPARE(list.emptyHint(),
             QStringLiteral("Add a folder or drop files here\n\nAction > Add Folder "
                            "(Ctrl+Shift+D)     Action > Add File (Ctrl+Shift+F)"));
    // The pixels of the lower part of the list that are not its background: the hint's.
    const auto drawnBelow = [&list] {
        const QImage image = list.viewport()->grab().toImage();
        const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
        int drawn = 0;
        for (int y = image.height() * 2 / 5; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                drawn += image.pixel(x, y) != background ? 1 : 0;
            }
        }
        return drawn;
    };
    QVERIFY(drawnBelow() > 0);

    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), smallSource())});
    QVERIFY(list.emptyHint().isEmpty());
    QCOMPARE(drawnBelow(), 0);
}

void MainFrameTest::settingsResetCountsOnlyWhenChanged() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), smallSource())});
    QVERIFY(desktop.countAndWait());
    desktop.document.setModifiedFlag(false);

    {
        // OK without a change keeps the counts.
        ModalDialogAnswerer unchanged([](QDialog&) { return true; });
        desktop.action(ID_TOOLS_SETTINGS)->trigger();
        QCOMPARE(unchanged.answered, 1);
    }
    QCOMPARE(desktop.root().CountedRecords(true), 1u);
    QVERIFY(!desktop.document.isModified());

    // A change asks before the counts go; No leaves the dialog open, to be cancelled here.
    {
        int shown = 0;
        ModalDialogAnswerer logical([&shown](QDialog& dialog) {
            dialog.findChild<QAbstractButton*>(QStringLiteral("logicalRadio"))->click();
            return ++shown == 1;
        });
        desktop.action(ID_TOOLS_SETTINGS)->trigger();
        QCOMPARE(logical.answered, 2);
    }
    QCOMPARE(boxes.texts(),
             QStringList{QStringLiteral("Change how files are counted and reset the counts of all "
                                        "files?\nThe next Count counts every file again.")});
    QCOMPARE(countSettings().mode, CountMode::Physical);
    QCOMPARE(desktop.root().CountedRecords(true), 1u);
    QVERIFY(!desktop.document.isModified());

    boxes.answers.push_back(QMessageBox::Yes);
    {
        ModalDialogAnswerer logical([](QDialog& dialog) {
            dialog.findChild<QAbstractButton*>(QStringLiteral("logicalRadio"))->click();
            return true;
        });
        desktop.action(ID_TOOLS_SETTINGS)->trigger();
        QCOMPARE(logical.answered, 1);
    }
    QCOMPARE(boxes.shown.size(), std::size_t(2));
    QCOMPARE(countSettings().mode, CountMode::TerminatingCharacters);
    QCOMPARE(desktop.root().CountedRecords(true), 0u);
    QVERIFY(desktop.document.isModified());
    QCOMPARE(desktop.list().headerData(ColumnCode, Qt::Horizontal).toString(),
             QStringLiteral("Terminating Characters"));
    QCOMPARE(desktop.list().cellText(0, ColumnCode), QStringLiteral("-"));

    // Without counts there is nothing to lose and nothing to ask.
    {
        ModalDialogAnswerer physical([](QDialog& dialog) {
            dialog.findChild<QAbstractButton*>(QStringLiteral("physicalRadio"))->click();
            return true;
        });
        desktop.action(ID_TOOLS_SETTINGS)->trigger();
        QCOMPARE(physical.answered, 1);
    }
    QCOMPARE(boxes.shown.size(), std::size_t(2));
    QCOMPARE(countSettings().mode, CountMode::Physical);
}

void MainFrameTest::closingWithUnsavedChanges_data() {
    QTest::addColumn<QList<int>>("answers");  // the save question, then a Save As answer
    QTest::addColumn<bool>("saveAsName");     // the Save As dialog gets a name
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    QTest::newRow("cancel keeps the window")
        << QList<int>{QMessageBox::Cancel} << false << false << false;
    QTest::newRow("discard closes without saving")
        << QList<int>{QMessageBox::Discard} << false << true << false;
    QTest::newRow("save saves and closes") << QList<int>{QMessageBox::Save} << true << true << true;
    QTest::newRow("save with save as cancelled keeps the window")
        << QList<int>{QMessageBox::Save} << false << false << false;
}

void MainFrameTest::closingWithUnsavedChanges() {
    QFETCH(QList<int>, answers);
    QFETCH(bool, saveAsName);
    QFETCH(bool, closes);
    QFETCH(bool, saved);

    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), smallSource())});
    for (const int answer : answers) {
        boxes.answers.push_back(static_cast<QMessageBox::StandardButton>(answer));
    }
    const QString project = dir.filePath(QStringLiteral("p.tyx"));
    if (saveAsName) {
        chooser.answers.push_back({project});
    }
    QCOMPARE(desktop.frame.close(), closes);
    QCOMPARE(boxes.texts(), QStringList{"Save changes to Untitled?"});
    QCOMPARE(boxes.shown.front().title, QStringLiteral("Tallyweaver"));
    QCOMPARE(boxes.shown.front().buttons,
             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(QFile::exists(project), saved);
    QCOMPARE(desktop.frame.isVisible(), !closes);

    // An unchanged project closes without a question.
    if (!closes) {
        desktop.document.setModifiedFlag(false);
        QVERIFY(desktop.frame.close());
        QCOMPARE(boxes.shown.size(), std::size_t(1));
    }
}

void MainFrameTest::openFailuresAreReported() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), smallSource())});
    desktop.document.setModifiedFlag(false);

    // A file that is not there leaves the project as it was.
    const QString missing = dir.filePath(QStringLiteral("missing.tyx"));
    desktop.frame.openProjectFile(missing);
    // (The lines beneath the first, with the file and the reason, are DesktopConventionsTest's.)
    QCOMPARE(boxes.texts().value(0).section(QLatin1Char('\n'), 0, 0),
             missing + QStringLiteral(" was not found."));
    QCOMPARE(desktop.root().TotalRecords(), 1u);
    QCOMPARE(shownTitle(desktop.frame), QStringLiteral("Untitled - Tallyweaver"));

    // A damaged one leaves an empty, untitled project.
    QByteArray header(20, '\0');
    header[0] = 3;  // three records announced, none follow
    const QString damaged = writeFile(dir, QStringLiteral("damaged.tyx"), header);
    desktop.frame.openProjectFile(damaged);
    QCOMPARE(boxes.texts().value(1).section(QLatin1Char('\n'), 0, 0),
             QStringLiteral("Unexpected file format."));
    QCOMPARE(desktop.root().TotalRecords(), 0u);
    QCOMPARE(shownTitle(desktop.frame), QStringLiteral("Untitled - Tallyweaver"));
    QVERIFY(!desktop.document.isModified());
    QCOMPARE(desktop.list().fileRowCount(), 0);

    // A file of no bytes opens as an empty project without a message.
    const QString empty = writeFile(dir, QStringLiteral("empty.tyx"), QByteArray());
    desktop.frame.openProjectFile(empty);
    QCOMPARE(boxes.shown.size(), std::size_t(2));
    QCOMPARE(shownTitle(desktop.frame), QStringLiteral("empty.tyx - Tallyweaver"));

    // A failed save reports the reason and keeps the project modified.
    desktop.document.setModifiedFlag(true);
    chooser.answers.push_back({dir.filePath(QStringLiteral("no/such/folder/p.tyx"))});
    desktop.action(ID_FILE_SAVE_AS)->trigger();
    QCOMPARE(boxes.shown.size(), std::size_t(3));
    QVERIFY(boxes.texts().value(2).contains(QStringLiteral("p.tyx")));
    QVERIFY(desktop.document.isModified());
}

void MainFrameTest::droppedFilesOpenProjectsOrJoinTheProject() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("dropped.tyx"));
    {
        Desktop source;
        source.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), smallSource()),
                                  writeFile(dir, QStringLiteral("b.cpp"), smallSource())});
        chooser.answers.push_back({project});
        source.action(ID_FILE_SAVE_AS)->trigger();
        QVERIFY(QFile::exists(project));
    }
    Desktop desktop;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(project)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&desktop.frame, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&desktop.frame, &drop);
    QCOMPARE(desktop.root().TotalRecords(), 2u);
    QCOMPARE(shownTitle(desktop.frame), QStringLiteral("dropped.tyx - Tallyweaver"));
    QVERIFY(boxes.shown.empty());

    // Other files join the project; missing files are passed over.
    const QString source = writeFile(dir, QStringLiteral("more/c.cpp"), smallSource());
    data.setUrls({QUrl::fromLocalFile(source),
                  QUrl::fromLocalFile(dir.filePath(QStringLiteral("gone.cpp")))});
    QDragEnterEvent enterMore(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
    QApplication::sendEvent(&desktop.frame, &enterMore);
    QVERIFY(enterMore.isAccepted());
    QDropEvent more(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&desktop.frame, &more);
    QCOMPARE(desktop.root().TotalRecords(), 3u);
    QVERIFY(desktop.root().FindFile(projectPathOf(source)).record != nullptr);
    QVERIFY(boxes.shown.empty());

    // A folder opens Add Folder(s) on it.
    const QString folder = dir.filePath(QStringLiteral("folder"));
    writeFile(dir, QStringLiteral("folder/d.cpp"), smallSource());
    QString offered;
    ModalDialogAnswerer addFolder([&offered](QDialog& dialog) {
        offered = dialog.findChild<QLineEdit*>(QStringLiteral("directoryEdit"))->text();
        return true;
    });
    data.setUrls({QUrl::fromLocalFile(folder)});
    QDragEnterEvent enterFolder(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                                Qt::NoModifier);
    QApplication::sendEvent(&desktop.frame, &enterFolder);
    QDropEvent folderDrop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&desktop.frame, &folderDrop);
    QTRY_COMPARE(addFolder.answered, 1);
    QCOMPARE(offered, folder);
    QTRY_COMPARE(desktop.root().TotalRecords(), 4u);
    QVERIFY(boxes.shown.empty());
    desktop.document.setModifiedFlag(false);
}

void MainFrameTest::recentProjectsKeepFourNewest() {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("tallyweaver.ini"));
    {
        QSettings settings(ini, QSettings::IniFormat);
        RecentProjects recent(&settings);
        for (const char* name :
             {"/p/1.tyx", "/p/2.tyx", "/p/3.tyx", "/p/4.tyx", "/p/5.tyx", "/p/3.tyx"}) {
            recent.add(QString::fromLatin1(name));
        }
        QCOMPARE(recent.entries(), QStringList({"/p/3.tyx", "/p/5.tyx", "/p/4.tyx", "/p/2.tyx"}));
    }
    QSettings settings(ini, QSettings::IniFormat);
    QCOMPARE(settings.value(QStringLiteral("Recent File List/File1")).toString(),
             QStringLiteral("/p/3.tyx"));
    RecentProjects reread(&settings);
    QCOMPARE(reread.entries(), QStringList({"/p/3.tyx", "/p/5.tyx", "/p/4.tyx", "/p/2.tyx"}));

    // The menu lists them; one that cannot be opened any more is dropped from the list.
    MessageBoxRecorder boxes;
    CTallyweaverDoc document(&reread);
    CMainFrame frame(document);
    QCOMPARE(frame.action(ID_FILE_MRU_FILE1)->text(), QStringLiteral("&1 /p/3.tyx"));
    QVERIFY(frame.action(ID_FILE_MRU_FILE1 + 3)->isVisible());
    frame.action(ID_FILE_MRU_FILE1)->trigger();
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("/p/3.tyx was not found.\n\n") +
                                        QString::fromLocal8Bit(std::strerror(ENOENT))});
    QCOMPARE(reread.entries(), QStringList({"/p/5.tyx", "/p/4.tyx", "/p/2.tyx"}));
    QVERIFY(!frame.action(ID_FILE_MRU_FILE1 + 3)->isVisible());
}

void MainFrameTest::resetMakesEveryFileUncounted() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), smallSource())});
    QVERIFY(desktop.countAndWait());
    desktop.document.setModifiedFlag(false);
    QCOMPARE(desktop.list().cellText(0, ColumnCode), QStringLiteral("3"));

    // Asked first; No keeps the counts.
    desktop.action(ID_ACTION_RESET)->trigger();
    QCOMPARE(
        boxes.texts(),
        QStringList{"Reset the counts of all files?\nThe next Count counts every file again."});
    QCOMPARE(boxes.shown.back().buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(desktop.root().CountedRecords(true), 1u);
    QVERIFY(!desktop.document.isModified());

    boxes.answers.push_back(QMessageBox::Yes);
    desktop.action(ID_ACTION_RESET)->trigger();
    QVERIFY(desktop.document.isModified());
    QCOMPARE(desktop.root().CountedRecords(true), 0u);
    QCOMPARE(desktop.list().cellText(0, ColumnCode), QStringLiteral("-"));
    QVERIFY(!desktop.enabled(ID_ACTION_RESET));

    // With no folder selected the list is refreshed all the same: its summary rows must not
    // show counts that are gone.
    QVERIFY(desktop.countAndWait());
    desktop.frame.folderView()->selectItem(QModelIndex());
    boxes.answers.push_back(QMessageBox::Yes);
    desktop.action(ID_ACTION_RESET)->trigger();
    QCOMPARE(desktop.list().cellText(desktop.list().rowCount() - 1, ColumnTotal),
             QStringLiteral("0"));
}

void MainFrameTest::selectionCommandsHandFilesToShell() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    ShellRecorder shell;
    QTemporaryDir dir;
    Desktop desktop;
    const QString a = writeFile(dir, QStringLiteral("Mixed/A.cpp"), smallSource());
    const QString b = writeFile(dir, QStringLiteral("Mixed/b.cpp"), smallSource());
    const QString c = writeFile(dir, QStringLiteral("Other/c.cpp"), smallSource());
    desktop.addFiles(chooser, {a, b, c});

    // Folders and Files: the files of the selected folder, by their names on disk.
    CFolderView* tree = desktop.frame.folderView();
    const QModelIndex mixed = [&] {
        QModelIndex found;
        const QString wanted = qs(projectFolderOf(a));
        std::function<void(const QModelIndex&)> search = [&](const QModelIndex& parent) {
            for (int row = 0; row < tree->model()->rowCount(parent); ++row) {
                const QModelIndex child = tree->model()->index(row, 0, parent);
                if (tree->itemPath(child) == wanted) {
                    found = child;
                }
                search(child);
            }
        };
        search(QModelIndex());
        return found;
    }();
    QVERIFY(mixed.isValid());
    tree->selectItem(mixed);
    desktop.focus(desktop.frame.fileView());
    desktop.frame.fileView()->selectAll();
    QVERIFY(desktop.enabled(ID_SELECTION_OPEN));
    desktop.action(ID_SELECTION_OPEN)->trigger();
    desktop.action(ID_SELECTION_OPEN_IN_EDITOR)->trigger();
    desktop.action(ID_SELECTION_SHOW_IN_FOLDER)->trigger();
    QCOMPARE(shell.targets(Shell::Action::Open), QStringList({a, b}));
    QCOMPARE(shell.targets(Shell::Action::OpenInTextEditor), QStringList({a, b}));
    QCOMPARE(shell.targets(Shell::Action::ShowFolder), QStringList{dir.filePath("Mixed")});

    // Files Only: each folder once.
    shell.requests.clear();
    desktop.action(ID_VIEW_FILES_ONLY)->trigger();
    desktop.focus(desktop.frame.fileView());
    desktop.frame.fileView()->selectAll();
    desktop.action(ID_SELECTION_SHOW_IN_FOLDER)->trigger();
    QCOMPARE(shell.targets(Shell::Action::ShowFolder),
             QStringList({dir.filePath("Mixed"), dir.filePath("Other")}));
    desktop.action(ID_SELECTION_OPEN)->trigger();
    QCOMPARE(shell.targets(Shell::Action::Open), QStringList({a, b, c}));
}

void MainFrameTest::fileListKeepsSummaryRowsOutOfSelection() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), smallSource()),
                               writeFile(dir, QStringLiteral("b.cpp"), smallSource())});
    CFileView* list = desktop.frame.fileView();
    desktop.focus(list);
    list->selectRow(1);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentIndex().row(), 1);
    QCOMPARE(list->selectedFileRows(), std::vector<int>{1});

    // A left click on a summary row selects nothing there; a right click clears the selection.
    const QPoint summary = list->visualRect(list->model()->index(3, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, summary);
    QCOMPARE(list->selectedFileRows(), std::vector<int>{1});
    QVERIFY(!list->selectionModel()->isRowSelected(3, QModelIndex()));
    QTest::mousePress(list->viewport(), Qt::RightButton, {}, summary);
    QVERIFY(!list->hasSelectedRows());
    QVERIFY(!desktop.enabled(ID_SELECTION_OPEN));
    const QPoint firstRow = list->visualRect(list->model()->index(0, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, firstRow);
    QCOMPARE(list->selectedFileRows(), std::vector<int>{0});
    QVERIFY(desktop.enabled(ID_SELECTION_OPEN));
    list->selectAll();
    QCOMPARE(list->selectedFileRows(), std::vector<int>({0, 1}));
    QCOMPARE(list->selectionModel()->selectedRows().size(), 2);
}

void MainFrameTest::aboutBoxShowsPicture() {
    CAboutDialog about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.windowTitle(), QStringLiteral("About Tallyweaver"));
    QCOMPARE(about.size(), QSize(400, 160));
    const QRect ok = about.okButton().geometry();
    QCOMPARE(about.width() - 1 - ok.right(), 5);
    QCOMPARE(about.height() - 1 - ok.bottom(), 4);
    const QImage shown = about.grab().toImage();
    QCOMPARE(shown.size(), QSize(400, 160));
    // Blue on the left, the light emblem on the right, white text over the picture.
    const QColor left = shown.pixelColor(3, 150);
    QVERIFY(left.blue() > left.red() + 40);
    QVERIFY(shown.pixelColor(320, 30).lightness() > 180);
    bool whiteText = false;
    for (int x = 7; x < 120 && !whiteText; ++x) {
        for (int y = 65; y < 100 && !whiteText; ++y) {
            whiteText = shown.pixelColor(x, y).lightness() > 240;
        }
    }
    QVERIFY(whiteText);
    QTest::mouseClick(&about.okButton(), Qt::LeftButton);
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

void MainFrameTest::helpCommandsOpenShippedPages() {
    ShellRecorder shell;
    Desktop desktop;
    desktop.action(ID_HELP_DOCUMENTATION)->trigger();
    desktop.action(ID_HELP_COMMAND_LINE)->trigger();
    desktop.action(ID_HELP_WEBSITE)->trigger();
    const QStringList pages = shell.targets(Shell::Action::OpenPage);
    QCOMPARE(pages.size(), 3);
    for (int i = 0; i < 2; ++i) {
        QFile page(pages[i]);
        QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(pages[i]));
        QVERIFY(page.readAll().contains(i == 0
                                            ? "<title>Tallyweaver Documentation</title>"
                                            : "<title>Tallyweaver Command Line Reference</title>"));
    }
    // Visit Website shows the shipped pages too: no placeholder address is left.
    QCOMPARE(pages[2], pages[0]);
}

namespace {

/// A saved project of `count` small files below `dir`, made in a window of its own.
QString savedProject(const QTemporaryDir& dir, const QString& name, int count) {
    FileChooserScript chooser;
    Desktop source;
    countSettings().mode = CountMode::Executable;
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths.append(writeFile(dir, name + QStringLiteral("/src/f%1.cpp").arg(i), smallSource()));
    }
    source.addFiles(chooser, paths);
    const QString project = dir.filePath(name + QStringLiteral(".tyx"));
    chooser.answers.push_back({project});
    source.action(ID_FILE_SAVE_AS)->trigger();
    return project;
}

/// The first item of the tree whose folder holds files.
QModelIndex folderWithFiles(CFolderView& tree, const QModelIndex& parent = QModelIndex()) {
    for (int row = 0; row < tree.model()->rowCount(parent); ++row) {
        const QModelIndex child = tree.model()->index(row, 0, parent);
        if (!tree.folderOf(child)->files().empty()) {
            return child;
        }
        if (const QModelIndex found = folderWithFiles(tree, child); found.isValid()) {
            return found;
        }
    }
    return QModelIndex();
}

}  // namespace

void MainFrameTest::treeShowsProjectOpenedInFilesOnly() {
    MessageBoxRecorder boxes;
    QTemporaryDir dir;
    const QString first = savedProject(dir, QStringLiteral("first"), 2);
    const QString second = savedProject(dir, QStringLiteral("second"), 3);
    Desktop desktop;
    desktop.frame.openProjectFile(first);
    desktop.action(ID_VIEW_FILES_ONLY)->trigger();
    for (const QString& project : {first, second}) {
        desktop.frame.openProjectFile(project);
        desktop.action(ID_VIEW_FOLDERS_AND_FILES)->trigger();
        CFolderView* tree = desktop.frame.folderView();
        QVERIFY2(tree->model()->rowCount() > 0, qPrintable(project));
        QCOMPARE(desktop.list().headerData(ColumnCode, Qt::Horizontal).toString(),
                 QStringLiteral("Executable"));
        QVERIFY(desktop.list().summaryRowCount() == 3);
        desktop.action(ID_VIEW_FILES_ONLY)->trigger();
    }
    QVERIFY(boxes.shown.empty());
}

void MainFrameTest::selectionMenuActsOnTheListItWasOpenedFrom_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("folders and files, Alt+S") << int(ID_VIEW_FOLDERS_AND_FILES) << true;
    QTest::newRow("folders and files, mouse") << int(ID_VIEW_FOLDERS_AND_FILES) << false;
    QTest::newRow("files only, Alt+S") << int(ID_VIEW_FILES_ONLY) << true;
    QTest::newRow("files only, mouse") << int(ID_VIEW_FILES_ONLY) << false;
}

void MainFrameTest::selectionMenuActsOnTheListItWasOpenedFrom() {
    QFETCH(int, mode);
    QFETCH(bool, byKeyboard);
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    QStringList paths;
    for (int i = 0; i < 4; ++i) {
        paths.append(writeFile(dir, QStringLiteral("src/f%1.cpp").arg(i), smallSource()));
    }
    desktop.addFiles(chooser, paths);
    desktop.action(mode)->trigger();

    // Three rows chosen as a user does: a click, then a Shift-click.
    CFileView* list = desktop.frame.fileView();
    const auto rowCentre = [list](int row) {
        return list->visualRect(list->model()->index(row, ColumnType)).center();
    };
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowCentre(2));
    QCOMPARE(list->selectedFileRows(), std::vector<int>({0, 1, 2}));
    QTRY_VERIFY(desktop.enabled(ID_SELECTION_REMOVE));

    QMenu* menu = desktop.frame.selectionMenu();
    if (byKeyboard) {
        QTest::keyClick(&desktop.frame, Qt::Key_S, Qt::AltModifier);
    } else {
        QMenuBar* bar = desktop.frame.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(menu->menuAction()).center());
    }
    QTRY_VERIFY(menu->isVisible());
    for (const int id : {ID_SELECTION_OPEN, ID_SELECTION_OPEN_IN_EDITOR,
                         ID_SELECTION_SHOW_IN_FOLDER, ID_SELECTION_REMOVE}) {
        QVERIFY2(desktop.enabled(id), qPrintable(desktop.action(id)->objectName()));
    }
    menu->close();
    QTest::keyClick(desktop.frame.menuBar(), Qt::Key_Escape);
    QTRY_VERIFY(!menu->isVisible());
    QCOMPARE(list->selectedFileRows(), std::vector<int>({0, 1, 2}));
    QVERIFY(desktop.enabled(ID_SELECTION_REMOVE));
    const auto* remove =
        qobject_cast<QToolButton*>(desktop.frame.findChild<QToolBar*>("toolBar")->widgetForAction(
            desktop.action(ID_SELECTION_REMOVE)));
    QVERIFY(remove->isEnabled());
}

void MainFrameTest::exitCancelledDuringARunKeepsCounting() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addSlowFiles(chooser, dir, 300, 600);
    desktop.action(ID_ACTION_COUNT)->trigger();
    QVERIFY(desktop.frame.isCounting());
    QStringList statusTexts;
    connect(desktop.frame.statusBar(), &QStatusBar::messageChanged, this,
            [&statusTexts](const QString& text) { statusTexts.append(text); });

    boxes.answers.push_back(QMessageBox::Cancel);
    desktop.action(ID_APP_EXIT)->trigger();
    QCOMPARE(boxes.texts(), QStringList{"Save changes to Untitled?"});
    QVERIFY(desktop.frame.isVisible());
    QVERIFY(desktop.frame.isCounting());
    QVERIFY(!statusTexts.contains(QStringLiteral("Ready.")));
    QVERIFY(!statusTexts.contains(QStringLiteral("Stopped.")));

    // Discard: the run is stopped and the window closes without saving.
    boxes.answers.push_back(QMessageBox::Discard);
    desktop.action(ID_APP_EXIT)->trigger();
    QCOMPARE(boxes.shown.size(), std::size_t(2));
    QVERIFY(!desktop.frame.isCounting());
    QVERIFY(!desktop.frame.isVisible());
}

void MainFrameTest::shortcutsStartTheirCommands_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("command");
    QTest::newRow("Delete removes") << "Del" << int(ID_SELECTION_REMOVE);
    QTest::newRow("F5 counts") << "F5" << int(ID_ACTION_COUNT);
    QTest::newRow("Escape stops") << "Esc" << int(ID_ACTION_STOP);
    QTest::newRow("Ctrl+Q exits") << "Ctrl+Q" << int(ID_APP_EXIT);
    QTest::newRow("Ctrl+Shift+S saves as") << "Ctrl+Shift+S" << int(ID_FILE_SAVE_AS);
    QTest::newRow("F1 opens the documentation") << "F1" << int(ID_HELP_DOCUMENTATION);
    QTest::newRow("Ctrl+N still makes a new project") << "Ctrl+N" << int(ID_FILE_NEW);
}

void MainFrameTest::shortcutsStartTheirCommands() {
    QFETCH(QString, keys);
    QFETCH(int, command);
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    ShellRecorder shell;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addSlowFiles(chooser, dir, (command == ID_ACTION_STOP ? 300 : 2), 400);
    desktop.focus(desktop.frame.fileView());
    desktop.frame.fileView()->selectRow(0);
    if (command == ID_ACTION_STOP) {
        desktop.action(ID_ACTION_COUNT)->trigger();
        QVERIFY(desktop.frame.isCounting());
    }
    const QKeySequence sequence(keys, QKeySequence::PortableText);
    QCOMPARE(desktop.action(command)->shortcut(), sequence);
    QVERIFY(desktop.action(command)->text().endsWith(QLatin1Char('\t') + keys));

    QSignalSpy triggered(desktop.action(command), &QAction::triggered);
    QSignalSpy closed(&desktop.frame, &CMainFrame::countRunClosed);
    QStringList statusTexts;
    connect(desktop.frame.statusBar(), &QStatusBar::messageChanged, this,
            [&statusTexts](const QString& text) { statusTexts.append(text); });
    QTest::keySequence(desktop.frame.fileView(), sequence);
    QCOMPARE(triggered.count(), 1);
    switch (command) {
        case ID_SELECTION_REMOVE:
            QCOMPARE(boxes.shown.size(), std::size_t(1));  // the removal question
            break;
        case ID_ACTION_COUNT:
        case ID_ACTION_STOP:
            QVERIFY(desktop.frame.isCounting() || closed.count() == 1);
            QTRY_VERIFY_WITH_TIMEOUT(closed.count() == 1, 30000);
            QCOMPARE(statusTexts.contains(QStringLiteral("Stopped.")), command == ID_ACTION_STOP);
            break;
        case ID_APP_EXIT:
            QCOMPARE(boxes.texts(), QStringList{"Save changes to Untitled?"});
            break;
        case ID_FILE_SAVE_AS:
            QCOMPARE(chooser.asked.back().kind, FileChooser::Kind::SaveProject);
            break;
        case ID_HELP_DOCUMENTATION:
            QCOMPARE(shell.targets(Shell::Action::OpenPage).size(), 1);
            break;
        default:
            break;
    }
}

void MainFrameTest::viewMenuShowsStateOfBarsAndModes() {
    Desktop desktop;
    QAction* toolBar = desktop.action(ID_VIEW_TOOLBAR);
    QAction* statusBar = desktop.action(ID_VIEW_STATUS_BAR);
    QVERIFY(toolBar->isCheckable() && toolBar->isChecked());
    QVERIFY(statusBar->isCheckable() && statusBar->isChecked());
    toolBar->trigger();
    statusBar->trigger();
    QVERIFY(!toolBar->isChecked() && desktop.frame.findChild<QToolBar*>("toolBar")->isHidden());
    QVERIFY(!statusBar->isChecked() && desktop.frame.statusBar()->isHidden());
    toolBar->trigger();
    QVERIFY(toolBar->isChecked() && !desktop.frame.findChild<QToolBar*>("toolBar")->isHidden());

    // The two modes are one exclusive pair; choosing the shown one again keeps it checked.
    QAction* both = desktop.action(ID_VIEW_FOLDERS_AND_FILES);
    QAction* filesOnly = desktop.action(ID_VIEW_FILES_ONLY);
    QVERIFY(both->actionGroup() != nullptr && both->actionGroup() == filesOnly->actionGroup());
    QVERIFY(both->actionGroup()->isExclusive());
    both->trigger();
    QVERIFY(both->isChecked() && !filesOnly->isChecked());
    filesOnly->trigger();
    QVERIFY(!both->isChecked() && filesOnly->isChecked());
}

void MainFrameTest::missingLauncherIsExplained_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("says");
    QTest::newRow("open files") << int(ID_SELECTION_OPEN) << "No program could be started";
    QTest::newRow("text editor") << int(ID_SELECTION_OPEN_IN_EDITOR)
                                 << "No text editor could be started";
    QTest::newRow("show in folder")
        << int(ID_SELECTION_SHOW_IN_FOLDER) << "No program could be started";
    QTest::newRow("help page") << int(ID_HELP_DOCUMENTATION) << "No program could be started";
    QTest::newRow("website") << int(ID_HELP_WEBSITE) << "No program could be started";
}

void MainFrameTest::missingLauncherIsExplained() {
    QFETCH(int, command);
    QFETCH(QString, says);
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    ShellRecorder shell;
    shell.succeeds = false;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), smallSource()),
                               writeFile(dir, QStringLiteral("b.cpp"), smallSource())});
    desktop.focus(desktop.frame.fileView());
    desktop.frame.fileView()->selectAll();
    desktop.action(command)->trigger();
    // One message for the command, however many files it had, and nothing more is tried.
    QCOMPARE(shell.requests.size(), std::size_t(1));
    QCOMPARE(boxes.shown.size(), std::size_t(1));
    QVERIFY2(boxes.shown.front().text.startsWith(says), qPrintable(boxes.shown.front().text));
    QVERIFY(boxes.shown.front().text.contains(shell.requests.front().second));
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
