// What the main window remembers and shows of itself: the modified marker in its title, its
// place, divider, view mode, column widths, shown columns and dialog folders across a restart, and
// a sensible size at the first start.

#include <QAbstractButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QToolBar>

#include "UiTestSupport.h"
#include "ui/CSplitterView.h"
#include "ui/WindowState.h"

#include <memory>

using namespace tw;
using namespace tw::test;
using namespace tw::ui;

class WindowStateTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void titleCarriesModifiedMarker();
    void firstStartTakesSensibleSize_data();
    void firstStartTakesSensibleSize();
    void stateSurvivesRestart();
    void barsAndReportChoicesSurviveRestart();
    void unusableSavedValuesFallBackToDefaults();
    void positionalColumnWidthsAreConvertedOnce();
    void shownAndHiddenColumnsSurviveRestart();
};

void WindowStateTest::titleCarriesModifiedMarker() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    QVERIFY(desktop.frame.windowTitle().contains(QStringLiteral("[*]")));
    QCOMPARE(shownTitle(desktop.frame), QStringLiteral("Untitled - Tallyweaver"));
    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), smallSource())});
    QCOMPARE(shownTitle(desktop.frame), QStringLiteral("Untitled* - Tallyweaver"));

    // Saved, the marker goes; counted, the project has changed again.
    chooser.answers.push_back({dir.filePath(QStringLiteral("p.tyx"))});
    desktop.action(ID_FILE_SAVE)->trigger();
    QCOMPARE(shownTitle(desktop.frame), QStringLiteral("p.tyx - Tallyweaver"));
    QVERIFY(desktop.countAndWait());
    QCOMPARE(shownTitle(desktop.frame), QStringLiteral("p.tyx* - Tallyweaver"));
    boxes.answers.push_back(QMessageBox::Yes);
    desktop.action(ID_ACTION_RESET)->trigger();
    QVERIFY(desktop.frame.isWindowModified());
}

void WindowStateTest::firstStartTakesSensibleSize_data() {
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("size");
    QTest::newRow("large screen: three quarters") << QRect(0, 0, 1600, 1000) << QSize(1200, 750);
    QTest::newRow("small screen: at least 800 by 500") << QRect(0, 0, 1000, 600) << QSize(800, 500);
    QTest::newRow("tiny screen: all of it") << QRect(0, 0, 640, 480) << QSize(640, 480);
    QTest::newRow("panel on the left") << QRect(64, 0, 1536, 1000) << QSize(1152, 750);
}

void WindowStateTest::firstStartTakesSensibleSize() {
    QFETCH(QRect, available);
    QFETCH(QSize, size);
    const QRect placed = initialWindowGeometry(available);
    QCOMPARE(placed.size(), size);
    QVERIFY(available.contains(placed));
    QVERIFY(qAbs(placed.center().x() - available.center().x()) <= 1);

    // The window itself, without any saved place and with nothing to maximise it.
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("tallyweaver.ini")), QSettings::IniFormat);
    CTallyweaverDoc document;
    CMainFrame frame(document);
    frame.setSettings(&settings);
    QVERIFY(!frame.restoreWindowState());
    const QRect screen = frame.screen()->availableGeometry();
    QCOMPARE(frame.geometry(), initialWindowGeometry(screen));
    QVERIFY(frame.width() >= screen.width() / 2 && frame.height() >= screen.height() / 2);
}

void WindowStateTest::stateSurvivesRestart() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("src/a.cpp"), smallSource());
    const QString ini = dir.filePath(QStringLiteral("tallyweaver.ini"));
    const QRect placed(40, 30, 700, 450);
    {
        QSettings settings(ini, QSettings::IniFormat);
        CTallyweaverDoc document;
        CMainFrame frame(document);
        frame.setSettings(&settings);
        frame.restoreWindowState();
        frame.show();
        QTRY_VERIFY(frame.currentView() != nullptr);
        frame.setGeometry(placed);
        chooser.answers.push_back({a});
        frame.action(ID_ACTION_ADD_FILE)->trigger();
        // The user drags the divider and widens a column.
        auto* splitterView = qobject_cast<CSplitterView*>(frame.currentView());
        QSplitter& splitter = splitterView->splitter();
        emit splitter.splitterMoved(splitter.width() / 2, 1);
        frame.fileView()->horizontalHeader()->resizeSection(ColumnType, 321);
        frame.action(ID_VIEW_FILES_ONLY)->trigger();
        document.setModifiedFlag(false);
        QVERIFY(frame.close());
    }
    QSettings settings(ini, QSettings::IniFormat);
    CTallyweaverDoc document;
    CMainFrame frame(document);
    frame.setSettings(&settings);
    QVERIFY(frame.restoreWindowState());
    frame.show();
    QTRY_VERIFY(frame.currentView() != nullptr);
    QCOMPARE(frame.viewMode(), int(ID_VIEW_FILES_ONLY));
    QVERIFY(frame.action(ID_VIEW_FILES_ONLY)->isChecked());
    QCOMPARE(frame.size(), placed.size());
    QCOMPARE(frame.fileView()->columnWidth(ColumnType), 321);
    frame.action(ID_VIEW_FOLDERS_AND_FILES)->trigger();
    auto* splitterView = qobject_cast<CSplitterView*>(frame.currentView());
    QVERIFY(qAbs(splitterView->treeFraction() - 0.5) < 0.05);
    // The divider keeps the user's share through a resize.
    frame.resize(900, 500);
    QTRY_VERIFY(qAbs(splitterView->splitter().sizes().value(0) -
                     splitterView->splitter().width() / 2) < 10);
    // Add File(s) starts where the last files came from.
    frame.action(ID_ACTION_ADD_FILE)->trigger();
    QCOMPARE(chooser.asked.back().directory, dir.filePath(QStringLiteral("src")));
    QCOMPARE(WindowState::read(settings).addFilesFolder, dir.filePath(QStringLiteral("src")));
    // Columns the user did not touch are still fitted to their texts.
    QVERIFY(frame.fileView()->columnWidth(ColumnFileName) > 0);
    QCOMPARE(frame.chosenColumnWidth("name"), 0);
    QCOMPARE(frame.chosenColumnWidth("type"), 321);
}

void WindowStateTest::barsAndReportChoicesSurviveRestart() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("tallyweaver.ini"));
    const QString reports = dir.filePath(QStringLiteral("reports"));
    QVERIFY(QDir().mkpath(reports));
    {
        QSettings settings(ini, QSettings::IniFormat);
        CTallyweaverDoc document;
        CMainFrame frame(document);
        frame.setSettings(&settings);
        frame.restoreWindowState();
        frame.show();
        QTRY_VERIFY(frame.currentView() != nullptr);
        chooser.answers.push_back({writeFile(dir, QStringLiteral("a.cpp"), smallSource())});
        frame.action(ID_ACTION_ADD_FILE)->trigger();
        frame.action(ID_VIEW_TOOLBAR)->trigger();
        frame.action(ID_VIEW_STATUS_BAR)->trigger();
        // A CSV report written into a folder of the user's choice.
        ModalDialogAnswerer report([&reports](QDialog& dialog) {
            child<QAbstractButton>(&dialog, "csvRadio")->click();
            child<QLineEdit>(&dialog, "directoryEdit")->setText(reports);
            return true;
        });
        frame.action(ID_TOOLS_REPORT)->trigger();
        QCOMPARE(report.answered, 1);
        QVERIFY(QFile::exists(reports + QStringLiteral("/report.csv")));
        document.setModifiedFlag(false);
        QVERIFY(frame.close());
    }
    QSettings settings(ini, QSettings::IniFormat);
    CTallyweaverDoc document;
    CMainFrame frame(document);
    frame.setSettings(&settings);
    frame.restoreWindowState();
    frame.show();
    QTRY_VERIFY(frame.currentView() != nullptr);
    QVERIFY(frame.findChild<QToolBar*>(QStringLiteral("toolBar"))->isHidden());
    QVERIFY(frame.statusBar()->isHidden());
    QVERIFY(!frame.action(ID_VIEW_TOOLBAR)->isChecked());
    QVERIFY(!frame.action(ID_VIEW_STATUS_BAR)->isChecked());
    // Generate Report starts with the format and the folder of the last report.
    QStringList shown;
    ModalDialogAnswerer report([&shown](QDialog& dialog) {
        shown = {child<QAbstractButton>(&dialog, "csvRadio")->isChecked() ? "csv" : "not csv",
                 child<QLineEdit>(&dialog, "fileNameEdit")->text(),
                 child<QLineEdit>(&dialog, "directoryEdit")->text()};
        return false;
    });
    frame.action(ID_TOOLS_REPORT)->trigger();
    QCOMPARE(shown, (QStringList{"csv", "report.csv", reports}));
}

void WindowStateTest::unusableSavedValuesFallBackToDefaults() {
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("tallyweaver.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Window/Geometry"), QByteArray("not a geometry"));
    settings.setValue(QStringLiteral("Window/TreeFraction"), QStringLiteral("7"));
    settings.setValue(QStringLiteral("Window/ViewMode"), 12345);
    settings.setValue(QStringLiteral("Window/ColumnWidths"), QStringLiteral("x,-5,99999,40"));
    const WindowState state = WindowState::read(settings);
    QCOMPARE(state.treeFraction, 1.0 / 3.0);
    QCOMPARE(state.viewMode, int(ID_VIEW_FOLDERS_AND_FILES));
    QCOMPARE(state.columnWidths, (QMap<QString, int>{{"size", 4000}, {"encoding", 40}}));

    CTallyweaverDoc document;
    CMainFrame frame(document);
    frame.setSettings(&settings);
    QVERIFY(!frame.restoreWindowState());
    QCOMPARE(frame.geometry(), initialWindowGeometry(frame.screen()->availableGeometry()));
}

void WindowStateTest::positionalColumnWidthsAreConvertedOnce() {
    // Earlier versions kept the widths by position, for the seventeen columns of their time;
    // values past those belong to no column.
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("tallyweaver.ini"));
    {
        QSettings settings(ini, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Window/ColumnWidths"),
                          QStringLiteral("0,321,0,0,0,55,0,0,0,0,0,0,0,0,0,66,77,88"));
    }
    QSettings settings(ini, QSettings::IniFormat);
    WindowState state = WindowState::read(settings);
    const QMap<QString, int> converted{
        {"type", 321}, {"code", 55}, {"commentWords", 66}, {"remarks", 77}};
    QCOMPARE(state.columnWidths, converted);
    for (auto width = converted.begin(); width != converted.end(); ++width) {
        QCOMPARE(fileListColumnById(width.key().toStdString())->id, width.key().toStdString());
    }

    // Written back by id only; a width kept for an id no column has now stays.
    state.columnWidths.insert(QStringLiteral("folder"), 90);
    state.write(settings);
    QVERIFY(!settings.contains(QStringLiteral("Window/ColumnWidths")));
    QCOMPARE(settings.value(QStringLiteral("Window/ColumnWidth/type")).toInt(), 321);
    QMap<QString, int> kept = converted;
    kept.insert(QStringLiteral("folder"), 90);
    QCOMPARE(WindowState::read(settings).columnWidths, kept);

    // Once widths are kept by id, positional ones left by an earlier version are ignored.
    settings.setValue(QStringLiteral("Window/ColumnWidths"), QStringLiteral("0,5"));
    QCOMPARE(WindowState::read(settings).columnWidths, kept);
}

void WindowStateTest::shownAndHiddenColumnsSurviveRestart() {
    MessageBoxRecorder boxes;
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("tallyweaver.ini"));
    const auto hide = [](CMainFrame& frame, const char* id, bool shown) {
        const std::unique_ptr<QMenu> menu(frame.fileView()->makeColumnMenu());
        QAction* entry = menu->findChild<QAction*>(QString::fromLatin1(id));
        QVERIFY(entry != nullptr);
        if (entry->isChecked() != shown) {
            entry->trigger();
        }
    };
    {
        QSettings settings(ini, QSettings::IniFormat);
        CTallyweaverDoc document;
        CMainFrame frame(document);
        frame.setSettings(&settings);
        frame.restoreWindowState();
        frame.show();
        QTRY_VERIFY(frame.currentView() != nullptr);
        hide(frame, "encoding", false);
        hide(frame, "folder", true);
        QVERIFY(frame.close());
    }
    QSettings settings(ini, QSettings::IniFormat);
    QCOMPARE(WindowState::read(settings).columnShown,
             (QMap<QString, bool>{{"encoding", false}, {"folder", true}}));
    CTallyweaverDoc document;
    CMainFrame frame(document);
    frame.setSettings(&settings);
    frame.restoreWindowState();
    frame.show();
    QTRY_VERIFY(frame.currentView() != nullptr);
    QVERIFY(frame.fileView()->isColumnHidden(ColumnEncoding));
    QVERIFY(!frame.fileView()->isColumnHidden(ColumnFolder));
    QVERIFY(!frame.fileView()->isColumnHidden(ColumnType));
}

QTEST_MAIN(WindowStateTest)
#include "WindowStateTest.moc"
