// The file list as the user sees it: sorted by a clicked column without changing the project,
// numbers right-aligned with their units, the reason of a failed count as the row's tooltip,
// and the counts and progress of a run shown while it goes on.

#include <QHeaderView>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStandardPaths>

#include "UiTestSupport.h"
#include "engine/FileCount.h"
#include "project/FailedCountTable.h"

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

QTEST_MAIN(FileListViewTest)
#include "FileListViewTest.moc"
