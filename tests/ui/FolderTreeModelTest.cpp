// The folder tree's model over the project's folders, checked by QAbstractItemModelTester:
// which folders show and in what order, what the project's flags open, and removal with the
// parents it leaves empty.

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <string>

#include "project/ProjectFolder.h"
#include "ui/Artwork.h"
#include "ui/FolderTreeModel.h"

using namespace tw;
using namespace tw::ui;

namespace {

/// The model as text: one line per item, indented by two blanks per level; "+" marks an item
/// the project opens.
QString modelText(const FolderTreeModel& model, const QModelIndex& parent = QModelIndex(),
                  int depth = 0) {
    QString text;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex item = model.index(row, 0, parent);
        text += QString(depth * 2, QLatin1Char(' ')) + item.data().toString() +
                (model.expandedInProject(item) ? QStringLiteral("+") : QString()) +
                QLatin1Char('\n');
        text += modelText(model, item, depth + 1);
    }
    return text;
}

/// A project with a model over it, checked by the model tester throughout.
struct ModelFixture {
    explicit ModelFixture(const QStringList& paths) {
        for (const QString& path : paths) {
            root.AddFilePath(path.toStdU16String());
        }
        model.rebuild();
    }
    QModelIndex item(const char16_t* path) { return model.indexOf(root.FindFolder(path)); }

    ProjectFolder root;
    FolderTreeModel model{root};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
};

const QString kLongName = QString(256, QLatin1Char('n'));

}  // namespace

class FolderTreeModelTest : public QObject {
    Q_OBJECT

  private slots:
    void showsFoldersThatLeadToAFile_data();
    void showsFoldersThatLeadToAFile();
    void startsAtTheFolderCommonToTheFiles_data();
    void startsAtTheFolderCommonToTheFiles();
    void removingWhatHoldsTheTopItemTakesIt();
    void foldersWithAFailedFileShowIt();
    void projectFlagsOpenTheWayToTheirFiles();
    void itemsStandForTheirFolders();
    void removingAFolderTakesTheParentsItEmpties_data();
    void removingAFolderTakesTheParentsItEmpties();
    void removalKeepsWhatShowsUntilTheNextRebuild();
    void clearLetsGoOfEveryFolder();
};

void FolderTreeModelTest::showsFoldersThatLeadToAFile_data() {
    // A second top folder ("d:") keeps the tree from starting lower down.
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("tree");
    QTest::newRow("the project's order")
        << QStringList{"c:/b/x.cpp", "c:/a/y.cpp", "/u/z.cpp"} << "c:\n  b\n  a\n/\n  u\n";
    QTest::newRow("a folder without files below it shows nothing")
        << QStringList{"c:/a/x.cpp", "c:/empty/deeper/", "d:/f.cpp"} << "c:\n  a\nd:\n";
    QTest::newRow("files at the root show no folder") << QStringList{"a.cpp"} << "";
    QTest::newRow("a folder whose only file has too long a name shows nothing")
        << QStringList{"c:/long/" + kLongName + ".cpp", "c:/ok/y.cpp", "d:/f.cpp"}
        << "c:\n  ok\nd:\n";
    QTest::newRow("an extension of 255 characters and its dot is too long")
        << QStringList{"c:/e/x." + QString(255, QLatin1Char('e'))} << "";
    QTest::newRow("an extension of 254 characters and its dot is not")
        << QStringList{"c:/e/x." + QString(254, QLatin1Char('e')), "d:/f.cpp"} << "c:\n  e\nd:\n";
    QTest::newRow("a file with a long name beside one that shows")
        << QStringList{"c:/a/" + kLongName, "c:/a/b/y.cpp", "d:/f.cpp"} << "c:\n  a\n    b\nd:\n";
}

void FolderTreeModelTest::showsFoldersThatLeadToAFile() {
    QFETCH(QStringList, paths);
    QFETCH(QString, tree);
    ModelFixture fixture(paths);
    QCOMPARE(modelText(fixture.model), tree);

    // Folders added later show at the next rebuild.
    fixture.root.AddFilePath(u"new/x.cpp");
    QCOMPARE(modelText(fixture.model), tree);
    fixture.model.rebuild();
    QCOMPARE(modelText(fixture.model), tree + QStringLiteral("new\n"));
}

void FolderTreeModelTest::startsAtTheFolderCommonToTheFiles_data() {
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("tree");
    QTest::newRow("one folder added")
        << QStringList{"/tmp/x/proj/src/a.cpp", "/tmp/x/proj/src/io/b.cpp",
                       "/tmp/x/proj/src/ui/c.cpp"}
        << "/tmp/x/proj/src\n  io\n  ui\n";
    QTest::newRow("down to the folder of the only file")
        << QStringList{"/tmp/x/a.cpp"} << "/tmp/x\n";
    QTest::newRow("a file of its own stops the descent")
        << QStringList{"/p/a.cpp", "/p/q/r/b.cpp"} << "/p\n  q\n    r\n";
    QTest::newRow("a file that does not show still holds its folder")
        << QStringList{"/p/" + kLongName, "/p/q/b.cpp"} << "/p\n  q\n";
    QTest::newRow("two folders at the file system's root")
        << QStringList{"/a/x.cpp", "/b/y.cpp"} << "/\n  a\n  b\n";
    QTest::newRow("relative paths")
        << QStringList{"src/a/x.cpp", "src/b/y.cpp"} << "src\n  a\n  b\n";
}

void FolderTreeModelTest::startsAtTheFolderCommonToTheFiles() {
    QFETCH(QStringList, paths);
    QFETCH(QString, tree);
    ModelFixture fixture(paths);
    QCOMPARE(modelText(fixture.model), tree);
    // The top item stands for its folder; the folders above it have no item.
    const QModelIndex top = fixture.model.index(0, 0);
    QCOMPARE(QString::fromStdU16String(fixture.model.folderOf(top)->FullPath()),
             tree.section(QLatin1Char('\n'), 0, 0));
    QVERIFY(!fixture.model.parent(top).isValid());
    QVERIFY(!fixture.model.indexOf(fixture.model.folderOf(top)->parent()).isValid());
}

void FolderTreeModelTest::removingWhatHoldsTheTopItemTakesIt() {
    // The top item "/tmp/p" goes with "/", which holds nothing else: the folders above the top
    // item have no item of their own, yet their removal takes it.
    ModelFixture fixture({"/tmp/p/x.cpp", "/tmp/p/q/y.cpp"});
    QCOMPARE(modelText(fixture.model), QStringLiteral("/tmp/p\n  q\n"));
    QSignalSpy removedRows(&fixture.model, &QAbstractItemModel::rowsRemoved);
    ProjectFolder& stays = fixture.model.removeFolder(fixture.item(u"/tmp/p"));
    QCOMPARE(&stays, &fixture.root);
    QCOMPARE(removedRows.count(), 1);
    QCOMPARE(fixture.model.rowCount(), 0);
    QVERIFY(fixture.root.IsEmpty());
    fixture.model.rebuild();
    QCOMPARE(modelText(fixture.model), QString());
}

void FolderTreeModelTest::foldersWithAFailedFileShowIt() {
    ModelFixture fixture({"c:/a/b/x.cpp", "c:/a/y.cpp", "c:/g/w.cpp"});
    const auto image = [&fixture](const char16_t* path) {
        return fixture.item(path).data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
    };
    const QImage plain = image(u"c:/g");
    QCOMPARE(image(u"c:/a/b"), plain);

    // A failed file marks its folder and each one above it, after the next reading.
    fixture.root.FindFile(u"c:/a/b/x.cpp").record->failed = true;
    QCOMPARE(image(u"c:/a/b"), plain);
    QSignalSpy changed(&fixture.model, &QAbstractItemModel::dataChanged);
    fixture.model.updateFailed();
    QCOMPARE(changed.count(), 3);  // b, a and c:
    QVERIFY(image(u"c:/a/b") != plain);
    QCOMPARE(image(u"c:/a"), image(u"c:/a/b"));
    QCOMPARE(image(u"c:"), image(u"c:/a/b"));
    QCOMPARE(image(u"c:/g"), plain);
    // Open, the folder keeps the mark.
    fixture.model.setShownOpen(fixture.item(u"c:/a"), true);
    QVERIFY(image(u"c:/a") != image(u"c:/a/b"));
    QVERIFY(image(u"c:/a") != artwork::treeImage(TreeImage::OpenFolder));

    // A rebuild reads the records too; once reset, the marks go.
    fixture.model.rebuild();
    QCOMPARE(image(u"c:"), image(u"c:/a/b"));
    fixture.root.ResetAllCounts();
    fixture.model.updateFailed();
    QCOMPARE(image(u"c:"), plain);
    QCOMPARE(image(u"c:/a/b"), plain);
}

void FolderTreeModelTest::projectFlagsOpenTheWayToTheirFiles() {
    ModelFixture fixture({"c:/a/b/x.cpp", "c:/a/c/y.cpp", "c:/d/z.cpp"});
    fixture.root.FindFolder(u"c:/a/b")->SetExpanded(true);
    // A folder's own flag opens it only when it holds a file of its own.
    fixture.root.FindFolder(u"c:/d")->SetExpanded(false);
    fixture.model.rebuild();
    QCOMPARE(modelText(fixture.model), QStringLiteral("c:+\n  a+\n    b+\n    c\n  d\n"));

    ModelFixture withoutOwnFiles({"c:/a/b/x.cpp", "d:/f.cpp"});
    withoutOwnFiles.root.FindFolder(u"c:/a")->SetExpanded(true);
    withoutOwnFiles.model.rebuild();
    QCOMPARE(modelText(withoutOwnFiles.model), QStringLiteral("c:\n  a\n    b\nd:\n"));
}

void FolderTreeModelTest::itemsStandForTheirFolders() {
    ModelFixture fixture({"/home/u/x.cpp", "c:/a/y.cpp"});
    ProjectFolder* u = fixture.root.FindFolder(u"/home/u");
    const QModelIndex item = fixture.model.indexOf(u);
    QCOMPARE(item.data().toString(), QStringLiteral("u"));
    QCOMPARE(fixture.model.folderOf(item), u);
    QCOMPARE(fixture.model.folderOf(item.parent().parent()), fixture.root.FindFolder(u"/"));
    QCOMPARE(fixture.model.folderOf(QModelIndex()), &fixture.root);
    QVERIFY(!fixture.model.indexOf(&fixture.root).isValid());
    QVERIFY(!fixture.model.indexOf(nullptr).isValid());

    // The view's expansion switches the folder image; the file system's root keeps its own.
    const auto image = [](const QModelIndex& index) {
        return index.data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
    };
    const QImage closed = image(item);
    QSignalSpy changed(&fixture.model, &QAbstractItemModel::dataChanged);
    fixture.model.setShownOpen(item, true);
    QCOMPARE(changed.count(), 1);
    QVERIFY(image(item) != closed);
    fixture.model.setShownOpen(item, false);
    QCOMPARE(image(item), closed);
    const QModelIndex top = fixture.item(u"/");
    const QImage drive = image(top);
    QVERIFY(drive != closed);
    fixture.model.setShownOpen(top, true);
    QCOMPARE(image(top), drive);
}

void FolderTreeModelTest::removingAFolderTakesTheParentsItEmpties_data() {
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("tree");
    QTest::newRow("the parent holds a file") << "c:/a/b"
                                             << "c:/a"
                                             << "c:\n  a\n  g\nd:\n  e\n";
    QTest::newRow("emptied parents go up to the root") << "d:/e"
                                                       << ""
                                                       << "c:\n  a\n    b\n  g\n";
    QTest::newRow("a folder before its siblings") << "c:/a"
                                                  << "c:"
                                                  << "c:\n  g\nd:\n  e\n";
}

void FolderTreeModelTest::removingAFolderTakesTheParentsItEmpties() {
    QFETCH(QString, removed);
    QFETCH(QString, kept);
    QFETCH(QString, tree);
    ModelFixture fixture({"c:/a/b/x.cpp", "c:/a/y.cpp", "c:/g/w.cpp", "d:/e/z.cpp"});
    // Items after the removed ones keep standing for their folders.
    const QPersistentModelIndex g(fixture.item(u"c:/g"));
    const QPersistentModelIndex e(fixture.item(u"d:/e"));
    QSignalSpy removedRows(&fixture.model, &QAbstractItemModel::rowsRemoved);

    ProjectFolder& stays =
        fixture.model.removeFolder(fixture.item(removed.toStdU16String().c_str()));
    QCOMPARE(QString::fromStdU16String(stays.FullPath()), kept);
    QCOMPARE(removedRows.count(), 1);  // the emptied parents go with it, in one removal
    QCOMPARE(modelText(fixture.model), tree);
    QCOMPARE(fixture.model.folderOf(g), fixture.root.FindFolder(u"c:/g"));
    if (e.isValid()) {
        QCOMPARE(fixture.model.folderOf(e), fixture.root.FindFolder(u"d:/e"));
    }
    QVERIFY(fixture.root.FindFolder(removed.toStdU16String()) == nullptr);
}

void FolderTreeModelTest::removalKeepsWhatShowsUntilTheNextRebuild() {
    // "p" also holds a folder whose only file does not show: removing "shown" leaves "p" in the
    // project, and its item stays until the tree is worked out again.
    ModelFixture fixture({"c:/p/shown/x.cpp", "c:/p/hidden/" + kLongName, "d:/f.cpp"});
    ProjectFolder& stays = fixture.model.removeFolder(fixture.item(u"c:/p/shown"));
    QCOMPARE(&stays, fixture.root.FindFolder(u"c:/p"));
    QCOMPARE(modelText(fixture.model), QStringLiteral("c:\n  p\nd:\n"));
    fixture.model.rebuild();
    QCOMPARE(modelText(fixture.model), QStringLiteral("d:\n"));
}

void FolderTreeModelTest::clearLetsGoOfEveryFolder() {
    ModelFixture fixture({"c:/a/x.cpp", "d:/y.cpp"});
    const QPersistentModelIndex a(fixture.item(u"c:/a"));
    fixture.model.clear();
    QCOMPARE(fixture.model.rowCount(), 0);
    QVERIFY(!a.isValid());
    // The folders may go now: nothing refers to them.
    fixture.root.DeleteAllSubfolders();
    fixture.model.rebuild();
    QCOMPARE(fixture.model.rowCount(), 0);
}

QTEST_MAIN(FolderTreeModelTest)
#include "FolderTreeModelTest.moc"
