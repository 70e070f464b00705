// The file list as the user sees it: sorted by a clicked column without changing the project,
// numbers right-aligned with their units, the reason of a failed count as the row's tooltip,
// the counts and progress of a run shown while it goes on, names in natural order, and the
// header's menu that shows and hides columns.

#include <QHeaderView>
#include <QMenu>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStandardPaths>

#include "UiTestSupport.h"
#include "engine/FileCount.h"
#include "project/FailedCountTable.h"

#include <memory>
#include <optional>

using namespace tw;
using namespace tw::test;
using namespace tw::ui;

namespace {

/// A C++ source of `lines` code lines.
QByteArray sourceOf(int lines) {
    QByteArray source;
    for (int i = 0; i < lines; ++i) {
        source += "int v" + QByteArray::number(i) + " = " + QByteArray::number(i) + ";\n";
    }
    return source;
}

/// The first column of each row in the view's order.
QStringList shownLabels(CFileView& list) {
    QStringList labels;
    for (int row = 0; row < list.model()->rowCount(); ++row) {
        labels.append(list.model()->index(row, ColumnFileName).data().toString());
    }
    return labels;
}

}  // namespace

class FileListViewTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void headerClicksSortTheViewOnly();
    void numbersAlignRightWithUnits();
    void failedRowSaysWhy();
    void namesSortInNaturalOrder();
    void headerMenuShowsAndHidesColumns();
    void runShowsProgressAndCountsAsItGoes();
};

void FileListViewTest::headerClicksSortTheViewOnly() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    // Names and sizes in different orders: b has the most lines, c the fewest.
    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), sourceOf(5)),
                               writeFile(dir, QStringLiteral("b.cpp"), sourceOf(20)),
                               writeFile(dir, QStringLiteral("c.cpp"), sourceOf(2))});
    QVERIFY(desktop.countAndWait());
    CFileView& list = *desktop.frame.fileView();
    const QStringList summaries = shownLabels(list).mid(3);
    QCOMPARE(shownLabels(list).mid(0, 3), QStringList({"a.cpp", "b.cpp", "c.cpp"}));
    QCOMPARE(list.horizontalHeader()->sortIndicatorSection(), -1);

    QHeaderView& header = *list.horizontalHeader();
    const auto clickHeader = [&header](int column) {
        QTest::mouseClick(
            header.viewport(), Qt::LeftButton, {},
            QPoint(header.sectionViewportPosition(column) + header.sectionSize(column) / 2,
                   header.height() / 2));
    };
    struct Step {
        int column;
        QStringList files;
    };
    const Step steps[] = {
        {ColumnCode, {"c.cpp", "a.cpp", "b.cpp"}},      // by a number, not by its text
        {ColumnCode, {"b.cpp", "a.cpp", "c.cpp"}},      // again: the other way
        {ColumnFileName, {"a.cpp", "b.cpp", "c.cpp"}},  // another column
        {ColumnFileName, {"c.cpp", "b.cpp", "a.cpp"}},
    };
    for (const Step& step : steps) {
        clickHeader(step.column);
        QCOMPARE(header.sortIndicatorSection(), step.column);
        const QStringList shown = shownLabels(list);
        QCOMPARE(shown.mid(0, 3), step.files);
        // The summary rows stay below the files, in their order.
        QCOMPARE(shown.mid(3), summaries);
    }

    // The project and its model keep their order; the selection speaks of the project's rows.
    std::vector<const FileCount*> records;
    desktop.root().CollectRecords(records);
    QCOMPARE(qs(std::u16string(records.front()->fileName())), QStringLiteral("a.cpp"));
    QCOMPARE(desktop.list().rowLabel(0), QStringLiteral("a.cpp"));
    desktop.focus(&list);
    list.selectRow(0);  // c.cpp, shown first
    QCOMPARE(list.selectedFileRows(), std::vector<int>{2});
    ShellRecorder shell;
    desktop.action(ID_SELECTION_OPEN)->trigger();
    QCOMPARE(shell.targets(Shell::Action::Open), QStringList{dir.filePath("c.cpp")});
    // Removing the row shown first removes c.cpp.
    boxes.answers.push_back(QMessageBox::Yes);
    desktop.action(ID_SELECTION_REMOVE)->trigger();
    QCOMPARE(desktop.root().TotalRecords(), 2u);
    QVERIFY(desktop.root().FindFile(projectPathOf(dir.filePath("c.cpp"))).record == nullptr);
}

void FileListViewTest::numbersAlignRightWithUnits() {
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), smallSource())});
    QVERIFY(desktop.countAndWait());
    const QAbstractItemModel& shown = *desktop.frame.fileView()->model();
    const auto alignment = [&shown](int column) {
        return Qt::Alignment(shown.index(0, column).data(Qt::TextAlignmentRole).toInt()) &
               Qt::AlignHorizontal_Mask;
    };
    for (const int column : {int(ColumnSize), int(ColumnCountTime), int(ColumnCode),
                             int(ColumnBlank), int(ColumnTotal)}) {
        QCOMPARE(alignment(column), Qt::AlignRight);
    }
    for (const int column : {int(ColumnFileName), int(ColumnType), int(ColumnEncoding)}) {
        QCOMPARE(alignment(column), Qt::AlignLeft);
    }
    QVERIFY(desktop.list().cellText(0, ColumnCountTime).endsWith(QStringLiteral(" s")));
}

void FileListViewTest::failedRowSaysWhy() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    const QString gone = writeFile(dir, QStringLiteral("gone.cpp"), smallSource());
    desktop.addFiles(chooser, {writeFile(dir, QStringLiteral("a.cpp"), smallSource()), gone});
    QFile::remove(gone);
    ModalDialogAnswerer errors([](QDialog&) { return true; });
    QVERIFY(desktop.countAndWait());
    const QString why = qs(failedCountTable().at(projectPathOf(gone)));
    QVERIFY(!why.isEmpty());
    const QAbstractItemModel& shown = *desktop.frame.fileView()->model();
    QCOMPARE(shown.index(1, ColumnType).data(Qt::ToolTipRole).toString(), why);
    QVERIFY(shown.index(0, ColumnType).data(Qt::ToolTipRole).toString() != why);
}

void FileListViewTest::runShowsProgressAndCountsAsItGoes() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    // Files slow enough to count that the run lasts many progress ticks.
    desktop.addSlowFiles(chooser, dir, 300, 1200);
    QProgressBar* progress = desktop.frame.progressBar();
    QVERIFY(progress->isHidden());

    // While the run goes on the bar says "n of N", and the list takes the counts of the files
    // done (its rows change in place) without waiting for the end.
    QStringList barTexts;
    int refreshesWhileCounting = 0;
    connect(progress, &QProgressBar::valueChanged, this, [&] {
        if (progress->isVisible()) {
            barTexts.append(progress->text());
        }
    });
    connect(&desktop.list(), &QAbstractItemModel::dataChanged, this, [&] {
        if (desktop.frame.isCounting()) {
            ++refreshesWhileCounting;
        }
    });
    QVERIFY(desktop.countAndWait());
    QVERIFY(refreshesWhileCounting > 0);
    QVERIFY(!barTexts.isEmpty());
    for (const QString& text : barTexts) {
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d+ of 300$")).match(text).hasMatch(),
                 qPrintable(text));
    }
    QVERIFY(progress->isHidden());
    QVERIFY(CMainFrame::kListRefreshPeriodMs <= 250);
}

void FileListViewTest::namesSortInNaturalOrder() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    QStringList paths;
    for (const char* name : {"_10.c", "b.c", "_2.c", "A.c", "_1.c"}) {
        paths.append(writeFile(dir, QString::fromLatin1(name), sourceOf(1)));
    }
    desktop.addFiles(chooser, paths);
    CFileView& list = *desktop.frame.fileView();
    // Numbers by their value, letters whatever their case.
    list.sortByColumn(ColumnFileName, Qt::AscendingOrder);
    QCOMPARE(shownLabels(list).mid(0, 5), QStringList({"_1.c", "_2.c", "_10.c", "A.c", "b.c"}));
    list.sortByColumn(ColumnFileName, Qt::DescendingOrder);
    QCOMPARE(shownLabels(list).mid(0, 5), QStringList({"b.c", "A.c", "_10.c", "_2.c", "_1.c"}));
    QVERIFY(shownLabels(list).at(5).startsWith(QStringLiteral("Folder (")));
}

void FileListViewTest::headerMenuShowsAndHidesColumns() {
    MessageBoxRecorder boxes;
    FileChooserScript chooser;
    QTemporaryDir dir;
    Desktop desktop;
    const QString a = writeFile(dir, QStringLiteral("src/a.cpp"), sourceOf(2));
    desktop.addFiles(chooser, {a});
    CFileView& list = *desktop.frame.fileView();
    QVERIFY(list.isColumnHidden(ColumnFolder));
    QVERIFY(!list.isColumnHidden(ColumnType));

    // One check mark per column, in the order shown: the folder beside the name, hidden; the
    // name cannot be hidden.
    std::unique_ptr<QMenu> menu(list.makeColumnMenu());
    const QList<QAction*> entries = menu->actions();
    QCOMPARE(entries.size(), int(FileListColumnCount));
    QCOMPARE(entries[0]->text(), QStringLiteral("File Name"));
    QVERIFY(!entries[0]->isEnabled() && entries[0]->isChecked());
    QCOMPARE(entries[1]->text(), QStringLiteral("Folder"));
    QVERIFY(entries[1]->isEnabled() && !entries[1]->isChecked());
    QCOMPARE(entries[2]->text(), QStringLiteral("Type"));
    QCOMPARE(entries[2 + ColumnCode - ColumnType]->text(), QStringLiteral("Physical"));

    entries[1]->trigger();
    entries[2]->trigger();
    QVERIFY(!list.isColumnHidden(ColumnFolder));
    QVERIFY(list.columnWidth(ColumnFolder) > 0);
    QVERIFY(list.isColumnHidden(ColumnType));
    QCOMPARE(list.model()->index(0, ColumnFolder).data().toString(), qs(projectFolderOf(a)));
    // Hiding and showing are no widths the user chose.
    QCOMPARE(desktop.frame.chosenColumnWidth("type"), 0);
    QCOMPARE(desktop.frame.chosenColumnWidth("folder"), 0);
    QCOMPARE(desktop.frame.chosenColumnShown("type"), std::optional<bool>(false));

    // The choice holds for the other view's list too.
    menu.reset();
    desktop.action(ID_VIEW_FILES_ONLY)->trigger();
    QVERIFY(desktop.frame.fileView()->isColumnHidden(ColumnType));
    QVERIFY(!desktop.frame.fileView()->isColumnHidden(ColumnFolder));
    menu = std::unique_ptr<QMenu>(desktop.frame.fileView()->makeColumnMenu());
    QVERIFY(menu->actions()[1]->isChecked() && !menu->actions()[2]->isChecked());
}

QTEST_MAIN(FileListViewTest)
#include "FileListViewTest.moc"
