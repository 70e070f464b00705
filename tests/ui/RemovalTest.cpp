// Remove in its three forms: the folder selected in the tree, the selected files of that
// folder, and the selected files of the whole list; the pruning of folders left empty.

#include "UiTestSupport.h"

using namespace tw;
using namespace tw::test;
using namespace tw::ui;

namespace {

/// Builds the project from `paths` (project paths, no files on disk needed) and shows it with
/// `remembered` selected.
void showProject(Desktop& desktop, const QStringList& paths, const QString& remembered) {
    for (const QString& path : paths) {
        desktop.root().AddFilePath(path.toStdU16String());
    }
    desktop.document.setRememberedFolderPath(remembered);
    desktop.document.showFolder(&desktop.root());
    desktop.document.setModifiedFlag(false);
}

/// Every record path of the project, in its order.
QStringList projectFiles(ProjectFolder& root) {
    std::vector<const FileCount*> records;
    std::as_const(root).CollectRecords(records);
    QStringList paths;
    for (const FileCount* record : records) {
        paths.append(qs(record->path));
    }
    return paths;
}

const QString kFilesQuestion = QStringLiteral(
    "Are you sure you want to remove the selected file(s) from the project?\r\n\r\nOnce "
    "removed, all empty parent folders will also be removed.");

}  // namespace

class RemovalTest : public QObject {
    Q_OBJECT

  private slots:
    void removesSelectedFolder_data();
    void removesSelectedFolder();
    void removesSelectedFilesOfFolder();
    void removingLastFilePrunesEmptyAncestors();
    void removesSelectedFilesInFilesOnlyMode();
    void answeringNoChangesNothing();
    void documentRemovesWhatItHoldsAndNamesTheRest();
};

void RemovalTest::removesSelectedFolder_data() {
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("nowSelected");
    QTest::newRow("parent keeps its files")
        << "c:/a/b" << QStringList{"c:/a/y.cpp", "d:/e/f/z.cpp"} << "c:/a";
    QTest::newRow("empty parents go up to the drive")
        << "d:/e/f" << QStringList{"c:/a/y.cpp", "c:/a/b/x.cpp"} << "";
}

void RemovalTest::removesSelectedFolder() {
    QFETCH(QString, selected);
    QFETCH(QStringList, left);
    QFETCH(QString, nowSelected);
    MessageBoxRecorder boxes;
    boxes.answers.push_back(QMessageBox::Yes);
    Desktop desktop;
    showProject(desktop, {"c:/a/b/x.cpp", "c:/a/y.cpp", "d:/e/f/z.cpp"}, selected);
    CFolderView* tree = desktop.frame.folderView();
    tree->selectItem(tree->findItem(selected));  // a second drive is not found by the rebuild
    QCOMPARE(tree->itemPath(tree->selectedItem()), selected);
    desktop.focus(tree);
    QVERIFY(desktop.enabled(ID_SELECTION_REMOVE));
    QVERIFY(!desktop.enabled(ID_SELECTION_OPEN));
    desktop.action(ID_SELECTION_REMOVE)->trigger();

    QCOMPARE(boxes.texts(),
             QStringList{"Are you sure you want to remove the folder \"" + selected +
                         "\" from the project?\r\n\r\nAll file counts, subfolders, and empty "
                         "parent folders will also be removed."});
    QCOMPARE(boxes.shown.front().title, QStringLiteral("Confirm removal:"));
    QCOMPARE(projectFiles(desktop.root()), left);
    QVERIFY(desktop.root().FindFolder(selected.toStdU16String()) == nullptr);
    QVERIFY(!tree->findItem(selected).isValid());
    QCOMPARE(tree->itemPath(tree->selectedItem()), nowSelected);
    QCOMPARE(desktop.document.rememberedFolderPath(), nowSelected);
    QVERIFY(desktop.document.isModified());
    if (nowSelected.isEmpty()) {
        QVERIFY(!tree->findItem(QStringLiteral("d:")).isValid());
        QCOMPARE(desktop.list().rowLabel(2), QStringLiteral("Project (0 succeeded, 0 failed)"));
    } else {
        QCOMPARE(desktop.list().rowLabel(0), QStringLiteral("y.cpp"));
    }
}

void RemovalTest::removesSelectedFilesOfFolder() {
    MessageBoxRecorder boxes;
    boxes.answers.push_back(QMessageBox::Yes);
    Desktop desktop;
    showProject(desktop, {"c:/a/1.cpp", "c:/a/2.cpp", "c:/a/3.cpp", "c:/a/4.cpp"},
                QStringLiteral("c:/a"));
    CFileView* list = desktop.frame.fileView();
    desktop.focus(list);
    list->selectionModel()->select(list->model()->index(0, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list->selectionModel()->select(list->model()->index(2, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QVERIFY(desktop.enabled(ID_SELECTION_REMOVE));
    desktop.action(ID_SELECTION_REMOVE)->trigger();

    QCOMPARE(boxes.texts(), QStringList{kFilesQuestion});
    QCOMPARE(projectFiles(desktop.root()), QStringList({"c:/a/2.cpp", "c:/a/4.cpp"}));
    QCOMPARE(desktop.list().fileRowCount(), 2);
    QCOMPARE(desktop.list().rowLabel(0), QStringLiteral("2.cpp"));
    QCOMPARE(desktop.list().rowLabel(1), QStringLiteral("4.cpp"));
    CFolderView* tree = desktop.frame.folderView();
    QCOMPARE(tree->itemPath(tree->selectedItem()), QStringLiteral("c:/a"));
    QVERIFY(tree->hasFocus());
}

void RemovalTest::removingLastFilePrunesEmptyAncestors() {
    MessageBoxRecorder boxes;
    boxes.answers.push_back(QMessageBox::Yes);
    Desktop desktop;
    showProject(desktop, {"c:/keep.cpp", "c:/a/b/c/only.cpp"}, QStringLiteral("c:/a/b/c"));
    desktop.focus(desktop.frame.fileView());
    desktop.frame.fileView()->selectRow(0);
    desktop.action(ID_SELECTION_REMOVE)->trigger();

    QCOMPARE(projectFiles(desktop.root()), QStringList{"c:/keep.cpp"});
    QVERIFY(desktop.root().FindFolder(u"c:/a") == nullptr);
    CFolderView* tree = desktop.frame.folderView();
    QCOMPARE(tree->itemPath(tree->selectedItem()), QStringLiteral("c:"));
    QVERIFY(!tree->findItem(QStringLiteral("c:/a")).isValid());
    QCOMPARE(desktop.document.rememberedFolderPath(), QStringLiteral("c:"));
    QCOMPARE(desktop.list().rowLabel(0), QStringLiteral("keep.cpp"));
}

void RemovalTest::removesSelectedFilesInFilesOnlyMode() {
    MessageBoxRecorder boxes;
    boxes.answers.push_back(QMessageBox::Yes);
    Desktop desktop;
    showProject(desktop, {"c:/a/1.cpp", "c:/b/2.cpp", "c:/a/3.cpp", "c:/c/d/4.cpp"}, "");
    desktop.action(ID_VIEW_FILES_ONLY)->trigger();
    desktop.action(ID_VIEW_SHOW_FULL_PATHS)->trigger();  // names only: removal goes by path
    CFileView* list = desktop.frame.fileView();
    QCOMPARE(desktop.list().rowLabel(0), QStringLiteral("1.cpp"));
    desktop.focus(list);
    for (const int row : {1, 3}) {  // 3.cpp and 4.cpp, after 1.cpp and 3.cpp of folder a
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    desktop.action(ID_SELECTION_REMOVE)->trigger();

    QCOMPARE(projectFiles(desktop.root()), QStringList({"c:/a/1.cpp", "c:/b/2.cpp"}));
    QVERIFY(desktop.root().FindFolder(u"c:/c") == nullptr);
    QCOMPARE(desktop.document.rememberedFolderPath(), QStringLiteral("c:"));
    QCOMPARE(desktop.list().fileRowCount(), 2);
    QCOMPARE(desktop.list().rowLabel(0), QStringLiteral("1.cpp"));
    QCOMPARE(desktop.list().rowLabel(1), QStringLiteral("2.cpp"));
    QCOMPARE(desktop.list().rowLabel(2), QStringLiteral("Project (0 succeeded, 0 failed)"));
}

void RemovalTest::answeringNoChangesNothing() {
    MessageBoxRecorder boxes;
    boxes.answers.push_back(QMessageBox::No);
    Desktop desktop;
    showProject(desktop, {"c:/a/1.cpp"}, QStringLiteral("c:/a"));
    desktop.focus(desktop.frame.folderView());
    desktop.action(ID_SELECTION_REMOVE)->trigger();
    QCOMPARE(boxes.shown.size(), std::size_t(1));
    QCOMPARE(projectFiles(desktop.root()), QStringList{"c:/a/1.cpp"});
    CFolderView* tree = desktop.frame.folderView();
    QCOMPARE(tree->itemPath(tree->selectedItem()), QStringLiteral("c:/a"));
    // The command marks the project modified whatever the answer.
    QVERIFY(desktop.document.isModified());
}

void RemovalTest::documentRemovesWhatItHoldsAndNamesTheRest() {
    // Every form of Remove ends here, without a window: a path the project does not hold stops
    // nothing, and a folder left empty goes with its empty parents.
    CTallyweaverDoc document;
    for (const char16_t* path : {u"c:/a/1.cpp", u"c:/a/2.cpp", u"c:/b/c/3.cpp"}) {
        document.root().AddFilePath(path);
    }
    document.setModifiedFlag(false);
    QSignalSpy removed(&document, &CTallyweaverDoc::filesRemoved);
    QStringList pruned;  // the folders are gone once the call returns: their paths, as told
    QObject::connect(&document, &CTallyweaverDoc::foldersAboutToBeRemoved,
                     [&pruned](ProjectFolder* top) { pruned.append(qs(top->FullPath())); });
    const std::vector<std::u16string> missing =
        document.removeFiles({u"c:/a/1.cpp", u"c:/x/none.cpp", u"c:/b/c/3.cpp"});
    QCOMPARE(missing, std::vector<std::u16string>{u"c:/x/none.cpp"});
    QCOMPARE(projectFiles(document.root()), QStringList{"c:/a/2.cpp"});
    QVERIFY(document.root().FindFolder(u"c:/b") == nullptr);
    QCOMPARE(pruned, QStringList{"c:/b"});
    QCOMPARE(document.rememberedFolderPath(), QStringLiteral("c:"));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.front().front().value<ProjectFolder*>(), document.root().FindFolder(u"c:"));
    QVERIFY(document.isModified());
    document.setModifiedFlag(false);
}

QTEST_MAIN(RemovalTest)
#include "RemovalTest.moc"
