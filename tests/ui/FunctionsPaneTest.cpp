// The Functions pane through the window: why it is empty outside the complexity mode, the
// functions of a counted folder with the most complex first, the selected files only, sorting
// by a column, a double-click that opens the file, and a saved project that shows its
// functions again when reopened, without a count.

#include <QAbstractButton>
#include <QHeaderView>
#include <QStandardPaths>
#include <QTableView>

#include "UiTestSupport.h"
#include "ui/CFunctionsPane.h"
#include "ui/FunctionListModel.h"

using namespace tw;
using namespace tw::test;
using namespace tw::ui;

namespace {

/// Two functions of complexity 4 and 3, at lines 1 and 8.
const QByteArray kBranchy =
    "int pick(int a, int b) {\n"
    "    if (a && b || a > b) {\n"
    "        return a;\n"
    "    }\n"
    "    return b;\n"
    "}\n"
    "\n"
    "int loop(int n) {\n"
    "    int s = 0;\n"
    "    for (int i = 0; i < n; ++i) {\n"
    "        if (i % 2) s += i;\n"
    "    }\n"
    "    return s;\n"
    "}\n";

/// Two functions of complexity 1 and 2, at lines 2 and 4; a decision in a comment and one in
/// a string count for nothing.
const QByteArray kPlain =
    "// if (a) while (b)\n"
    "int one() { return 1; }\n"
    "\n"
    "int two(int x) {\n"
    "    const char* s = \"x ? y : z\";\n"
    "    return x > 0 ? x : -x;\n"
    "}\n";

/// The pane's rows in the order shown: name, file, line, lines, complexity.
QStringList shownRows(const CFunctionsPane& pane) {
    QStringList rows;
    const QAbstractItemModel& shown = *pane.table().model();
    for (int row = 0; row < shown.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < FunctionListModel::kColumnCount; ++column) {
            cells.append(shown.index(row, column).data().toString());
        }
        rows.append(cells.join(QLatin1Char(' ')));
    }
    return rows;
}

/// Chooses Cyclomatic Complexity in Project Settings and closes it with OK.
void chooseComplexityMode(Desktop& desktop) {
    ModalDialogAnswerer settings([](QDialog& dialog) {
        dialog.findChild<QAbstractButton*>(QStringLiteral("logicalRadio"))->click();
        dialog.findChild<QAbstractButton*>(QStringLiteral("complexityRadio"))->click();
        return true;
    });
    desktop.action(ID_TOOLS_SETTINGS)->trigger();
    QCOMPARE(settings.answered, 1);
}

}  // namespace

class FunctionsPaneTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { countSettings() = CountSettings{}; }
    void complexityModeListsFunctionsAndKeepsThem();
};

void FunctionsPaneTest::complexityModeListsFunctionsAndKeepsThem() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    ShellRecorder shell;
    QTemporaryDir dir;
    Desktop desktop;
    const QString branchy = writeFile(dir, QStringLiteral("src/branchy.c"), kBranchy);
    const QString plain = writeFile(dir, QStringLiteral("src/plain.cpp"), kPlain);

    // Shown from the View menu; in the physical mode it says why it stays empty.
    CFunctionsPane& pane = *desktop.frame.functionsPane();
    QVERIFY(pane.isHidden());
    desktop.action(ID_VIEW_FUNCTIONS)->trigger();
    QVERIFY(pane.isVisible());
    QVERIFY(desktop.action(ID_VIEW_FUNCTIONS)->isChecked());
    QTRY_VERIFY(pane.caption().contains(QStringLiteral("Cyclomatic Complexity count mode only")));
    QCOMPARE(pane.functions().rowCount(), 0);

    chooseComplexityMode(desktop);
    QCOMPARE(desktop.document.settings().mode, CountMode::CyclomaticComplexity);
    desktop.frame.addFolderFiles({branchy.toStdString(), plain.toStdString()});
    QTRY_VERIFY(pane.caption().startsWith(QStringLiteral("Count the files")));
    QVERIFY(desktop.countAndWait());

    // Every file's functions, the most complex first.
    const QStringList all = {
        "pick branchy.c 1 6 4",
        "loop branchy.c 8 7 3",
        "two plain.cpp 4 4 2",
        "one plain.cpp 2 1 1",
    };
    QTRY_COMPARE(shownRows(pane), all);
    QVERIFY(pane.caption().startsWith(QStringLiteral("4 functions in all 2 files")));

    // Any column sorts; a second click turns the order.
    QHeaderView& header = *pane.table().horizontalHeader();
    header.setSortIndicator(FunctionListModel::ColumnName, Qt::AscendingOrder);
    QCOMPARE(shownRows(pane), QStringList({all[1], all[3], all[0], all[2]}));
    header.setSortIndicator(FunctionListModel::ColumnLine, Qt::DescendingOrder);
    QCOMPARE(shownRows(pane), QStringList({all[1], all[2], all[3], all[0]}));
    header.setSortIndicator(FunctionListModel::ColumnComplexity, Qt::DescendingOrder);

    // The selected file's functions only.
    desktop.action(ID_VIEW_FILES_ONLY)->trigger();
    CFileView& list = *desktop.frame.fileView();
    list.selectRow(1);
    QCOMPARE(list.selectedFilePaths(), std::vector<std::u16string>{projectPathOf(plain)});
    QTRY_COMPARE(shownRows(pane), QStringList({all[2], all[3]}));
    QVERIFY(pane.caption().startsWith(QStringLiteral("2 functions in 1 file selected")));

    // A double-click opens the function's file in the text editor.
    QTableView& table = pane.table();
    const QModelIndex first = table.model()->index(0, FunctionListModel::ColumnName);
    const QPoint where = table.visualRect(first).center();
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, where);
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, where);
    QTRY_COMPARE(shell.targets(Shell::Action::OpenInTextEditor), QStringList{plain});
    list.clearSelection();
    QTRY_COMPARE(shownRows(pane), all);

    // Saved and opened again: the functions are back at once, with nothing to count.
    const QString project = dir.filePath(QStringLiteral("functions.tyx"));
    chooser.answers.push_back({project});
    desktop.action(ID_FILE_SAVE)->trigger();
    QVERIFY(!desktop.document.isModified());
    desktop.action(ID_FILE_NEW)->trigger();
    QTRY_COMPARE(pane.functions().rowCount(), 0);
    chooser.answers.push_back({project});
    QSignalSpy runs(&desktop.frame, &CMainFrame::countRunClosed);
    desktop.action(ID_FILE_OPEN)->trigger();
    QVERIFY(boxes.shown.empty());
    QCOMPARE(desktop.document.settings().mode, CountMode::CyclomaticComplexity);
    QTRY_COMPARE(shownRows(pane), all);
    QVERIFY(!desktop.enabled(ID_ACTION_COUNT));
    QCOMPARE(runs.count(), 0);

    // Hidden again from the menu.
    desktop.action(ID_VIEW_FUNCTIONS)->trigger();
    QVERIFY(pane.isHidden());
    QVERIFY(!desktop.action(ID_VIEW_FUNCTIONS)->isChecked());
}

QTEST_MAIN(FunctionsPaneTest)
#include "FunctionsPaneTest.moc"
