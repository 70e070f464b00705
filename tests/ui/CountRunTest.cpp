// The count run: the worker's walk over the tree, progress and Stop, failing files, the
// modified rule, and closing the window while the worker runs.

#include <QAbstractItemView>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolButton>

#include <utility>

#include "UiTestSupport.h"
#include "engine/FileCount.h"
#include "project/FailedCountTable.h"
#include "ui/Artwork.h"
#include "ui/CountRun.h"

using namespace tw;
using namespace tw::test;
using namespace tw::ui;

namespace {

/// A C++ source of `functions` small functions, so that a few hundred of them take a moment.
QByteArray generatedSource(int functions) {
    QByteArray text = "// generated for the count run tests\n#include <cstdio>\n\n";
    for (int i = 0; i < functions; ++i) {
        text += "/* function " + QByteArray::number(i) + " */\nint f" + QByteArray::number(i) +
                "(int x) {\n    if (x > 1) { return x * 2; } // doubled\n    return x;\n}\n\n";
    }
    return text;
}

/// Functions per file in the runs that Stop or closing interrupts: 300 such files keep every
/// processor busy for far longer than the test takes to press Stop, even on a loaded machine.
constexpr int kStoppableFunctions = 600;

QStringList writeSources(const QTemporaryDir& dir, int files, int functions) {
    QStringList paths;
    for (int i = 0; i < files; ++i) {
        paths.append(writeFile(dir, QStringLiteral("gen/part%1/file%2.cpp").arg(i % 7).arg(i),
                               generatedSource(functions)));
    }
    return paths;
}

}  // namespace

class CountRunTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void workerVisitsOwnFilesBeforeSubfolders();
    void workerSkipsCountedFilesButAdvances();
    void workerPutsFailuresInTableAndKeepsThemFailed();
    void severalThreadsCountWhatOneThreadCounts();
    void aRunReportsProgressThenFinishes();
    void progressAndClosingTexts();
    void stopInTheMiddleOfARun();
    void failingFileInARun();
    void failuresOfASavedProjectShowOnceOpened();
    void aRunUsesTheDocumentsSettingsAndFailures();
    void modifiedOnlyWhenCountedFilesChanged();
    void foldersCanBeBrowsedDuringARun();
    void closingTheWindowStopsTheRun();
    void errorsShownAfterACancelledClose();
};

void CountRunTest::init() {
    countSettings() = CountSettings{};
    failedCountTable().clear();
}

void CountRunTest::workerVisitsOwnFilesBeforeSubfolders() {
    QTemporaryDir dir;
    ProjectFolder root;
    // The folder "a" gets its subfolder before its own file; its own file is still first.
    const QString deep = writeFile(dir, QStringLiteral("a/b/deep.cpp"), smallSource());
    const QString own = writeFile(dir, QStringLiteral("a/own.cpp"), smallSource());
    FileCount* deepRecord = root.AddFilePath(deep.toStdU16String());
    FileCount* ownRecord = root.AddFilePath(own.toStdU16String());

    CountRun::State state;
    state.prepare(root);
    state.running = true;
    state.stop = true;  // the run ends after the first file it visits
    CountRun::walk(state, countSettings(), failedCountTable(), 1);
    QVERIFY(ownRecord->counted);
    QVERIFY(!deepRecord->counted);
    QCOMPARE(state.index, 1);
    QCOMPARE(state.total, 2);
    QVERIFY(!state.running);
    QCOMPARE(qs(state.currentFile), qs(ownRecord->path));

    state.prepare(root);
    state.running = true;
    CountRun::walk(state, countSettings(), failedCountTable(), 1);
    QVERIFY(deepRecord->counted);
    QCOMPARE(state.index, 2);
}

void CountRunTest::workerSkipsCountedFilesButAdvances() {
    QTemporaryDir dir;
    ProjectFolder root;
    FileCount* first = root.AddFilePath(writeFile(dir, "x/1.cpp", smallSource()).toStdU16String());
    FileCount* second = root.AddFilePath(writeFile(dir, "x/2.cpp", smallSource()).toStdU16String());
    first->counted = true;
    first->code = 99;  // a counted record is left as it is

    CountRun::State state;
    state.prepare(root);
    state.running = true;
    CountRun::walk(state, countSettings(), failedCountTable(), 1);
    QCOMPARE(first->code, 99u);
    QCOMPARE(second->code, 3u);
    QCOMPARE(state.index, 2);
    QCOMPARE(qs(state.currentFile), qs(second->path));
}

void CountRunTest::workerPutsFailuresInTableAndKeepsThemFailed() {
    QTemporaryDir dir;
    ProjectFolder root;
    const QString gone = writeFile(dir, "gone.cpp", smallSource());
    FileCount* record = root.AddFilePath(gone.toStdU16String());
    QFile::remove(gone);

    CountRun::State state;
    state.prepare(root);
    state.running = true;
    CountRun::walk(state, countSettings(), failedCountTable(), 1);
    QVERIFY(!record->counted);
    QVERIFY(record->failed);
    QCOMPARE(qs(record->remarks), QStringLiteral("Failed to open file."));
    QCOMPARE(record->errorLine, -1);
    QCOMPARE(failedCountTable().size(), std::size_t(1));
    QCOMPARE(qs(failedCountTable().begin()->first), qs(record->path));
    QCOMPARE(qs(failedCountTable().begin()->second), QStringLiteral("Failed to open file."));
}

void CountRunTest::severalThreadsCountWhatOneThreadCounts() {
    QTemporaryDir dir;
    // Two identical projects of a few hundred files, some already counted, two failing.
    ProjectFolder one;
    ProjectFolder many;
    for (int i = 0; i < 240; ++i) {
        const QString name = QStringLiteral("p%1/f%2.cpp").arg(i % 7).arg(i);
        QByteArray text = smallSource();
        for (int k = 0; k < i % 30; ++k) {
            text += "int x = f(a[k] + 1); // more\n";
        }
        if (i % 101 == 50) {
            text += "/* never closed\n";
        }
        const std::u16string path = writeFile(dir, name, text).toStdU16String();
        FileCount* a = one.AddFilePath(path);
        FileCount* b = many.AddFilePath(path);
        if (i % 9 == 0) {
            a->counted = b->counted = true;
        }
    }
    CountRun::State state;
    state.prepare(one);
    state.running = true;
    CountRun::walk(state, countSettings(), failedCountTable(), 1);
    const FailedCountTable failedByOne = failedCountTable();
    failedCountTable().clear();
    state.prepare(many);
    state.running = true;
    CountRun::walk(state, countSettings(), failedCountTable(), 3);
    QCOMPARE(state.index, state.total);
    QVERIFY(!state.running);
    QCOMPARE(failedCountTable(), failedByOne);
    QCOMPARE(failedByOne.size(), std::size_t(2));
    std::vector<const FileCount*> a;
    std::vector<const FileCount*> b;
    std::as_const(one).CollectRecords(a);
    std::as_const(many).CollectRecords(b);
    QCOMPARE(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        QCOMPARE(a[i]->counted, b[i]->counted);
        QCOMPARE(a[i]->code, b[i]->code);
        QCOMPARE(a[i]->commentOwnLine, b[i]->commentOwnLine);
        QCOMPARE(a[i]->commentCodeLine, b[i]->commentCodeLine);
        QCOMPARE(a[i]->blank, b[i]->blank);
        QCOMPARE(a[i]->commentWords, b[i]->commentWords);
    }

    // A stop lets the files in hand finish and hands out no more.
    failedCountTable().clear();
    many.ResetAllCounts();
    state.prepare(many);
    state.running = true;
    state.stop = true;
    CountRun::walk(state, countSettings(), failedCountTable(), 3);
    QCOMPARE(state.index, 0);
    QVERIFY(!many.HasCounted());
}

void CountRunTest::aRunReportsProgressThenFinishes() {
    QTemporaryDir dir;
    ProjectFolder root;
    for (const QString& path : writeSources(dir, 60, 20)) {
        root.AddFilePath(path.toStdU16String());
    }
    CountRun run;
    QSignalSpy progress(&run, &CountRun::progress);
    QSignalSpy finished(&run, &CountRun::finished);
    QVERIFY(run.start(root, countSettings(), failedCountTable()));
    QVERIFY(run.isRunning());
    QVERIFY(!run.start(root, countSettings(), failedCountTable()));  // one run at a time
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
    QCOMPARE(finished.front().front().toBool(), true);
    QVERIFY(!run.isRunning());
    QVERIFY(!root.HasUncounted());
    for (const QList<QVariant>& tick : progress) {
        QVERIFY(tick[0].toInt() >= 1 && tick[0].toInt() <= 60);
        QCOMPARE(tick[1].toInt(), 60);
    }

    // Stopped and waited for: the run is over without a signal, and not complete.
    root.ResetAllCounts();
    QVERIFY(run.start(root, countSettings(), failedCountTable()));
    run.requestStop();
    QVERIFY(!run.stopAndWait());
    QVERIFY(!run.isRunning());
    QCOMPARE(finished.count(), 1);
    QVERIFY(root.HasUncounted());
}

void CountRunTest::progressAndClosingTexts() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    // Large enough that the run outlasts many ticks of the progress timer, even when the
    // window's thread gets the processor late on a busy machine.
    const QStringList files = writeSources(dir, 100, 6000);
    desktop.addFiles(chooser, files);

    QStringList texts;
    connect(desktop.frame.statusBar(), &QStatusBar::messageChanged, this,
            [&texts](const QString& text) { texts.append(text); });
    QVERIFY(desktop.countAndWait());
    QVERIFY(!desktop.frame.isCounting());

    const QStringList progress = texts.filter(QStringLiteral("Counting file "));
    QVERIFY(!progress.isEmpty());
    const QRegularExpression format(QStringLiteral("^Counting file (\\d+) of 100: (.*)$"));
    for (const QString& text : progress) {
        const QRegularExpressionMatch match = format.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(text));
        QVERIFY(match.captured(1).toInt() >= 1 && match.captured(1).toInt() <= 100);
        QVERIFY(match.captured(2).isEmpty() || match.captured(2).endsWith(QStringLiteral(".cpp")));
    }
    // The list is rebuilt with the final figures, then the run's closing text stays.
    QVERIFY(texts.indexOf(progress.last()) <
            texts.lastIndexOf(QStringLiteral("Updating display information.  Please wait...")));
    QCOMPARE(texts.last(), QStringLiteral("Ready."));
    QCOMPARE(desktop.root().CountedRecords(true), 100u);
    QVERIFY(boxes.shown.empty());
}

void CountRunTest::stopInTheMiddleOfARun() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addFiles(chooser, writeSources(dir, 300, kStoppableFunctions));

    QStringList texts;
    connect(desktop.frame.statusBar(), &QStatusBar::messageChanged, this,
            [&texts](const QString& text) { texts.append(text); });
    QSignalSpy closed(&desktop.frame, &CMainFrame::countRunClosed);
    desktop.action(ID_ACTION_COUNT)->trigger();
    QVERIFY(desktop.enabled(ID_ACTION_STOP));
    desktop.action(ID_ACTION_STOP)->trigger();
    QVERIFY(closed.wait(30000));

    const std::uint32_t counted = desktop.root().CountedRecords(true);
    QVERIFY2(counted < 300, qPrintable(QString::number(counted)));
    // A stopped run does not read like a finished one.
    QCOMPARE(texts.last(), QStringLiteral("Stopped."));
    QCOMPARE(desktop.frame.statusBar()->currentMessage(), QStringLiteral("Stopped."));
    QVERIFY(desktop.enabled(ID_ACTION_COUNT));
    QVERIFY(!desktop.enabled(ID_ACTION_STOP));

    // A second run counts only the rest and completes.
    texts.clear();
    QVERIFY(desktop.countAndWait());
    QCOMPARE(desktop.root().CountedRecords(true), 300u);
    QVERIFY(!texts.contains(QStringLiteral("Stopped.")));
    QCOMPARE(texts.last(), QStringLiteral("Ready."));
    QVERIFY(!desktop.enabled(ID_ACTION_COUNT));
}

void CountRunTest::aRunUsesTheDocumentsSettingsAndFailures() {
    // A document over settings and a failure table of its own: the window counts by those
    // and fills those, and the process-wide ones stay as they were.
    QTemporaryDir dir;
    CountSettings settings;
    settings.mode = CountMode::Executable;
    FailedCountTable failures;
    CTallyweaverDoc document(settings, failures);
    CMainFrame frame(document);
    frame.show();
    QTRY_VERIFY(frame.currentView() != nullptr);
    document.root().AddFilePath(
        writeFile(dir, QStringLiteral("a.cpp"), "int f() { return g(1); }\n").toStdU16String());
    document.root().AddFilePath(dir.filePath(QStringLiteral("gone.cpp")).toStdU16String());
    frame.action(ID_VIEW_FILES_ONLY)->trigger();
    ModalDialogAnswerer errors([](QDialog&) { return true; });
    QSignalSpy closed(&frame, &CMainFrame::countRunClosed);
    frame.action(ID_ACTION_COUNT)->trigger();
    QVERIFY(closed.wait(30000));
    QCOMPARE(errors.answered, 1);
    QCOMPARE(failures.size(), std::size_t(1));
    QVERIFY(failedCountTable().empty());
    const FileListModel& list = frame.fileView()->listModel();
    QCOMPARE(list.headerData(ColumnCode, Qt::Horizontal).toString(), QStringLiteral("Executable"));
    // Declarations show in the Executable mode only.
    QVERIFY(list.cellText(0, ColumnDeclaration) != QStringLiteral("-"));
    QCOMPARE(list.data(list.index(1, ColumnType), Qt::ToolTipRole).toString(),
             qs(failures.begin()->second));
    document.setModifiedFlag(false);
}

void CountRunTest::failingFileInARun() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    const QString good = writeFile(dir, QStringLiteral("src/good.cpp"), smallSource());
    const QString bad = writeFile(dir, QStringLiteral("src/bad.cpp"), smallSource());
    desktop.addFiles(chooser, {good, bad});
    QFile::remove(bad);

    // The Errors dialog lists the file with the error text its count left.
    QStringList listed;
    QString folderRowBehind;
    ModalDialogAnswerer errors([&](QDialog& dialog) {
        listed.append(dialog.windowTitle());
        folderRowBehind = desktop.list().cellText(2, ColumnFileName);
        const auto* list = dialog.findChild<QAbstractItemView*>(QStringLiteral("failedList"));
        for (int row = 0; list != nullptr && row < list->model()->rowCount(); ++row) {
            listed.append(list->model()->index(row, 0).data().toString() + QLatin1Char('|') +
                          list->model()->index(row, 1).data().toString());
        }
        return true;
    });
    QVERIFY(desktop.countAndWait());
    QCOMPARE(listed, QStringList({"Errors", qs(projectPathOf(bad)) + "|Failed to open file."}));
    // The window behind the dialog already shows the run's figures.
    QCOMPARE(folderRowBehind, QStringLiteral("Folder (1 succeeded, 1 failed)"));
    QVERIFY(boxes.shown.empty());
    FileCount* record = desktop.root().FindFile(projectPathOf(bad)).record;
    QVERIFY(!record->counted && record->failed);
    QCOMPARE(qs(record->remarks), QStringLiteral("Failed to open file."));
    QCOMPARE(desktop.list().cellText(1, ColumnCode), QStringLiteral("-"));
    QCOMPARE(desktop.list().cellText(2, ColumnFileName),
             QStringLiteral("Folder (1 succeeded, 1 failed)"));
    QVERIFY(desktop.enabled(ID_ACTION_COUNT));

    // Closed, the dialog opens again from the View menu and from the status bar.
    auto* failuresButton = desktop.frame.findChild<QToolButton*>(QStringLiteral("failuresButton"));
    QVERIFY(failuresButton != nullptr);
    QVERIFY(failuresButton->isVisible());
    QCOMPARE(failuresButton->text(), QStringLiteral("1 failed"));
    QVERIFY(desktop.enabled(ID_VIEW_ERRORS));
    listed.clear();
    desktop.action(ID_VIEW_ERRORS)->trigger();
    failuresButton->click();
    QCOMPARE(errors.answered, 3);
    QCOMPARE(listed.count(QStringLiteral("Errors")), 2);

    // A later run tries it again.
    writeFile(dir, QStringLiteral("src/bad.cpp"), smallSource());
    QVERIFY(desktop.countAndWait());
    QVERIFY(record->counted);
    QCOMPARE(errors.answered, 3);
    QVERIFY(!desktop.enabled(ID_VIEW_ERRORS));
    QVERIFY(!failuresButton->isVisible());
}

void CountRunTest::failuresOfASavedProjectShowOnceOpened() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("failed.tyx"));
    const QString good = writeFile(dir, QStringLiteral("src/good.cpp"), smallSource());
    const QString bad = writeFile(dir, QStringLiteral("src/io/bad.cpp"), smallSource());
    const QString src = qs(projectFolderOf(good));
    const QString io = qs(projectFolderOf(bad));
    const auto imageOf = [](const QModelIndex& index) {
        return index.data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
    };
    const QImage failedFile = artwork::fileStateImage(FileStateImage::Failed);
    const QImage closedFolder = artwork::treeImage(TreeImage::ClosedFolder);
    // The folders of a failed file, and those above it, show the failure in the tree.
    const auto checkTree = [&](CFolderView& tree) {
        const QModelIndex top = tree.model()->index(0, 0);
        QCOMPARE(top.data().toString(), src);
        QVERIFY(tree.isExpanded(top));
        const QModelIndex ioItem = tree.findItem(io);
        QCOMPARE(ioItem.parent(), top);
        QVERIFY(imageOf(ioItem) != closedFolder);
        QVERIFY(imageOf(top) != artwork::treeImage(TreeImage::OpenFolder));
    };
    {
        Desktop desktop;
        desktop.addFiles(chooser, {good, bad});
        QFile::remove(bad);
        ModalDialogAnswerer errors([](QDialog&) { return true; });
        QVERIFY(desktop.countAndWait());
        checkTree(*desktop.frame.folderView());
        chooser.answers.push_back({project});
        desktop.action(ID_FILE_SAVE_AS)->trigger();
        QVERIFY(!desktop.document.isModified());
    }

    Desktop desktop;
    QStringList listed;
    ModalDialogAnswerer errors([&](QDialog& dialog) {
        const auto* list = dialog.findChild<QAbstractItemView*>(QStringLiteral("failedList"));
        for (int row = 0; list != nullptr && row < list->model()->rowCount(); ++row) {
            listed.append(list->model()->index(row, 0).data().toString() + QLatin1Char('|') +
                          list->model()->index(row, 1).data().toString());
        }
        return true;
    });
    desktop.frame.openProjectFile(project);
    QVERIFY(boxes.shown.empty());
    CFolderView& tree = *desktop.frame.folderView();
    checkTree(tree);
    QCOMPARE(desktop.list().rowLabel(desktop.list().rowCount() - 1),
             QStringLiteral("Project (1 succeeded, 1 failed)"));
    tree.selectItem(tree.findItem(io));
    QCOMPARE(desktop.list().rowLabel(0), QStringLiteral("bad.cpp"));
    QCOMPARE(imageOf(desktop.list().index(0, ColumnFileName)), failedFile);
    QCOMPARE(desktop.list().rowLabel(1), QStringLiteral("Folder (0 succeeded, 1 failed)"));

    // The Errors dialog lists it, from the View menu and the status bar.
    auto* failuresButton = desktop.frame.findChild<QToolButton*>(QStringLiteral("failuresButton"));
    QVERIFY(failuresButton->isVisible());
    QCOMPARE(failuresButton->text(), QStringLiteral("1 failed"));
    QVERIFY(desktop.enabled(ID_VIEW_ERRORS));
    desktop.action(ID_VIEW_ERRORS)->trigger();
    QCOMPARE(listed, QStringList{qs(projectPathOf(bad)) + QStringLiteral("|Failed to open file.")});

    // Reset undoes the failures with the counts; a new project has none.
    boxes.answers.push_back(QMessageBox::Yes);
    desktop.action(ID_ACTION_RESET)->trigger();
    QVERIFY(!desktop.enabled(ID_VIEW_ERRORS));
    QVERIFY(!failuresButton->isVisible());
    QCOMPARE(imageOf(tree.findItem(io)), closedFolder);
    desktop.frame.openProjectFile(project);
    QVERIFY(desktop.enabled(ID_VIEW_ERRORS));
    desktop.document.setModifiedFlag(false);
    desktop.action(ID_FILE_NEW)->trigger();
    QVERIFY(!desktop.enabled(ID_VIEW_ERRORS));
    QCOMPARE(errors.answered, 1);
}

void CountRunTest::modifiedOnlyWhenCountedFilesChanged() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    const QString good = writeFile(dir, QStringLiteral("good.cpp"), smallSource());
    const QString bad = writeFile(dir, QStringLiteral("bad.cpp"), smallSource());
    desktop.addFiles(chooser, {good, bad});
    QFile::remove(bad);
    ModalDialogAnswerer errors([](QDialog&) { return true; });
    QVERIFY(desktop.countAndWait());
    chooser.answers.push_back({dir.filePath(QStringLiteral("p.tyx"))});
    desktop.action(ID_FILE_SAVE_AS)->trigger();
    QVERIFY(!desktop.document.isModified());
    QCOMPARE(desktop.document.countedFilesAtSave(), 1);

    // Every file attempted fails: the number of counted files stays, so does the flag.
    QVERIFY(desktop.countAndWait());
    QVERIFY(!desktop.document.isModified());

    writeFile(dir, QStringLiteral("bad.cpp"), smallSource());
    QVERIFY(desktop.countAndWait());
    QVERIFY(desktop.document.isModified());
}

void CountRunTest::foldersCanBeBrowsedDuringARun() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addFiles(chooser, writeSources(dir, 140, 400));

    QSignalSpy closed(&desktop.frame, &CMainFrame::countRunClosed);
    desktop.action(ID_ACTION_COUNT)->trigger();
    // Selecting folders and switching views rebuild the list from records the worker is
    // writing at the same time.
    int rebuilds = 0;
    while (desktop.frame.isCounting() && rebuilds < 2000) {
        CFolderView* tree = desktop.frame.folderView();
        const QModelIndex parent = tree->selectedItem().parent();
        for (int row = 0; row < tree->model()->rowCount(parent); ++row) {
            tree->selectItem(tree->model()->index(row, 0, parent));
            ++rebuilds;
        }
        desktop.action(ID_VIEW_FILES_ONLY)->trigger();
        desktop.action(ID_VIEW_FOLDERS_AND_FILES)->trigger();
        QCoreApplication::processEvents();
    }
    QVERIFY(closed.count() == 1 || closed.wait(30000));
    QCOMPARE(desktop.root().CountedRecords(true), 140u);
    qInfo("%d list rebuilds during the run", rebuilds);
}

void CountRunTest::closingTheWindowStopsTheRun() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    auto desktop = std::make_unique<Desktop>();
    desktop->addFiles(chooser, writeSources(dir, 300, kStoppableFunctions));
    desktop->action(ID_ACTION_COUNT)->trigger();
    QVERIFY(desktop->frame.isCounting());

    boxes.answers.push_back(QMessageBox::Discard);
    QVERIFY(desktop->frame.close());
    QVERIFY(!desktop->frame.isCounting());
    QCOMPARE(boxes.texts(), QStringList{"Save changes to Untitled?"});
    QVERIFY(desktop->root().CountedRecords(true) < 300u);
    // The project outlives the worker: nothing touches it once the window is gone.
    desktop.reset();
}

void CountRunTest::errorsShownAfterACancelledClose() {
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    QStringList files = writeSources(dir, 120, kStoppableFunctions);
    const QString bad = writeFile(dir, QStringLiteral("bad.cpp"), smallSource());
    files.append(bad);
    desktop.addFiles(chooser, files);
    QFile::remove(bad);

    // The run ends while the close question is open; the user then cancels.
    QSignalSpy closed(&desktop.frame, &CMainFrame::countRunClosed);
    int asked = 0;
    ui::MessageBox::setHandler([&](const ui::MessageBox::Request&) {
        ++asked;
        if (closed.isEmpty()) {
            closed.wait(60000);
        }
        return QMessageBox::Cancel;
    });
    int errorDialogs = 0;
    ModalDialogAnswerer errors([&errorDialogs](QDialog& dialog) {
        errorDialogs += dialog.windowTitle() == QStringLiteral("Errors") ? 1 : 0;
        return true;
    });
    desktop.action(ID_ACTION_COUNT)->trigger();
    QVERIFY(desktop.frame.isCounting());
    QVERIFY(!desktop.frame.close());
    ui::MessageBox::resetHandler();

    QCOMPARE(asked, 1);
    QCOMPARE(closed.count(), 1);
    QCOMPARE(errorDialogs, 1);
    QVERIFY(desktop.frame.isVisible());
    desktop.document.setModifiedFlag(false);
}

QTEST_MAIN(CountRunTest)
#include "CountRunTest.moc"
