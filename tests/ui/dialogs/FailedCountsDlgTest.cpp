// The Errors dialog: its own copy of the failed files in path order, the open buttons.
#include <QAbstractItemModel>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"
#include "support/TempDir.h"
#include "ui/common/Shell.h"
#include "ui/dialogs/CFailedCountsDlg.h"
#include "ui/dialogs/DialogTestSupport.h"

using tw::test::child;
using tw::test::ShellRecorder;
using tw::ui::CFailedCountsDlg;
using tw::ui::Shell;

namespace {

QStringList column(const QTreeView* view, int column) {
    QStringList texts;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        texts.append(model->index(row, column).data().toString());
    }
    return texts;
}

void selectRows(QTreeView* view, std::initializer_list<int> rows) {
    view->clearSelection();
    for (const int row : rows) {
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

}  // namespace

class FailedCountsDlgTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { tw::failedCountTable().clear(); }
    void cleanup() { tw::failedCountTable().clear(); }

    void listsOwnCopyInPathOrder();
    void saysHowManyFilesFailed();
    void opensWideEnoughForALongRemark();
    void openButtonsNeedASelection();
    void opensSelectedFilesInRowOrder();
    void warningImageHasTransparentBackground();
    void textEditorCommand();
    void editorsOpenAtTheErrorLine_data();
    void editorsOpenAtTheErrorLine();
    void failureLineIsTheOneTheTextNames_data();
    void failureLineIsTheOneTheTextNames();
};

void FailedCountsDlgTest::listsOwnCopyInPathOrder() {
    // Counted in this order; listed by UTF-16 code units, where '.' < '\' < 'b'.
    tw::failedCountTable()[u"c:\\b.cpp"] = u"Failed to open file.";
    tw::failedCountTable()[u"c:\\a\\z.cpp"] = u"Logical parser failure: x (line 3).";
    tw::failedCountTable()[u"c:\\a.cpp"] = u"Error parsing operators: y (line 7).";

    CFailedCountsDlg dialog;
    tw::failedCountTable().clear();
    tw::failedCountTable()[u"c:\\late.cpp"] = u"after the dialog was made";

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Errors"));
    QCOMPARE(child<QLabel>(&dialog, "messageLabel")->text(),
             QStringLiteral("Errors were encountered in the following 3 files:"));
    const auto* list = child<QTreeView>(&dialog, "failedList");
    QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("File"));
    QCOMPARE(list->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Remarks"));
    QCOMPARE(column(list, 0), QStringList({"c:\\a.cpp", "c:\\a\\z.cpp", "c:\\b.cpp"}));
    QCOMPARE(column(list, 1),
             QStringList({"Error parsing operators: y (line 7).",
                          "Logical parser failure: x (line 3).", "Failed to open file."}));
    // Both columns fit at least their titles and contents.
    const QFontMetrics metrics(list->font());
    QVERIFY(list->columnWidth(0) >= metrics.horizontalAdvance(QStringLiteral("c:\\a\\z.cpp")));
    QVERIFY(list->columnWidth(1) >=
            metrics.horizontalAdvance(QStringLiteral("Logical parser failure: x (line 3).")));
}

void FailedCountsDlgTest::opensWideEnoughForALongRemark() {
    tw::FailedCountTable failures;
    failures[u"/project/src/some/deep/folder/file.cpp"] =
        u"Logical parser failure: an unexpected closing brace in a template (line 1234).";
    CFailedCountsDlg dialog(failures, nullptr, nullptr);
    const auto* list = child<QTreeView>(&dialog, "failedList");
    QVERIFY(dialog.width() > list->columnWidth(0) + list->columnWidth(1));
}

void FailedCountsDlgTest::saysHowManyFilesFailed() {
    struct Case {
        int files;
        QString text;
    };
    const std::vector<Case> cases{
        {1, QStringLiteral("Errors were encountered in the following file:")},
        {2, QStringLiteral("Errors were encountered in the following 2 files:")},
    };
    for (const Case& c : cases) {
        tw::FailedCountTable failures;
        for (int i = 0; i < c.files; ++i) {
            failures[u"/p/f" + std::u16string(1, char16_t(u'0' + i)) + u".cpp"] = u"x";
        }
        CFailedCountsDlg dialog(failures, nullptr, nullptr);
        QCOMPARE(child<QLabel>(&dialog, "messageLabel")->text(), c.text);
    }
}

void FailedCountsDlgTest::openButtonsNeedASelection() {
    tw::failedCountTable()[u"c:\\a.cpp"] = u"Failed to open file.";
    tw::failedCountTable()[u"c:\\b.cpp"] = u"Failed to open file.";
    CFailedCountsDlg dialog;
    auto* list = child<QTreeView>(&dialog, "failedList");
    const auto* open = child<QPushButton>(&dialog, "openFilesButton");
    const auto* editor = child<QPushButton>(&dialog, "openInTextEditorButton");
    QCOMPARE(open->text(), QStringLiteral("Open File(s)..."));
    QCOMPARE(editor->text(), QStringLiteral("Open in Text Editor..."));

    QVERIFY(!open->isEnabled() && !editor->isEnabled());
    selectRows(list, {1});
    QVERIFY(open->isEnabled() && editor->isEnabled());
    list->clearSelection();
    QVERIFY(!open->isEnabled() && !editor->isEnabled());
}

void FailedCountsDlgTest::opensSelectedFilesInRowOrder() {
    // Records know where their files lie on disk; a path the project does not hold is taken
    // as it is.
    tw::ProjectFolder project;
    project.AddFilePath(u"/Home/U/Src/A.CPP", "/Home/U/Src/A.CPP");
    project.AddFilePath(u"/Home/U/Src/B\uFFFD.CPP", "/Home/U/Src/B\xFF.CPP");
    tw::failedCountTable()[u"/Home/U/Src/A.CPP"] = u"Failed to open file.";
    tw::failedCountTable()[u"/Home/U/Src/B\uFFFD.CPP"] = u"Failed to open file.";
    tw::failedCountTable()[u"/Home/U/gone.cpp"] = u"Failed to open file.";

    ShellRecorder shell;
    CFailedCountsDlg dialog(nullptr, &project);
    auto* list = child<QTreeView>(&dialog, "failedList");
    QCOMPARE(column(list, 0), QStringList({QStringLiteral("/Home/U/Src/A.CPP"),
                                           QStringLiteral("/Home/U/Src/B\uFFFD.CPP"),
                                           QStringLiteral("/Home/U/gone.cpp")}));

    selectRows(list, {2, 1});
    child<QPushButton>(&dialog, "openFilesButton")->click();
    child<QPushButton>(&dialog, "openInTextEditorButton")->click();

    using Action = Shell::Action;
    const std::vector<std::pair<Action, QString>> expected{
        {Action::Open, QFile::decodeName("/Home/U/Src/B\xFF.CPP")},
        {Action::Open, "/Home/U/gone.cpp"},
        {Action::OpenInTextEditor, QFile::decodeName("/Home/U/Src/B\xFF.CPP")},
        {Action::OpenInTextEditor, "/Home/U/gone.cpp"},
    };
    QVERIFY(shell.requests == expected);
}

void FailedCountsDlgTest::warningImageHasTransparentBackground() {
    CFailedCountsDlg dialog;
    const QImage image = child<QLabel>(&dialog, "warningImage")->pixmap().toImage();
    QCOMPARE(image.size(), QSize(24, 24));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(23, 23)), 0);
    const QColor square = image.pixelColor(5, 12);
    QVERIFY(square.alpha() == 255 && square.red() > 180 && square.green() < 80);
    QCOMPARE(image.pixelColor(12, 8), QColor(Qt::white));   // the bar
    QCOMPARE(image.pixelColor(12, 18), QColor(Qt::white));  // the dot
}

void FailedCountsDlgTest::textEditorCommand() {
    tw::test::TempDir first;
    tw::test::TempDir second;
    const auto executable = [](const tw::test::TempDir& dir, const std::string& name) {
        const std::string path = dir.write(name, "#!/bin/sh\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
        return QString::fromStdString(path);
    };
    const QString mousepad = executable(first, "mousepad");
    const QString gedit = executable(second, "gedit");
    first.write("kate", "not executable");
    const QString firstDir = QString::fromStdString(first.path().string());
    const QString bothDirs =
        firstDir + QLatin1Char(':') + QString::fromStdString(second.path().string());

    using tw::ui::textEditorCommand;
    QCOMPARE(textEditorCommand(QStringLiteral("myedit --wait"), bothDirs),
             QStringList({"myedit", "--wait"}));
    QCOMPARE(textEditorCommand(QString(), firstDir), QStringList{mousepad});
    // The editors are tried in their own order, each along the whole search path.
    QCOMPARE(textEditorCommand(QString(), bothDirs), QStringList{gedit});
    QCOMPARE(textEditorCommand(QString(), QString()), QStringList{"xdg-open"});
}

void FailedCountsDlgTest::editorsOpenAtTheErrorLine_data() {
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("arguments");
    const QString file = QStringLiteral("/src/a b.cpp");
    QTest::newRow("+LINE") << QStringList{"/usr/bin/gedit"} << file << 12
                           << QStringList{"/usr/bin/gedit", "+12", file};
    QTest::newRow("+LINE after the editor's own arguments")
        << QStringList{"emacsclient", "-c"} << file << 3
        << QStringList{"emacsclient", "-c", "+3", file};
    QTest::newRow("a line option")
        << QStringList{"kate"} << file << 7 << QStringList{"kate", "-l", "7", file};
    QTest::newRow("a goto option") << QStringList{"code", "--wait"} << file << 9
                                   << QStringList{"code", "--wait", "-g", file + ":9"};
    QTest::newRow("an editor that takes no line")
        << QStringList{"mousepad"} << file << 12 << QStringList{"mousepad", file};
    QTest::newRow("the desktop's opener")
        << QStringList{"xdg-open"} << file << 12 << QStringList{"xdg-open", file};
    QTest::newRow("no line") << QStringList{"vim"} << file << 0 << QStringList{"vim", file};
    // A name that looks like an option is made a path.
    QTest::newRow("a relative name beginning with +")
        << QStringList{"vim"} << QStringLiteral("+x.c") << 2 << QStringList{"vim", "+2", "./+x.c"};
    QTest::newRow("a relative name beginning with -")
        << QStringList{"mousepad"} << QStringLiteral("-x.c") << 2
        << QStringList{"mousepad", "./-x.c"};
}

void FailedCountsDlgTest::editorsOpenAtTheErrorLine() {
    QFETCH(QStringList, command);
    QFETCH(QString, file);
    QFETCH(int, line);
    QFETCH(QStringList, arguments);
    QCOMPARE(tw::ui::textEditorArguments(command, file, line), arguments);
}

void FailedCountsDlgTest::failureLineIsTheOneTheTextNames_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::newRow("at the end") << "Logical parser failure: x (line 3)." << 3;
    QTest::newRow("none") << "Failed to open file." << 0;
    QTest::newRow("not at the end") << "Failed near (line 3). in x" << 0;
    QTest::newRow("line 0") << "Failure (line 0)." << 0;
    QTest::newRow("too large a number") << "Failure (line 99999999999)." << 0;
}

void FailedCountsDlgTest::failureLineIsTheOneTheTextNames() {
    QFETCH(QString, text);
    QFETCH(int, line);
    QCOMPARE(tw::ui::failureLine(text), line);
}

QTEST_MAIN(FailedCountsDlgTest)
#include "FailedCountsDlgTest.moc"
