// How the main window behaves as a desktop program: Tab between its panes, the keyboard focus
// back after a dialog, file dialogs that start where the project is, and messages about a file
// that name it and say why.

#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include "UiTestSupport.h"
#include "ui/RecentProjects.h"

using namespace tw;
using namespace tw::test;
using namespace tw::ui;

namespace {

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

class DesktopConventionsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { countSettings() = CountSettings{}; }
    void tabMovesBetweenTreeAndList();
    void focusComesBackAfterADialog();
    void fileDialogsStartWhereTheProjectIs();
    void addFilesOffersTheSourceFilesFirst();
    void projectFileProblemsNameTheFileAndTheReason_data();
    void projectFileProblemsNameTheFileAndTheReason();
};

void DesktopConventionsTest::tabMovesBetweenTreeAndList() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("src/a.cpp"), smallSource()),
                               writeFile(dir, QStringLiteral("src/b.cpp"), smallSource())});
    CFolderView* tree = desktop.frame.folderView();
    CFileView* list = desktop.frame.fileView();
    desktop.focus(tree);

    QTest::keyClick(tree, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), list);
    // The list is left as a whole: Tab does not walk its cells.
    list->setCurrentIndex(list->model()->index(0, 1));
    const QModelIndex cell = list->currentIndex();
    QTest::keyClick(list, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), tree);
    QCOMPARE(list->currentIndex(), cell);

    desktop.focus(list);
    QTest::keyClick(list, Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_COMPARE(QApplication::focusWidget(), tree);
    QCOMPARE(list->currentIndex(), cell);
    // Shift let go, for the tests that follow.
    QTest::keyRelease(tree, Qt::Key_Shift);
}

void DesktopConventionsTest::focusComesBackAfterADialog() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("src/a.cpp"), smallSource())});
    CFileView* list = desktop.frame.fileView();
    desktop.focus(list);

    ModalDialogAnswerer about([](QDialog&) { return true; });
    desktop.action(ID_APP_ABOUT)->trigger();
    QCOMPARE(about.answered, 1);
    QTRY_COMPARE(QApplication::activeWindow(), &desktop.frame);
    QTRY_COMPARE(QApplication::focusWidget(), list);
    // The commands that act on the list's selection see it again.
    list->selectRow(0);
    desktop.frame.updateCommandStates();
    QVERIFY(desktop.enabled(ID_SELECTION_OPEN));
}

void DesktopConventionsTest::fileDialogsStartWhereTheProjectIs() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("tallyweaver.ini")), QSettings::IniFormat);
    RecentProjects recent(&settings);
    const QString earlier = dir.filePath(QStringLiteral("earlier"));
    recent.add(earlier + QStringLiteral("/e.tyx"));
    CTallyweaverDoc document(&recent);
    CMainFrame frame(document);
    frame.show();
    QTRY_VERIFY(frame.currentView() != nullptr);

    // Without a project file: Open and Save As where the last project was, Add File(s) where
    // the last files came from.
    frame.action(ID_FILE_OPEN)->trigger();
    QCOMPARE(chooser.asked.back().directory, earlier);
    const QString source = writeFile(dir, QStringLiteral("src/a.cpp"), smallSource());
    chooser.answers.push_back({source});
    frame.action(ID_ACTION_ADD_FILE)->trigger();
    QCOMPARE(chooser.asked.back().directory, QString());
    const QString project = dir.filePath(QStringLiteral("project/p.tyx"));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("project"))));
    chooser.answers.push_back({project});
    frame.action(ID_FILE_SAVE_AS)->trigger();
    QCOMPARE(chooser.asked.back().directory, earlier);
    QCOMPARE(chooser.asked.back().suggested, QStringLiteral("Untitled.tyx"));
    QVERIFY(QFile::exists(project));

    // With one: every dialog starts in its folder, Generate Report too.
    const QString projectFolder = dir.filePath(QStringLiteral("project"));
    for (const int command : {ID_FILE_OPEN, ID_ACTION_ADD_FILE, ID_FILE_SAVE_AS}) {
        frame.action(command)->trigger();
        QCOMPARE(chooser.asked.back().directory, projectFolder);
    }
    QString reportFolder;
    ModalDialogAnswerer report([&reportFolder](QDialog& dialog) {
        reportFolder = child<QLineEdit>(&dialog, "directoryEdit")->text();
        return false;
    });
    frame.action(ID_TOOLS_REPORT)->trigger();
    QCOMPARE(report.answered, 1);
    QCOMPARE(reportFolder, projectFolder);
    document.setModifiedFlag(false);
}

void DesktopConventionsTest::addFilesOffersTheSourceFilesFirst() {
    const QStringList filters = FileChooser::sourceFileFilters();
    QCOMPARE(filters.size(), 2);
    QVERIFY2(filters[0].startsWith(QStringLiteral("Source files (*.")), qPrintable(filters[0]));
    for (const char* pattern : {"*.c ", "*.cpp ", "*.cxx", "*.h ", "*.hpp", "*.rc", "*.java"}) {
        QVERIFY2(filters[0].contains(QLatin1String(pattern)), pattern);
    }
    QCOMPARE(filters[1], QStringLiteral("All Files (*)"));
}

void DesktopConventionsTest::projectFileProblemsNameTheFileAndTheReason_data() {
    // The message's first line as it always was ("%1" for the file), then beneath it the file
    // unless that line names it, then the system's reason (errno; 0 for none).
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<bool>("pathBeneath");
    QTest::addColumn<int>("error");
    QTest::newRow("open: missing file") << "missing"
                                        << "%1 was not found." << false << ENOENT;
    QTest::newRow("open: a folder") << "folder"
                                    << "Access to %1 was denied." << false << EISDIR;
    QTest::newRow("open: damaged file") << "damaged"
                                        << "Unexpected file format." << true << 0;
    QTest::newRow("save: into a missing folder")
        << "saveMissing"
        << "%1 contains an incorrect path." << false << ENOENT;
}

void DesktopConventionsTest::projectFileProblemsNameTheFileAndTheReason() {
    QFETCH(QString, scenario);
    QFETCH(QString, firstLine);
    QFETCH(bool, pathBeneath);
    QFETCH(int, error);

    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    QString path;
    if (scenario == QLatin1String("missing")) {
        path = dir.filePath(QStringLiteral("missing.tyx"));
        desktop.frame.openProjectFile(path);
    } else if (scenario == QLatin1String("folder")) {
        path = dir.filePath(QStringLiteral("folder.tyx"));
        QVERIFY(QDir().mkpath(path));
        desktop.frame.openProjectFile(path);
    } else if (scenario == QLatin1String("damaged")) {
        QByteArray header(20, '\0');
        header[0] = 3;  // three records announced, none follow
        path = writeFile(dir, QStringLiteral("damaged.tyx"), header);
        desktop.frame.openProjectFile(path);
    } else if (scenario == QLatin1String("saveMissing")) {
        desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), smallSource())});
        path = dir.filePath(QStringLiteral("no/such/folder/p.tyx"));
        chooser.answers.push_back({path});
        desktop.action(ID_FILE_SAVE_AS)->trigger();
    }

    QString expected = firstLine.arg(path);
    QStringList beneath;
    if (pathBeneath) {
        beneath.append(path);
    }
    if (error != 0) {
        beneath.append(reason(error));
    }
    if (!beneath.isEmpty()) {
        expected += QStringLiteral("\n\n") + beneath.join(QLatin1Char('\n'));
    }
    QCOMPARE(boxes.texts(), QStringList{expected});
    QCOMPARE(boxes.shown.front().icon, QMessageBox::Warning);
    desktop.document.setModifiedFlag(false);
}

QTEST_MAIN(DesktopConventionsTest)
#include "DesktopConventionsTest.moc"
