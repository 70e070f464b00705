// The folder tree: built from the files' paths, its images and expansion, the remembered
// folder, and what selecting a folder shows in the list.

#include <QAbstractItemModelTester>

#include <functional>

#include "UiTestSupport.h"
#include "project/ProjectFile.h"
#include "ui/Artwork.h"

using namespace tw;
using namespace tw::test;
using namespace tw::ui;

namespace {

/// The tree as text: one line per item, indented by two blanks per level; "+" marks an
/// expanded item.
QString treeText(CFolderView& tree, const QModelIndex& parent = QModelIndex(), int depth = 0) {
    QString text;
    const QAbstractItemModel* model = tree.model();
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex item = model->index(row, 0, parent);
        text += QString(depth * 2, QLatin1Char(' ')) + item.data().toString() +
                (tree.isExpanded(item) ? QStringLiteral("+") : QString()) + QLatin1Char('\n');
        text += treeText(tree, item, depth + 1);
    }
    return text;
}

QImage imageOf(const QModelIndex& item) {
    return item.data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
}

QModelIndex itemAt(CFolderView& tree, const QString& path) {
    std::function<QModelIndex(const QModelIndex&)> search = [&](const QModelIndex& parent) {
        for (int row = 0; row < tree.model()->rowCount(parent); ++row) {
            const QModelIndex child = tree.model()->index(row, 0, parent);
            if (tree.itemPath(child) == path) {
                return child;
            }
            if (const QModelIndex below = search(child); below.isValid()) {
                return below;
            }
        }
        return QModelIndex();
    };
    return search(QModelIndex());
}

/// Shows a project of `paths` with `remembered` selected and the first drive's item expanded
/// by the user.
void showProject(Desktop& desktop, std::initializer_list<const char16_t*> paths,
                 const QString& remembered) {
    for (const char16_t* path : paths) {
        desktop.root().AddFilePath(path);
    }
    desktop.document.setRememberedFolderPath(remembered);
    desktop.document.showFolder(&desktop.root());
    CFolderView& tree = *desktop.frame.folderView();
    tree.expand(itemAt(tree, QStringLiteral("d:")));
}

}  // namespace

class FolderViewTest : public QObject {
    Q_OBJECT

  private slots:
    void treeFromNestedPaths_data();
    void treeFromNestedPaths();
    void expansionFollowsProjectFlags();
    void imagesShowDrivesAndOpenFolders();
    void rebuildSelectsRememberedFolder();
    void rememberedFolderIsFoundUnderEveryTopLevelItem();
    void selectingAFolderListsItsFiles();
    void behavesAsItemModel();
    void projectIsReplacedOnlyOnceItsFileIsRead();
};

void FolderViewTest::treeFromNestedPaths_data() {
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("tree");
    // The tree starts at the deepest folder common to the files, named by its path and open.
    QTest::newRow("nested folders in their order")
        << QStringList{"c:/a/b/x.cpp", "c:/a/c/y.cpp", "c:/a/b/z.cpp"} << "c:/a+\n  b\n  c\n";
    QTest::newRow("two drives") << QStringList{"d:/v.cpp", "c:/w/x.cpp"} << "d:\nc:+\n  w\n";
    QTest::newRow("a folder without files shows through the files below it")
        << QStringList{"c:/top/middle/low/x.cpp"} << "c:/top/middle/low\n";
    QTest::newRow("absolute paths under the root")
        << QStringList{"/home/u/src/a.cpp", "/home/u/inc/b.h"} << "/home/u+\n  src\n  inc\n";
    QTest::newRow("a file of its own keeps a folder in the tree")
        << QStringList{"/home/u/a.cpp", "/home/u/src/b.cpp"} << "/home/u+\n  src\n";
    QTest::newRow("case twins are two folders")
        << QStringList{"Src/a.cpp", "src/b.cpp", "./x/c.cpp"} << "Src\nsrc\n.+\n  x\n";
    QTest::newRow("no files, no items") << QStringList{} << "";
    // The directory part runs to the last '/'; the system takes 4,095 characters for a path.
    QTest::newRow("a directory part of 4,096 characters adds nothing")
        << QStringList{"c/" + QString(4093, QLatin1Char('d')) + "/x.cpp", "c/e/y.cpp", "b/z.cpp"}
        << "c+\n  e\nb\n";
    QTest::newRow("a directory part of 4,095 characters is shown")
        << QStringList{"c/" + QString(4092, QLatin1Char('d')) + "/x.cpp", "b/z.cpp"}
        << "c+\n  " + QString(4092, QLatin1Char('d')) + "\nb\n";
    QTest::newRow("a file name of 256 characters adds nothing")
        << QStringList{"c:/f/" + QString(256, QLatin1Char('n')) + ".cpp"} << "";
}

void FolderViewTest::treeFromNestedPaths() {
    QFETCH(QStringList, paths);
    QFETCH(QString, tree);
    Desktop desktop;
    for (const QString& path : paths) {
        QVERIFY(desktop.root().AddFilePath(path.toStdU16String()) != nullptr);
    }
    desktop.document.showFolder(&desktop.root());
    QCOMPARE(treeText(*desktop.frame.folderView()), tree);
}

void FolderViewTest::expansionFollowsProjectFlags() {
    Desktop desktop;
    ProjectFolder& root = desktop.root();
    root.AddFilePath(u"c:/a/b/x.cpp");
    root.AddFilePath(u"c:/a/c/y.cpp");
    root.FindFolder(u"c:/a/b")->SetExpanded(true);
    desktop.document.showFolder(&root);
    CFolderView& tree = *desktop.frame.folderView();
    QCOMPARE(treeText(tree), QStringLiteral("c:/a+\n  b+\n  c\n"));

    // The user's expansion lasts until the next rebuild, which restores the project's.
    tree.expand(itemAt(tree, QStringLiteral("c:/a/c")));
    tree.collapse(itemAt(tree, QStringLiteral("c:/a/b")));
    QCOMPARE(treeText(tree), QStringLiteral("c:/a+\n  b\n  c+\n"));
    QVERIFY(!root.FindFolder(u"c:/a/c")->expanded());
    desktop.document.showFolder(&root);
    QCOMPARE(treeText(tree), QStringLiteral("c:/a+\n  b+\n  c\n"));
}

void FolderViewTest::imagesShowDrivesAndOpenFolders() {
    Desktop desktop;
    desktop.root().AddFilePath(u"/a/b/x.cpp");
    desktop.root().AddFilePath(u"/c/y.cpp");
    desktop.document.showFolder(&desktop.root());
    CFolderView& tree = *desktop.frame.folderView();
    const QImage drive = artwork::treeImage(TreeImage::Drive);
    const QImage closed = artwork::treeImage(TreeImage::ClosedFolder);
    const QImage open = artwork::treeImage(TreeImage::OpenFolder);
    QVERIFY(drive != closed && closed != open && drive != open);

    const QModelIndex c = itemAt(tree, QStringLiteral("/"));
    const QModelIndex a = itemAt(tree, QStringLiteral("/a"));
    QCOMPARE(imageOf(c), drive);
    QCOMPARE(imageOf(a), closed);
    tree.expand(a);
    QCOMPARE(imageOf(a), open);
    tree.expand(c);
    QCOMPARE(imageOf(c), drive);  // the root keeps its image
    tree.collapse(a);
    QCOMPARE(imageOf(a), closed);
}

void FolderViewTest::rebuildSelectsRememberedFolder() {
    Desktop desktop;
    ProjectFolder& root = desktop.root();
    root.AddFilePath(u"c:/a/b/x.cpp");
    root.AddFilePath(u"c:/a/c/y.cpp");
    desktop.document.setRememberedFolderPath(QStringLiteral("c:/a/c"));
    desktop.document.showFolder(&root);
    CFolderView& tree = *desktop.frame.folderView();
    QCOMPARE(tree.itemPath(tree.selectedItem()), QStringLiteral("c:/a/c"));
    QVERIFY(tree.isExpanded(tree.selectedItem().parent()));  // made visible
    QVERIFY(tree.hasFocus());
    QCOMPARE(desktop.list().rowLabel(0), QStringLiteral("y.cpp"));
}

void FolderViewTest::rememberedFolderIsFoundUnderEveryTopLevelItem() {
    Desktop desktop;
    ProjectFolder& root = desktop.root();
    root.AddFilePath(u"c:/a/x.cpp");
    root.AddFilePath(u"d:/b/y.cpp");
    root.AddFilePath(u"/tmp/z.cpp");  // a top-level directory of its own, holding a file
    CFolderView& tree = *desktop.frame.folderView();
    for (const QString& remembered : {QStringLiteral("d:/b"), QStringLiteral("c:"),
                                      QStringLiteral("c:/a"), QStringLiteral("/tmp")}) {
        desktop.document.setRememberedFolderPath(remembered);
        desktop.document.showFolder(&root);
        QCOMPARE(tree.itemPath(tree.selectedItem()), remembered);
    }
    desktop.document.setRememberedFolderPath(QStringLiteral("e:/nowhere"));
    desktop.document.showFolder(&root);
    QVERIFY(!tree.selectedItem().isValid());
}

void FolderViewTest::selectingAFolderListsItsFiles() {
    Desktop desktop;
    ProjectFolder& root = desktop.root();
    root.AddFilePath(u"c:/a/x.cpp");
    root.AddFilePath(u"c:/a/b/y.cpp");
    root.AddFilePath(u"c:/a/b/z.cpp");
    desktop.document.showFolder(&root);
    CFolderView& tree = *desktop.frame.folderView();

    tree.selectItem(itemAt(tree, QStringLiteral("c:/a/b")));
    QCOMPARE(desktop.document.rememberedFolderPath(), QStringLiteral("c:/a/b"));
    QCOMPARE(desktop.list().fileRowCount(), 2);
    QCOMPARE(desktop.list().rowLabel(1), QStringLiteral("z.cpp"));
    // Selecting does not rebuild the tree itself.
    QCOMPARE(tree.itemPath(tree.selectedItem()), QStringLiteral("c:/a/b"));

    tree.selectItem(itemAt(tree, QStringLiteral("c:/a")));
    QCOMPARE(desktop.list().fileRowCount(), 1);
    QCOMPARE(desktop.list().rowLabel(2),
             QStringLiteral("Folder and subfolders (0 succeeded, 0 failed)"));

    // No selection: the root's own files, that is none, and the project's summary.
    tree.selectItem(QModelIndex());
    QCOMPARE(desktop.document.rememberedFolderPath(), QString());
    QCOMPARE(desktop.list().fileRowCount(), 0);
    QCOMPARE(desktop.list().rowLabel(2), QStringLiteral("Project (0 succeeded, 0 failed)"));
}

void FolderViewTest::behavesAsItemModel() {
    Desktop desktop;
    CFolderView& tree = *desktop.frame.folderView();
    QAbstractItemModelTester tester(tree.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    desktop.root().AddFilePath(u"c:/a/b/x.cpp");
    desktop.root().FindFolder(u"c:/a/b")->SetExpanded(true);
    showProject(desktop, {u"c:/a/c/y.cpp", u"d:/e/z.cpp"}, QStringLiteral("c:/a/b"));
    desktop.document.deleteContents();
    QCOMPARE(tree.model()->rowCount(), 0);
}

void FolderViewTest::projectIsReplacedOnlyOnceItsFileIsRead() {
    QTemporaryDir dir;
    ProjectFolder other;
    other.AddFilePath(u"e:/loaded/x.cpp");
    const QString loadable = dir.filePath(QStringLiteral("loadable.tyx"));
    QCOMPARE(
        ProjectFile::save(QFile::encodeName(loadable).toStdString(), other, CountSettings{}).status,
        ProjectSaveStatus::Saved);
    const QString damaged = writeFile(dir, QStringLiteral("damaged.tyx"),
                                      QByteArray("\x02\0\0\0", 4) + QByteArray(16, '\0'));

    Desktop desktop;
    CFolderView& tree = *desktop.frame.folderView();
    QAbstractItemModelTester tester(tree.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    showProject(desktop, {u"c:/a/x.cpp", u"d:/b/y.cpp"}, QStringLiteral("c:/a"));
    const QString shown = treeText(tree);
    QCOMPARE(shown, QStringLiteral("c:+\n  a\n") + QStringLiteral("d:+\n  b\n"));

    // While a message about the file is up, the window still shows the project it had.
    QStringList shownWithMessage;
    ui::MessageBox::setHandler([&](const ui::MessageBox::Request&) {
        shownWithMessage.append(treeText(tree));
        return QMessageBox::Ok;
    });
    desktop.frame.openProjectFile(dir.filePath(QStringLiteral("missing.tyx")));
    QCOMPARE(treeText(tree), shown);  // the user's expansion and selection too
    QCOMPARE(tree.itemPath(tree.selectedItem()), QStringLiteral("c:/a"));
    desktop.frame.openProjectFile(damaged);
    ui::MessageBox::resetHandler();
    QCOMPARE(shownWithMessage, QStringList({shown, shown}));
    QCOMPARE(treeText(tree), QString());  // a damaged file leaves an empty project

    desktop.frame.openProjectFile(loadable);
    CFolderView& reopened = *desktop.frame.folderView();
    QCOMPARE(treeText(reopened), QStringLiteral("e:/loaded\n"));
}

QTEST_MAIN(FolderViewTest)
#include "FolderViewTest.moc"
