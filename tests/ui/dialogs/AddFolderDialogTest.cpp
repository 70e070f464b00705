// The Add Folder dialog: extension lists and their memory, custom extensions, the scan.
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "support/GitRepository.h"
#include "support/TempDir.h"
#include "ui/dialogs/AddFolderOptions.h"
#include "ui/dialogs/CAddFolderDialog.h"
#include "ui/dialogs/DialogTestSupport.h"
#include "ui/dialogs/ExtensionLists.h"
#include "ui/dialogs/FolderScan.h"

using tw::test::child;
using tw::test::MessageRecorder;
using tw::ui::CAddFolderDialog;
using tw::ui::CustomExtension;

namespace {

QStringList itemsOf(const QListWidget* list) {
    QStringList items;
    for (int row = 0; row < list->count(); ++row) {
        items.append(list->item(row)->text());
    }
    return items;
}

void select(QListWidget* list, const QStringList& texts) {
    list->clearSelection();
    for (int row = 0; row < list->count(); ++row) {
        if (texts.contains(list->item(row)->text())) {
            list->item(row)->setSelected(true);
        }
    }
}

std::vector<std::string> sorted(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
}

/// A git work tree in `directory`/repo ignoring build/, with a.c, build/b.c and gen/c.c; the
/// files are left untracked, so only the ignore rules decide.
std::string makeWorkTree(const tw::test::TempDir& directory) {
    const tw::test::GitCommands git(directory.pathOf("home"));
    const std::string repo = directory.pathOf("repo");
    directory.write("repo/.gitignore", "build/\n");
    for (const char* name : {"repo/a.c", "repo/build/b.c", "repo/gen/c.c"}) {
        directory.write(name, "int x;\n");
    }
    const tw::test::ProcessResult init = git.run(repo, {"init", "-q"});
    if (init.exitCode != 0) {
        qFatal("git init failed: %s", init.err.c_str());
    }
    return repo;
}

void pickDirectory(CAddFolderDialog& dialog, const std::string& directory) {
    child<QLineEdit>(&dialog, "directoryEdit")->setText(QString::fromStdString(directory));
}

}  // namespace

class AddFolderDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { tw::ui::rememberedExtensions() = {}; }

    void customExtensionRules_data();
    void customExtensionRules();
    void opensWithDefaultsAndSortedLists();
    void subfoldersCheckedAndProgressEmptyAtEveryOpening();
    void movesSelectedExtensionsAndKeepsThemOnlyAfterOk();
    void addingCustomExtension();
    void refusedCustomExtensionChangesNothing();
    void invalidDirectoryKeepsDialogOpen();
    void scansIncludedExtensionsIgnoringCase();
    void withoutSubfoldersFindsOnlyTheDirectoryItself();
    void emptyIncludedListFindsNothingAndDefaultsReturn();
    void scanJoinsWithOneSlash();
    void linkBackToAnOpenDirectoryIsNotEnteredAgain();
    void unreadableDirectoryYieldsNothing();
    void versionControlChoiceFollowsTheDirectoryAndIsRemembered();
    void skipsWhatGitIgnoresAndWhatTheExcludeFieldNames();
    void repositoryGitCannotReadIsNamedWithTheReason();
    void excludeFieldSplitsAtSpaces();
};

void AddFolderDialogTest::customExtensionRules_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");   // empty when refused
    QTest::addColumn<QString>("message");  // empty when accepted

    QTest::newRow("period added") << "cpp"
                                  << ".cpp"
                                  << "";
    QTest::newRow("case kept") << ".CPP"
                               << ".CPP"
                               << "";
    QTest::newRow("lone period") << "."
                                 << "."
                                 << "";
    QTest::newRow("spaces are allowed") << "my ext"
                                        << ".my ext"
                                        << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "Please enter an extension (may begin with a period).";
    QTest::newRow("second period") << ".tar.gz"
                                   << ""
                                   << "Illegal character in extension: '.'";
    QTest::newRow("doubled leading period") << "..cpp"
                                            << ""
                                            << "Illegal character in extension: '.'";
    QTest::newRow("first of two refused") << "a*b|c"
                                          << ""
                                          << "Illegal character in extension: '*'";
    for (const QChar refused : QStringLiteral("|<>\\^=?/[]\";*")) {
        QTest::newRow(qPrintable(QStringLiteral("refuses %1").arg(refused)))
            << QStringLiteral("x") + refused << ""
            << QStringLiteral("Illegal character in extension: '%1'").arg(refused);
    }
}

void AddFolderDialogTest::customExtensionRules() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, message);

    const CustomExtension check = tw::ui::checkCustomExtension(typed);
    QCOMPARE(check.status == CustomExtension::Status::Accepted, message.isEmpty());
    QCOMPARE(check.text, stored);
    QCOMPARE(tw::ui::customExtensionMessage(check), message);
}

void AddFolderDialogTest::opensWithDefaultsAndSortedLists() {
    CAddFolderDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Add Folder"));
    // Every extension of C and C++ is taken at first: none of their files is skipped unasked.
    QCOMPARE(itemsOf(child<QListWidget>(&dialog, "includedList")),
             QStringList({".c", ".cc", ".cpp", ".cxx", ".h", ".hh", ".hpp", ".hxx", ".inl", ".java",
                          ".rc"}));
    QCOMPARE(itemsOf(child<QListWidget>(&dialog, "unusedList")), QStringList({".txt", "[none]"}));
    // The memory keeps the defaults in the language table's order, not the lists' sorted one.
    QCOMPARE(tw::ui::rememberedExtensions().included,
             QStringList({".h", ".hpp", ".hxx", ".hh", ".c", ".cpp", ".cc", ".cxx", ".inl", ".rc",
                          ".java"}));
}

void AddFolderDialogTest::subfoldersCheckedAndProgressEmptyAtEveryOpening() {
    tw::test::TempDir directory;
    {
        CAddFolderDialog dialog;
        child<QCheckBox>(&dialog, "includeSubfoldersCheck")->setChecked(false);
        child<QLineEdit>(&dialog, "directoryEdit")
            ->setText(QString::fromStdString(directory.path().string()));
        child<QPushButton>(&dialog, "okButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(child<QLabel>(&dialog, "progressLabel")->text(),
                 QStringLiteral("Scanning directories for files... Pleast wait."));
    }
    CAddFolderDialog again;
    const auto* subfolders = child<QCheckBox>(&again, "includeSubfoldersCheck");
    QVERIFY(subfolders->isChecked());
    QCOMPARE(subfolders->toolTip(),
             QStringLiteral("Add code files from the subfolders of the folder specified"));
    QVERIFY(child<QLabel>(&again, "progressLabel")->text().isEmpty());
}

void AddFolderDialogTest::movesSelectedExtensionsAndKeepsThemOnlyAfterOk() {
    tw::test::TempDir directory;
    {
        CAddFolderDialog dialog;
        auto* unused = child<QListWidget>(&dialog, "unusedList");
        auto* included = child<QListWidget>(&dialog, "includedList");
        select(unused, {".txt", "[none]"});
        child<QPushButton>(&dialog, "includeButton")->click();
        QCOMPARE(itemsOf(unused), QStringList());
        QCOMPARE(itemsOf(included),
                 QStringList({".c", ".cc", ".cpp", ".cxx", ".h", ".hh", ".hpp", ".hxx", ".inl",
                              ".java", ".rc", ".txt", "[none]"}));
        select(included, {".rc", ".inl"});
        child<QPushButton>(&dialog, "excludeButton")->click();
        QCOMPARE(itemsOf(unused), QStringList({".inl", ".rc"}));
        dialog.reject();
    }
    // Cancelled: the moves are forgotten.
    QCOMPARE(tw::ui::rememberedExtensions().unused, QStringList({".txt", "[none]"}));
    {
        CAddFolderDialog dialog;
        select(child<QListWidget>(&dialog, "includedList"), {".java", ".rc"});
        child<QPushButton>(&dialog, "excludeButton")->click();
        child<QLineEdit>(&dialog, "directoryEdit")
            ->setText(QString::fromStdString(directory.path().string()));
        child<QPushButton>(&dialog, "okButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    // OK: both lists are taken over in list order.
    const QStringList cpp{".c", ".cc", ".cpp", ".cxx", ".h", ".hh", ".hpp", ".hxx", ".inl"};
    QCOMPARE(tw::ui::rememberedExtensions().included, cpp);
    QCOMPARE(tw::ui::rememberedExtensions().unused,
             QStringList({".java", ".rc", ".txt", "[none]"}));
    CAddFolderDialog reopened;
    QCOMPARE(itemsOf(child<QListWidget>(&reopened, "includedList")), cpp);
}

void AddFolderDialogTest::addingCustomExtension() {
    MessageRecorder messages;
    CAddFolderDialog dialog;
    auto* edit = child<QLineEdit>(&dialog, "customExtensionEdit");
    auto* add = child<QPushButton>(&dialog, "addExtensionButton");
    auto* included = child<QListWidget>(&dialog, "includedList");

    edit->setText(QStringLiteral("Txt"));
    add->click();
    QVERIFY(itemsOf(included).contains(QStringLiteral(".Txt")));
    // Added to the memory at once, so it stays even if the dialog is cancelled.
    QCOMPARE(tw::ui::rememberedExtensions().included.last(), QStringLiteral(".Txt"));

    // The same text as an unused extension stands in both lists.
    edit->setText(QStringLiteral(".txt"));
    add->click();
    QVERIFY(itemsOf(included).contains(QStringLiteral(".txt")));
    QVERIFY(itemsOf(child<QListWidget>(&dialog, "unusedList")).contains(QStringLiteral(".txt")));

    // Moved out while the dialog is open, then typed again: refused without a word, because
    // the remembered list still holds it.
    select(included, {".cpp"});
    child<QPushButton>(&dialog, "excludeButton")->click();
    edit->setText(QStringLiteral("cpp"));
    add->click();
    QVERIFY(!itemsOf(included).contains(QStringLiteral(".cpp")));
    QVERIFY(messages.shown.isEmpty());
    dialog.reject();
    QVERIFY(tw::ui::rememberedExtensions().included.contains(QStringLiteral(".Txt")));
}

void AddFolderDialogTest::refusedCustomExtensionChangesNothing() {
    MessageRecorder messages;
    CAddFolderDialog dialog;
    auto* included = child<QListWidget>(&dialog, "includedList");
    const QStringList before = itemsOf(included);

    child<QLineEdit>(&dialog, "customExtensionEdit")->setText(QStringLiteral(".tar.gz"));
    child<QPushButton>(&dialog, "addExtensionButton")->click();
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].text, QStringLiteral("Illegal character in extension: '.'"));
    QCOMPARE(messages.shown[0].title, QStringLiteral("Tallyweaver"));

    child<QLineEdit>(&dialog, "customExtensionEdit")->clear();
    child<QPushButton>(&dialog, "addExtensionButton")->click();
    QCOMPARE(messages.shown.size(), 2);
    QCOMPARE(messages.shown[1].text,
             QStringLiteral("Please enter an extension (may begin with a period)."));

    QCOMPARE(itemsOf(included), before);
    QCOMPARE(tw::ui::rememberedExtensions().included.size(), 11);
}

void AddFolderDialogTest::invalidDirectoryKeepsDialogOpen() {
    tw::test::TempDir directory;
    const QString file = QString::fromStdString(directory.write("plain.cpp", "int x;\n"));
    const QString missing = QString::fromStdString(directory.pathOf("missing"));
    const auto reason = [](int error) { return QString::fromLocal8Bit(std::strerror(error)); };
    // The message names the folder and says why, beneath its first line.
    const std::pair<QString, QString> cases[] = {
        {QString(), QStringLiteral("Directory is not valid.\n\nNo folder was given.")},
        {missing, QStringLiteral("Directory is not valid.\n\n") + missing + QLatin1Char('\n') +
                      reason(ENOENT)},
        {file, QStringLiteral("Directory is not valid.\n\n") + file + QLatin1Char('\n') +
                   reason(ENOTDIR)},
    };
    for (const auto& [typed, expected] : cases) {
        MessageRecorder messages;
        CAddFolderDialog dialog;
        select(child<QListWidget>(&dialog, "includedList"), {".c"});
        child<QPushButton>(&dialog, "excludeButton")->click();
        child<QLineEdit>(&dialog, "directoryEdit")->setText(typed);
        child<QPushButton>(&dialog, "okButton")->click();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, expected);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.foundFiles().empty());
        // Nothing was taken over.
        QVERIFY(tw::ui::rememberedExtensions().included.contains(QStringLiteral(".c")));
    }
}

void AddFolderDialogTest::scansIncludedExtensionsIgnoringCase() {
    tw::test::TempDir directory;
    const std::string root = directory.path().string();
    directory.write("a.CPP", "");
    directory.write("b.h", "");
    directory.write("Makefile", "");
    directory.write(".profile", "");
    directory.write(".hidden.c", "");
    directory.write("notes.txt", "");
    directory.write("sub/c.c", "");
    directory.write("sub/deeper/d.java", "");
    directory.write("sub/deeper/e.Java.bak", "");

    MessageRecorder messages;
    CAddFolderDialog dialog;
    select(child<QListWidget>(&dialog, "unusedList"), {"[none]"});
    child<QPushButton>(&dialog, "includeButton")->click();
    child<QLineEdit>(&dialog, "customExtensionEdit")->setText(QStringLiteral("PROFILE"));
    child<QPushButton>(&dialog, "addExtensionButton")->click();
    child<QLineEdit>(&dialog, "directoryEdit")->setText(QString::fromStdString(root));
    child<QPushButton>(&dialog, "okButton")->click();

    QVERIFY(messages.shown.isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(sorted(dialog.foundFiles()),
             sorted({root + "/.hidden.c", root + "/.profile", root + "/Makefile", root + "/a.CPP",
                     root + "/b.h", root + "/sub/c.c", root + "/sub/deeper/d.java"}));
}

void AddFolderDialogTest::withoutSubfoldersFindsOnlyTheDirectoryItself() {
    tw::test::TempDir directory;
    const std::string root = directory.path().string();
    directory.write("top.cpp", "");
    directory.write("sub/inner.cpp", "");

    CAddFolderDialog dialog;
    child<QCheckBox>(&dialog, "includeSubfoldersCheck")->setChecked(false);
    child<QLineEdit>(&dialog, "directoryEdit")->setText(QString::fromStdString(root));
    child<QPushButton>(&dialog, "okButton")->click();
    QCOMPARE(dialog.foundFiles(), std::vector<std::string>{root + "/top.cpp"});
}

void AddFolderDialogTest::emptyIncludedListFindsNothingAndDefaultsReturn() {
    tw::test::TempDir directory;
    directory.write("a.cpp", "");
    {
        CAddFolderDialog dialog;
        auto* included = child<QListWidget>(&dialog, "includedList");
        included->selectAll();
        child<QPushButton>(&dialog, "excludeButton")->click();
        QCOMPARE(included->count(), 0);
        child<QLineEdit>(&dialog, "directoryEdit")
            ->setText(QString::fromStdString(directory.path().string()));
        child<QPushButton>(&dialog, "okButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.foundFiles().empty());
    }
    // The next opening appends the defaults again, so the unused ones now stand twice.
    CAddFolderDialog reopened;
    QCOMPARE(child<QListWidget>(&reopened, "includedList")->count(), 11);
    const QStringList unused = itemsOf(child<QListWidget>(&reopened, "unusedList"));
    QCOMPARE(unused.size(), 11 + 2 + 2);
    QCOMPARE(unused.count(QStringLiteral(".txt")), 2);
}

void AddFolderDialogTest::scanJoinsWithOneSlash() {
    tw::test::TempDir directory;
    const std::string root = directory.path().string();
    directory.write("sub/x.c", "");
    const std::vector<std::string> expected{root + "/sub/x.c"};
    QCOMPARE(tw::ui::scanFolderForFiles(root, {".c"}, true), expected);
    QCOMPARE(tw::ui::scanFolderForFiles(root + "/", {".c"}, true), expected);
}

void AddFolderDialogTest::linkBackToAnOpenDirectoryIsNotEnteredAgain() {
    tw::test::TempDir directory;
    const std::string root = directory.path().string();
    directory.write("a/x.c", "");
    directory.write("b/y.c", "");
    // a/up leads back to the top, which is being scanned; a/side leads to b, which is not.
    QCOMPARE(::symlink(root.c_str(), (root + "/a/up").c_str()), 0);
    QCOMPARE(::symlink((root + "/b").c_str(), (root + "/a/side").c_str()), 0);
    QCOMPARE(::symlink((root + "/a/x.c").c_str(), (root + "/linked.c").c_str()), 0);

    // b, met first as a/side, is not scanned again under its own name.
    const std::vector<std::string> found = tw::ui::scanFolderForFiles(root, {".c"}, true);
    QCOMPARE(sorted(found), sorted({root + "/a/x.c", root + "/a/side/y.c", root + "/linked.c"}));
}

void AddFolderDialogTest::unreadableDirectoryYieldsNothing() {
    tw::test::TempDir directory;
    QVERIFY(tw::ui::scanFolderForFiles(directory.pathOf("missing"), {".c"}, true).empty());
}

void AddFolderDialogTest::versionControlChoiceFollowsTheDirectoryAndIsRemembered() {
    tw::test::TempDir directory;
    const std::string repo = makeWorkTree(directory);
    directory.write("plain/x.c", "");
    QSettings settings(QString::fromStdString(directory.pathOf("settings.ini")),
                       QSettings::IniFormat);
    {
        CAddFolderDialog dialog(nullptr, &settings);
        auto* skip = child<QCheckBox>(&dialog, "skipIgnoredCheck");
        QCOMPARE(skip->text(), QStringLiteral("Skip files that version control ignores"));
        // No directory yet: nothing to offer.
        QVERIFY(!skip->isEnabled());
        QVERIFY(!skip->isChecked());
        // On by default inside a work tree, below its top too.
        pickDirectory(dialog, repo + "/gen");
        QVERIFY(skip->isEnabled());
        QVERIFY(skip->isChecked());
        pickDirectory(dialog, directory.pathOf("plain"));
        QVERIFY(!skip->isEnabled());
        QVERIFY(!skip->isChecked());
        pickDirectory(dialog, repo);
        skip->click();
        QVERIFY(!skip->isChecked());
        // The user's choice holds while the directory changes.
        pickDirectory(dialog, directory.pathOf("plain"));
        pickDirectory(dialog, repo);
        QVERIFY(!skip->isChecked());
        child<QLineEdit>(&dialog, "excludeEdit")->setText(QStringLiteral("gen/  *.pb.c"));
        child<QPushButton>(&dialog, "okButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    QCOMPARE(settings.value(QStringLiteral("Add Folder/SkipIgnoredFiles")).toBool(), false);
    QCOMPARE(settings.value(QStringLiteral("Add Folder/Exclude")).toString(),
             QStringLiteral("gen/  *.pb.c"));
    {
        CAddFolderDialog reopened(nullptr, &settings);
        pickDirectory(reopened, repo);
        QVERIFY(!child<QCheckBox>(&reopened, "skipIgnoredCheck")->isChecked());
        QCOMPARE(child<QLineEdit>(&reopened, "excludeEdit")->text(),
                 QStringLiteral("gen/  *.pb.c"));
        // Cancelled: nothing is kept.
        child<QCheckBox>(&reopened, "skipIgnoredCheck")->click();
        reopened.reject();
    }
    QCOMPARE(settings.value(QStringLiteral("Add Folder/SkipIgnoredFiles")).toBool(), false);
    // Without a settings file, every opening starts from the defaults.
    CAddFolderDialog unsaved;
    pickDirectory(unsaved, repo);
    QVERIFY(child<QCheckBox>(&unsaved, "skipIgnoredCheck")->isChecked());
    QVERIFY(child<QLineEdit>(&unsaved, "excludeEdit")->text().isEmpty());
}

void AddFolderDialogTest::skipsWhatGitIgnoresAndWhatTheExcludeFieldNames() {
    tw::test::TempDir directory;
    const std::string repo = makeWorkTree(directory);
    const struct {
        bool skipIgnored;
        QString exclude;
        std::vector<std::string> found;
    } cases[] = {
        {true, QString(), {"/a.c", "/gen/c.c"}},
        {false, QString(), {"/a.c", "/build/b.c", "/gen/c.c"}},
        {true, QStringLiteral("gen/"), {"/a.c"}},
        {false, QStringLiteral(" a.c  gen/** "), {"/build/b.c"}},
    };
    for (const auto& c : cases) {
        CAddFolderDialog dialog;
        pickDirectory(dialog, repo);
        auto* skip = child<QCheckBox>(&dialog, "skipIgnoredCheck");
        if (skip->isChecked() != c.skipIgnored) {
            skip->click();
        }
        child<QLineEdit>(&dialog, "excludeEdit")->setText(c.exclude);
        child<QPushButton>(&dialog, "okButton")->click();
        std::vector<std::string> expected;
        for (const std::string& file : c.found) {
            expected.push_back(repo + file);
        }
        QCOMPARE(dialog.foundFiles(), expected);
    }
}

void AddFolderDialogTest::repositoryGitCannotReadIsNamedWithTheReason() {
    tw::test::TempDir directory;
    const std::string repo = makeWorkTree(directory);
    // A pipe in place of the index: the work tree is found, but its repository is not read, so
    // nothing is skipped.
    const std::string index = repo + "/.git/index";
    QCOMPARE(tw::test::GitCommands(directory.pathOf("home")).run(repo, {"add", "a.c"}).exitCode, 0);
    QCOMPARE(::unlink(index.c_str()), 0);
    QCOMPARE(::mkfifo(index.c_str(), 0600), 0);
    MessageRecorder messages;
    CAddFolderDialog dialog;
    pickDirectory(dialog, repo);
    auto* skip = child<QCheckBox>(&dialog, "skipIgnoredCheck");
    if (!skip->isChecked()) {
        skip->click();
    }
    child<QPushButton>(&dialog, "okButton")->click();
    QCOMPARE(dialog.foundFiles(),
             std::vector<std::string>({repo + "/a.c", repo + "/build/b.c", repo + "/gen/c.c"}));
    QCOMPARE(messages.shown.size(), 1);
    const QString text = messages.shown.front().text;
    QVERIFY2(text.startsWith(QStringLiteral("Files that version control ignores are not skipped: "
                                            "directory '") +
                             QString::fromStdString(repo) + QStringLiteral("': '")),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("/.git/index' is not a regular file, so the git "
                                          "repository is not read; every file in it is "
                                          "scanned.")),
             qPrintable(text));
}

void AddFolderDialogTest::excludeFieldSplitsAtSpaces() {
    QCOMPARE(tw::ui::excludePatternsOf(QStringLiteral("  build/\t*.pb.cc  my?file.c ")),
             QStringList({"build/", "*.pb.cc", "my?file.c"}));
    QVERIFY(tw::ui::excludePatternsOf(QStringLiteral("   ")).isEmpty());
}

QTEST_MAIN(AddFolderDialogTest)
#include "AddFolderDialogTest.moc"
