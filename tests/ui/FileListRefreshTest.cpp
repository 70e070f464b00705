// The file list's live refresh during a count run: it takes again only the rows whose files
// changed, and what it shows is what a list made anew would show.

#include <QSignalSpy>
#include <QTest>

#include "engine/FileCount.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"
#include "ui/FileListModel.h"

using namespace tw;
using namespace tw::ui;

namespace {

void setCounted(FileCount& record, std::uint32_t code) {
    record.counted = true;
    record.failed = false;
    record.code = code;
    record.blank = 2;
    record.countSeconds = 0.25;
}

void setFailed(FileCount& record) {
    record.counted = false;
    record.failed = true;
}

/// Every text and tool tip of every row.
QStringList shown(const FileListModel& model) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int column = 0; column < model.columnCount(); ++column) {
            const QModelIndex cell = model.index(row, column);
            texts.append(model.data(cell).toString() + QLatin1Char('|') +
                         model.data(cell, Qt::ToolTipRole).toString());
        }
    }
    return texts;
}

}  // namespace

class FileListRefreshTest : public QObject {
    Q_OBJECT

  private slots:
    void refreshShowsWhatRebuildShows_data();
    void refreshShowsWhatRebuildShows();
    void otherFilesListedAnew();
};

void FileListRefreshTest::refreshShowsWhatRebuildShows_data() {
    QTest::addColumn<bool>("filesOnly");
    QTest::newRow("folders and files") << false;
    QTest::newRow("files only") << true;
}

/// A run's changes: a file counted, a file that had failed counted, one failing again for
/// another reason, one failing for the first time; a file counted before the run and one not
/// reached yet stay as they were.
void FileListRefreshTest::refreshShowsWhatRebuildShows() {
    QFETCH(bool, filesOnly);
    ProjectFolder root;
    FileCount* before = root.AddFilePath(u"c:/src/before.c");
    FileCount* counted = root.AddFilePath(u"c:/src/counted.c");
    FileCount* recovered = root.AddFilePath(u"c:/src/recovered.c");
    FileCount* failsAgain = root.AddFilePath(u"c:/src/fails-again.c");
    FileCount* failsNow = root.AddFilePath(u"c:/src/fails-now.c");
    root.AddFilePath(u"c:/src/later.c");
    setCounted(*before, 40);
    setFailed(*recovered);
    setFailed(*failsAgain);
    FailedCountTable failures{{recovered->path, u"locked"}, {failsAgain->path, u"locked"}};

    const ProjectFolder& folder = *root.FindFolder(u"c:/src");
    FileListLayout layout;
    layout.filesOnly = filesOnly;
    FileListModel live(failures);
    live.rebuild(folder, root, layout, CountMode::Physical);

    // The run: the failures of the last run are forgotten as it starts.
    failures.clear();
    setCounted(*counted, 7);
    setCounted(*recovered, 9);
    failures[failsAgain->path] = u"no such file";
    failures[failsNow->path] = u"not a text file";
    setFailed(*failsNow);

    QSignalSpy reset(&live, &FileListModel::modelReset);
    QSignalSpy changed(&live, &FileListModel::dataChanged);
    live.refresh(folder, root, layout);

    FileListModel anew(failures);
    anew.rebuild(folder, root, layout, CountMode::Physical);
    QCOMPARE(shown(live), shown(anew));
    QCOMPARE(reset.count(), 0);
    // The rows from the first file counted to the last failed, then the summary rows.
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed[0][0].toModelIndex().row(), 1);
    QCOMPARE(changed[0][1].toModelIndex().row(), 4);
    QCOMPARE(changed[1][0].toModelIndex().row(), live.fileRowCount());
    QCOMPARE(changed[1][1].toModelIndex().row(), live.rowCount() - 1);

    // Nothing changed since: the failed rows, which may fail again for another reason, and
    // the summary rows are told.
    changed.clear();
    live.refresh(folder, root, layout);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed[0][0].toModelIndex().row(), 3);
    QCOMPARE(changed[0][1].toModelIndex().row(), 4);
    QCOMPARE(shown(live), shown(anew));
}

void FileListRefreshTest::otherFilesListedAnew() {
    ProjectFolder root;
    root.AddFilePath(u"c:/src/a.c");
    FileListLayout layout;
    layout.filesOnly = true;
    const FailedCountTable noFailures;
    FileListModel live(noFailures);
    live.rebuild(root, root, layout, CountMode::Physical);

    setCounted(*root.AddFilePath(u"c:/src/b.c"), 3);
    QSignalSpy reset(&live, &FileListModel::modelReset);
    live.refresh(root, root, layout);
    QCOMPARE(reset.count(), 1);
    FileListModel anew(noFailures);
    anew.rebuild(root, root, layout, CountMode::Physical);
    QCOMPARE(shown(live), shown(anew));
}

QTEST_MAIN(FileListRefreshTest)
#include "FileListRefreshTest.moc"
