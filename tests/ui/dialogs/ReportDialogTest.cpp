// The Generate Report dialog: its controls and their ties, the preview, the written file.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/TextConversion.h"
#include "project/ProjectFolder.h"
#include "report/JsonReport.h"
#include "report/ReportWriter.h"
#include "report/TextFile.h"
#include "support/SettingsGuard.h"
#include "support/TempDir.h"
#include "ui/dialogs/CReportDialog.h"
#include "ui/dialogs/DialogTestSupport.h"
#include "ui/dialogs/IndentationSpinBox.h"
#include "ui/dialogs/ReportFile.h"

using tw::ProjectFolder;
using tw::test::child;
using tw::test::MessageRecorder;
using tw::ui::CReportDialog;

namespace {

/// A small project: two counted files and an uncounted one in two folders.
void fillProject(ProjectFolder& root) {
    const std::u16string paths[] = {u"c/src/main.cpp", u"c/src/util/strings.h",
                                    u"c/src/util/strings.cpp"};
    for (const std::u16string& path : paths) {
        root.AddFilePath(path, "/nonexistent/file");
    }
    std::vector<tw::FileCount*> records;
    root.CollectRecords(records);
    for (std::size_t i = 0; i + 1 < records.size(); ++i) {
        records[i]->counted = true;
        records[i]->code = static_cast<std::uint32_t>(10 * (i + 1));
        records[i]->blank = 3;
    }
}

QString text(const std::u16string& report) {
    return QString::fromStdU16String(report);
}

/// The state of the seven choice controls as a string: a letter where a button is checked,
/// lower case where it is disabled ("T__L_ Fi4" = .txt, List, Display Full Paths, indentation 4
/// disabled).
QString choices(const CReportDialog& dialog) {
    const auto state = [&dialog](const char* name, char letter) -> QString {
        const auto* button = child<QAbstractButton>(&dialog, name);
        if (!button->isChecked()) {
            return button->isEnabled() ? QStringLiteral("_") : QStringLiteral(".");
        }
        return QString(QChar(button->isEnabled() ? letter : QChar::toLower(letter)));
    };
    const auto* indentation = child<tw::ui::IndentationSpinBox>(&dialog, "indentationEdit");
    return state("txtRadio", 'T') + state("csvRadio", 'C') + state("jsonRadio", 'J') +
           state("listRadio", 'L') + state("treeRadio", 'R') + QLatin1Char(' ') +
           state("fullPathsCheck", 'F') +
           (indentation->isEnabled() ? QStringLiteral("I") : QStringLiteral("i")) +
           indentation->text();
}

/// What the console writes as the JSON report of `root`.
std::string jsonReport(const ProjectFolder& root) {
    std::string json;
    tw::writeJsonReport(root, tw::countSettings(), [&json](std::string_view piece) {
        json.append(piece);
        return true;
    });
    return json;
}

/// Writes the report of `root` in the format of `formatRadio` into `directory` with OK; the
/// dialog's result and preview text.
struct WrittenReport {
    int result;
    std::u16string preview;
};
WrittenReport writeWithOk(const ProjectFolder& root, const char* formatRadio,
                          const std::filesystem::path& directory) {
    MessageRecorder messages;
    CReportDialog dialog(nullptr, root);
    child<QRadioButton>(&dialog, formatRadio)->click();
    child<QLineEdit>(&dialog, "directoryEdit")->setText(QString::fromStdString(directory.string()));
    child<QPushButton>(&dialog, "okButton")->click();
    return {dialog.result(), dialog.report()};
}

void click(CReportDialog& dialog, const QString& clicks) {
    for (const QString& name : clicks.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        child<QAbstractButton>(&dialog, qPrintable(name))->click();
    }
}

}  // namespace

class ReportDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void opensWithDefaultsAndPreview();
    void formatAndStyleAreTied_data();
    void formatAndStyleAreTied();
    void extensionReplacement_data();
    void extensionReplacement();
    void indentationTypedAndStepped();
    void aShortReportIsPreviewedWhole();
    void typingRebuildsThePreviewOnceItPauses();
    void reportPath_data();
    void reportPath();
    void fileBytes_data();
    void fileBytes();
    void okRefusesMissingNameOrDirectory_data();
    void okRefusesMissingNameOrDirectory();
    void okWritesTheShownReport();
    void unusableDirectoryIsNamedWithTheReason_data();
    void unusableDirectoryIsNamedWithTheReason();
    void rememberedFormatIsChosenAgain_data();
    void rememberedFormatIsChosenAgain();
    void fitsASmallScreen();
    void csvFileEndsWithoutLineEnd();
    void jsonFileIsTheJsonReport();
    void fileThatCannotBeOpenedKeepsDialogOpen();
    void failedWriteIsNotReportedAsSuccess();
    void existingFileMissingFolderAndOpening_data();
    void existingFileMissingFolderAndOpening();
    void previewOfFiftyThousandFiles();
};

void ReportDialogTest::opensWithDefaultsAndPreview() {
    ProjectFolder root;
    fillProject(root);
    CReportDialog dialog(nullptr, root);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Generate Report"));
    QCOMPARE(child<QLineEdit>(&dialog, "fileNameEdit")->text(), QStringLiteral("report.txt"));
    QVERIFY(child<QLineEdit>(&dialog, "directoryEdit")->text().isEmpty());
    QCOMPARE(choices(dialog), QStringLiteral("T__L_ Fi4"));
    const std::u16string expected =
        tw::buildReport(root, tw::countSettings().mode, tw::ReportLayout{});
    QVERIFY(dialog.report() == expected);
    QCOMPARE(child<QPlainTextEdit>(&dialog, "previewEdit")->toPlainText(),
             text(expected).remove(QLatin1Char('\r')));
}

void ReportDialogTest::formatAndStyleAreTied_data() {
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("choices");
    QTest::addColumn<QString>("fileName");

    // "_" unchecked and enabled, "." unchecked and disabled, lower case checked and disabled.
    QTest::newRow("csv") << "csvRadio"
                         << "_C_L. Fi4"
                         << "report.csv";
    QTest::newRow("txt again") << "csvRadio txtRadio"
                               << "T__L_ Fi4"
                               << "report.txt";
    // Tree keeps the file name and the full-paths mark.
    QTest::newRow("tree") << "treeRadio"
                          << "T.__R fI4"
                          << "report.txt";
    QTest::newRow("tree from csv") << "csvRadio txtRadio treeRadio"
                                   << "T.__R fI4"
                                   << "report.txt";
    QTest::newRow("list again") << "treeRadio listRadio"
                                << "T__L_ Fi4"
                                << "report.txt";
    QTest::newRow("full paths cleared in tree") << "fullPathsCheck treeRadio"
                                                << "T.__R .I4"
                                                << "report.txt";
    // JSON holds the whole project as data: it has no style, and any style leads to it.
    QTest::newRow("json") << "jsonRadio"
                          << "__Jl. fi4"
                          << "report.json";
    QTest::newRow("json from tree") << "treeRadio jsonRadio"
                                    << "_.J.r fi4"
                                    << "report.json";
    QTest::newRow("txt after json keeps the tree") << "treeRadio jsonRadio txtRadio"
                                                   << "T.__R fI4"
                                                   << "report.txt";
    QTest::newRow("csv after json") << "jsonRadio csvRadio"
                                    << "_C_L. Fi4"
                                    << "report.csv";
}

void ReportDialogTest::formatAndStyleAreTied() {
    QFETCH(QString, clicks);
    QFETCH(QString, choices);
    QFETCH(QString, fileName);

    ProjectFolder root;
    fillProject(root);
    CReportDialog dialog(nullptr, root);
    click(dialog, clicks);
    QCOMPARE(::choices(dialog), choices);
    QCOMPARE(child<QLineEdit>(&dialog, "fileNameEdit")->text(), fileName);

    // The kept report always matches the controls.
    if (dialog.layout().format == tw::ReportFormatId::Json) {
        QVERIFY(dialog.report() == tw::utf16FromUtf8(jsonReport(root)));
    } else {
        QVERIFY(dialog.report() ==
                tw::buildReport(root, tw::countSettings().mode, dialog.layout()));
    }
    QCOMPARE(child<QPlainTextEdit>(&dialog, "previewEdit")->toPlainText(),
             text(dialog.report()).remove(QLatin1Char('\r')));
}

void ReportDialogTest::extensionReplacement_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("expected");

    QTest::newRow("replaced") << "report.txt"
                              << ".csv"
                              << "report.csv";
    QTest::newRow("appended") << "report"
                              << ".csv"
                              << "report.csv";
    QTest::newRow("last period only") << "my.report.txt"
                                      << ".csv"
                                      << "my.report.csv";
    QTest::newRow("period first") << ".txt"
                                  << ".csv"
                                  << ".csv";
    QTest::newRow("period last") << "report."
                                 << ".txt"
                                 << "report.txt";
    QTest::newRow("empty") << ""
                           << ".txt"
                           << ".txt";
}

void ReportDialogTest::extensionReplacement() {
    QFETCH(QString, fileName);
    QFETCH(QString, extension);
    QFETCH(QString, expected);
    QCOMPARE(tw::ui::withExtension(fileName, extension), expected);

    // The format buttons do the same to the file-name field.
    ProjectFolder root;
    CReportDialog dialog(nullptr, root);
    child<QLineEdit>(&dialog, "fileNameEdit")->setText(fileName);
    child<QRadioButton>(&dialog, extension == QStringLiteral(".csv") ? "csvRadio" : "txtRadio")
        ->click();
    QCOMPARE(child<QLineEdit>(&dialog, "fileNameEdit")->text(), expected);
}

void ReportDialogTest::indentationTypedAndStepped() {
    ProjectFolder root;
    fillProject(root);
    CReportDialog dialog(nullptr, root);
    dialog.show();
    child<QRadioButton>(&dialog, "treeRadio")->click();
    auto* indentation = child<tw::ui::IndentationSpinBox>(&dialog, "indentationEdit");
    const auto reportWith = [&root](int spaces) {
        return tw::buildReport(root, tw::countSettings().mode,
                               tw::ReportLayout{.listStyle = false, .indentation = spaces});
    };

    indentation->selectAll();
    QTest::keyClicks(indentation, QStringLiteral("0"));
    QCOMPARE(dialog.layout().indentation, 0);
    QTRY_VERIFY(dialog.report() == reportWith(0));

    // Typed digits are taken as they are, beyond the arrows' range.
    indentation->selectAll();
    QTest::keyClicks(indentation, QStringLiteral("30"));
    QCOMPARE(dialog.layout().indentation, 30);
    QTRY_VERIFY(dialog.report() == reportWith(30));

    // An empty field counts as 0.
    indentation->selectAll();
    QTest::keyClick(indentation, Qt::Key_Backspace);
    QCOMPARE(dialog.layout().indentation, 0);
    QTRY_VERIFY(dialog.report() == reportWith(0));

    // The arrows stop at 12 and at 0.
    indentation->setValue(11);
    QTest::keyClick(indentation, Qt::Key_Up);
    QTest::keyClick(indentation, Qt::Key_Up);
    QCOMPARE(indentation->text(), QStringLiteral("12"));
    QTRY_VERIFY(dialog.report() == reportWith(12));
    indentation->setValue(1);
    QTest::keyClick(indentation, Qt::Key_Down);
    QTest::keyClick(indentation, Qt::Key_Down);
    QCOMPARE(indentation->text(), QStringLiteral("0"));
}

void ReportDialogTest::reportPath_data() {
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no separator") << "/tmp/out"
                                  << "/tmp/out/r.txt";
    QTest::newRow("slash") << "/tmp/out/"
                           << "/tmp/out/r.txt";
    QTest::newRow("backslash") << "C:\\out\\"
                               << "C:\\out\\r.txt";
    QTest::newRow("root") << "/"
                          << "/r.txt";
}

void ReportDialogTest::reportPath() {
    QFETCH(QString, directory);
    QFETCH(QString, expected);
    QCOMPARE(tw::ui::reportFilePath(directory, QStringLiteral("r.txt")), expected);
}

void ReportDialogTest::fileBytes_data() {
    QTest::addColumn<QString>("report");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF kept") << "a\r\nb\r\n" << QByteArray("a\r\nb\r\n");
    QTest::newRow("lone LF") << "a\nb" << QByteArray("a\r\nb");
    QTest::newRow("lone CR dropped") << "a\rb\r" << QByteArray("ab");
    QTest::newRow("UTF-8") << QStringLiteral("caf\u00e9\r\n") << QByteArray("caf\xc3\xa9\r\n");
    QTest::newRow("lone surrogate")
        << QString(QChar(0xD800)) + QStringLiteral("x") << QByteArray("?x");
}

void ReportDialogTest::fileBytes() {
    QFETCH(QString, report);
    QFETCH(QByteArray, bytes);
    QCOMPARE(QByteArray::fromStdString(tw::textFileBytes(report.toStdU16String())), bytes);
}

void ReportDialogTest::okRefusesMissingNameOrDirectory_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("directory");  // "*" stands for an existing directory
    QTest::addColumn<QString>("message");
    QTest::newRow("no file name") << ""
                                  << "*"
                                  << "Please enter a file name.";
    QTest::newRow("no directory") << "report.txt"
                                  << ""
                                  << "Directory is invalid.\n\nNo folder was given.";
    QTest::newRow("missing directory, not to be created")
        << "report.txt"
        << "/nonexistent/out"
        << "The directory \"/nonexistent/out\" does not exist.\r\n\r\nDo you want to create "
           "it?";
}

void ReportDialogTest::okRefusesMissingNameOrDirectory() {
    QFETCH(QString, fileName);
    QFETCH(QString, directory);
    QFETCH(QString, message);

    tw::test::TempDir out;
    if (directory == QStringLiteral("*")) {
        directory = QString::fromStdString(out.path().string());
    }
    ProjectFolder root;
    MessageRecorder messages;
    CReportDialog dialog(nullptr, root);
    child<QLineEdit>(&dialog, "fileNameEdit")->setText(fileName);
    child<QLineEdit>(&dialog, "directoryEdit")->setText(directory);
    child<QPushButton>(&dialog, "okButton")->click();
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].text, message);
    QVERIFY(messages.shown[0].title == QStringLiteral("Error:") ||
            messages.shown[0].buttons.testFlag(QMessageBox::No));
    QVERIFY(!QFileInfo::exists(QStringLiteral("/nonexistent")));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(std::filesystem::is_empty(out.path()));
}

void ReportDialogTest::unusableDirectoryIsNamedWithTheReason_data() {
    QTest::addColumn<QString>("below");  // the directory, below a plain file of the test's
    QTest::addColumn<int>("questions");  // answered Yes: create the missing folder
    QTest::newRow("a file, not a folder") << "" << 0;
    QTest::newRow("a folder that cannot be made below a file") << "/reports" << 1;
}

void ReportDialogTest::unusableDirectoryIsNamedWithTheReason() {
    QFETCH(QString, below);
    QFETCH(int, questions);

    tw::test::TempDir out;
    const QString directory = QString::fromStdString(out.write("plain", "x")) + below;
    ProjectFolder root;
    fillProject(root);
    MessageRecorder messages;
    messages.answers = {QMessageBox::Yes};
    CReportDialog dialog(nullptr, root);
    child<QLineEdit>(&dialog, "directoryEdit")->setText(directory);
    child<QPushButton>(&dialog, "okButton")->click();

    QCOMPARE(messages.shown.size(), questions + 1);
    QCOMPARE(messages.shown.last().title, QStringLiteral("Error:"));
    QCOMPARE(messages.shown.last().text, QStringLiteral("Directory is invalid.\n\n") + directory +
                                             QLatin1Char('\n') +
                                             QString::fromLocal8Bit(std::strerror(ENOTDIR)));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void ReportDialogTest::rememberedFormatIsChosenAgain_data() {
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("csv") << ".csv"
                         << "csvRadio"
                         << "report.csv";
    QTest::newRow("json") << ".json"
                          << "jsonRadio"
                          << "report.json";
    QTest::newRow("nothing remembered") << ""
                                        << "txtRadio"
                                        << "report.txt";
    QTest::newRow("a format no longer offered") << ".doc"
                                                << "txtRadio"
                                                << "report.txt";
}

void ReportDialogTest::rememberedFormatIsChosenAgain() {
    QFETCH(QString, remembered);
    QFETCH(QString, radio);
    QFETCH(QString, fileName);

    ProjectFolder root;
    fillProject(root);
    CReportDialog dialog(nullptr, root);
    dialog.setFormat(remembered);
    QVERIFY(child<QRadioButton>(&dialog, qPrintable(radio))->isChecked());
    QCOMPARE(child<QLineEdit>(&dialog, "fileNameEdit")->text(), fileName);
    // The report shown and written is of that format.
    const std::string_view extension = tw::reportFormat(dialog.layout().format).extension;
    QCOMPARE(QString::fromLatin1(extension.data(), qsizetype(extension.size())),
             fileName.mid(fileName.indexOf(QLatin1Char('.'))));
}

void ReportDialogTest::fitsASmallScreen() {
    // A 1280 by 800 screen at twice the scale leaves 640 by 400 to a dialog.
    const QSize small(640, 400);
    ProjectFolder root;
    fillProject(root);
    CReportDialog dialog(nullptr, root);
    const QSize least = dialog.minimumSizeHint().expandedTo(dialog.minimumSize());
    QVERIFY2(least.width() <= small.width() && least.height() <= small.height(),
             qPrintable(QStringLiteral("%1x%2").arg(least.width()).arg(least.height())));
    // It opens no larger than the screen it is on.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(dialog.width() <= available.width() && dialog.height() <= available.height());

    dialog.resize(small);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (const char* name : {"okButton", "cancelButton"}) {
        const auto* button = child<QPushButton>(&dialog, name);
        QVERIFY(button->isVisible());
        QVERIFY(
            dialog.rect().contains(QRect(button->mapTo(&dialog, QPoint(0, 0)), button->size())));
    }
}

void ReportDialogTest::okWritesTheShownReport() {
    tw::test::TempDir out;
    const QString directory = QString::fromStdString(out.path().string());
    const QString path = directory + QStringLiteral("/result.txt");
    // An older, longer file is replaced as a whole.
    out.write("result.txt", std::string(100000, 'x'));

    ProjectFolder root;
    fillProject(root);
    for (const QString& typed : {directory, directory + QLatin1Char('/')}) {
        MessageRecorder messages;
        messages.answers = {QMessageBox::Yes, QMessageBox::No};  // replace it; do not open it
        CReportDialog dialog(nullptr, root);
        child<QRadioButton>(&dialog, "treeRadio")->click();
        child<QLineEdit>(&dialog, "fileNameEdit")->setText(QStringLiteral("result.txt"));
        child<QLineEdit>(&dialog, "directoryEdit")->setText(typed);
        child<QPushButton>(&dialog, "okButton")->click();

        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(
            messages.shown[0].text,
            QStringLiteral("\"%1\" already exists.\r\n\r\nDo you want to replace it?").arg(path));
        QCOMPARE(messages.shown[1].text,
                 QStringLiteral("Report written successfully to \"%1\"\r\n\r\nDo you want to "
                                "open the report?")
                     .arg(path));
        QCOMPARE(messages.shown[1].title, QStringLiteral("Success"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        const std::string bytes = tw::test::readBytes(path.toStdString());
        QCOMPARE(QByteArray::fromStdString(bytes),
                 QByteArray::fromStdString(tw::textFileBytes(dialog.report())));
        QVERIFY(bytes.starts_with("Tallyweaver Detailed File Count Report\r\n"));
        QVERIFY(bytes.ends_with("\r\n"));
        QVERIFY(bytes.find("util/\r\n") != std::string::npos);
    }
}

void ReportDialogTest::csvFileEndsWithoutLineEnd() {
    tw::test::TempDir out;
    ProjectFolder root;
    fillProject(root);
    QCOMPARE(writeWithOk(root, "csvRadio", out.path()).result, int(QDialog::Accepted));

    const std::string bytes = tw::test::readBytes(out.path() / "report.csv");
    QVERIFY(bytes.starts_with("Tallyweaver Detailed File Count Report\r\n\r\n"));
    QVERIFY(bytes.ends_with("\r\nTotal,30,-,-,0,0,0,0,0,6,36,0,\r\n"));
    // Every line feed comes after a carriage return, and no carriage return stands alone.
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            QVERIFY(i > 0 && bytes[i - 1] == '\r');
        }
        if (bytes[i] == '\r') {
            QVERIFY(i + 1 < bytes.size() && bytes[i + 1] == '\n');
        }
    }
}

void ReportDialogTest::jsonFileIsTheJsonReport() {
    tw::test::TempDir out;
    ProjectFolder root;
    fillProject(root);
    const WrittenReport written = writeWithOk(root, "jsonRadio", out.path());
    QCOMPARE(written.result, int(QDialog::Accepted));

    // The same bytes as the console's JSON report: UTF-8, line feeds alone, the counts read back.
    const std::string expected = jsonReport(root);
    const std::string bytes = tw::test::readBytes(out.path() / "report.json");
    QCOMPARE(QByteArray::fromStdString(bytes), QByteArray::fromStdString(expected));
    QVERIFY(bytes.find('\r') == std::string::npos);
    QVERIFY(bytes.find("\"path\": \"c/src/util/strings.h\"") != std::string::npos);
    QCOMPARE(QByteArray::fromStdString(tw::utf8FromUtf16(written.preview)),
             QByteArray::fromStdString(bytes));
}

void ReportDialogTest::fileThatCannotBeOpenedKeepsDialogOpen() {
    tw::test::TempDir out;
    std::filesystem::create_directory(out.path() / "taken");
    const QString directory = QString::fromStdString(out.path().string());
    ProjectFolder root;
    MessageRecorder messages;
    CReportDialog dialog(nullptr, root);
    child<QLineEdit>(&dialog, "fileNameEdit")->setText(QStringLiteral("taken"));
    child<QLineEdit>(&dialog, "directoryEdit")->setText(directory);
    child<QPushButton>(&dialog, "okButton")->click();

    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Error:"));
    QCOMPARE(messages.shown[0].text,
             QStringLiteral("Failed to open file \"%1/taken\" for writing:\r\n\r\n%2")
                 .arg(directory, QString::fromLocal8Bit(std::strerror(EISDIR))));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(child<QLineEdit>(&dialog, "fileNameEdit")->text(), QStringLiteral("taken"));
}

void ReportDialogTest::failedWriteIsNotReportedAsSuccess() {
    if (!QFileInfo(QStringLiteral("/dev/full")).exists()) {
        QSKIP("needs /dev/full, a device that refuses every write");
    }
    ProjectFolder root;
    MessageRecorder messages;
    CReportDialog dialog(nullptr, root);
    child<QLineEdit>(&dialog, "fileNameEdit")->setText(QStringLiteral("full"));
    child<QLineEdit>(&dialog, "directoryEdit")->setText(QStringLiteral("/dev"));
    child<QPushButton>(&dialog, "okButton")->click();

    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Error:"));
    QCOMPARE(messages.shown[0].text, QStringLiteral("Failed to write file \"/dev/full\":\r\n\r\n%1")
                                         .arg(QString::fromLocal8Bit(std::strerror(ENOSPC))));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void ReportDialogTest::previewOfFiftyThousandFiles() {
    // Not a timing assertion: the figures are printed so a slow preview shows up in the log.
    constexpr int kFiles = 50000;
    tw::test::SettingsGuard guard(tw::CountMode::Executable);
    ProjectFolder root;
    for (int i = 0; i < kFiles; ++i) {
        const std::string path = "/home/user/projects/product/module" + std::to_string(i / 100) +
                                 "/source_file_number_" + std::to_string(i) + ".cpp";
        root.AddFilePath(std::u16string(path.begin(), path.end()), "/nonexistent");
    }
    std::vector<tw::FileCount*> records;
    root.CollectRecords(records);
    for (tw::FileCount* record : records) {
        record->counted = true;
        record->code = 1234;
        record->commentOwnLine = 56;
        record->blank = 78;
    }

    // Each step: the click, the report rebuilt and shown, the events that follow.
    QElapsedTimer clock;
    clock.start();
    CReportDialog dialog(nullptr, root);
    dialog.show();
    QCoreApplication::processEvents();
    qInfo("opening, list text of %lld characters: %lld ms",
          static_cast<long long>(dialog.report().size()), static_cast<long long>(clock.restart()));
    const struct {
        const char* button;
        const char* name;
    } steps[] = {{"treeRadio", "tree text"}, {"listRadio", "list text"}, {"csvRadio", "list csv"}};
    for (const auto& step : steps) {
        clock.restart();
        child<QRadioButton>(&dialog, step.button)->click();
        QCoreApplication::processEvents();
        qInfo("to %s of %lld characters: %lld ms", step.name,
              static_cast<long long>(dialog.report().size()),
              static_cast<long long>(clock.elapsed()));
    }

    // The preview holds the first lines and says so; the file gets every one.
    auto* preview = child<QPlainTextEdit>(&dialog, "previewEdit");
    QCOMPARE(text(dialog.report()).count(QStringLiteral("\r\n")),
             qsizetype(CReportDialog::kPreviewLines));
    QCOMPARE(preview->blockCount(), qsizetype(CReportDialog::kPreviewLines) + 1);
    QVERIFY(dialog.previewIsPartial());
    QVERIFY(child<QLabel>(&dialog, "previewNote")->isVisible());

    MessageRecorder messages;
    QTemporaryDir out;
    child<QLineEdit>(&dialog, "directoryEdit")->setText(out.path());
    dialog.accept();
    const std::string bytes =
        tw::test::readBytes(out.filePath(QStringLiteral("report.csv")).toStdString());
    QCOMPARE(QByteArray::fromStdString(bytes).count("\r\n"), qsizetype(kFiles) + 10);
    QVERIFY(bytes.ends_with("\r\n"));
    QVERIFY(bytes.substr(bytes.rfind("\r\n", bytes.size() - 3) + 2).starts_with("Total,"));
}

void ReportDialogTest::aShortReportIsPreviewedWhole() {
    ProjectFolder root;
    fillProject(root);
    CReportDialog dialog(nullptr, root);
    QVERIFY(!dialog.previewIsPartial());
    QVERIFY(dialog.report() == tw::buildReport(root, tw::countSettings().mode, tw::ReportLayout{}));
    QVERIFY(child<QLabel>(&dialog, "previewNote")->isHidden());
}

void ReportDialogTest::typingRebuildsThePreviewOnceItPauses() {
    ProjectFolder root;
    fillProject(root);
    CReportDialog dialog(nullptr, root);
    dialog.show();
    child<QRadioButton>(&dialog, "treeRadio")->click();
    QSignalSpy rebuilt(&dialog, &CReportDialog::previewRebuilt);
    auto* indentation = child<tw::ui::IndentationSpinBox>(&dialog, "indentationEdit");
    indentation->selectAll();
    QTest::keyClicks(indentation, QStringLiteral("30"));
    QCOMPARE(rebuilt.count(), 0);
    QTRY_COMPARE(rebuilt.count(), 1);
    QVERIFY(dialog.report() ==
            tw::buildReport(
                root, tw::countSettings().mode,
                tw::ReportLayout{.listStyle = false, .indentation = dialog.layout().indentation}));
    QCOMPARE(dialog.layout().indentation, 30);
    QTest::qWait(2 * CReportDialog::kTypingPauseMs);
    QCOMPARE(rebuilt.count(), 1);
}

void ReportDialogTest::existingFileMissingFolderAndOpening_data() {
    QTest::addColumn<bool>("existing");  // the report file is there already
    QTest::addColumn<bool>("missingFolder");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("opened");
    QTest::newRow("existing file kept")
        << true << false << QList<int>{QMessageBox::No} << false << false;
    QTest::newRow("existing file replaced, then opened")
        << true << false << QList<int>{QMessageBox::Yes, QMessageBox::Yes} << true << true;
    QTest::newRow("missing folder created")
        << false << true << QList<int>{QMessageBox::Yes, QMessageBox::No} << true << false;
    QTest::newRow("missing folder not created")
        << false << true << QList<int>{QMessageBox::No} << false << false;
    QTest::newRow("new file, opened")
        << false << false << QList<int>{QMessageBox::Yes} << true << true;
}

void ReportDialogTest::existingFileMissingFolderAndOpening() {
    QFETCH(bool, existing);
    QFETCH(bool, missingFolder);
    QFETCH(QList<int>, answers);
    QFETCH(bool, written);
    QFETCH(bool, opened);

    tw::test::TempDir out;
    QString directory = QString::fromStdString(out.path().string());
    if (missingFolder) {
        directory += QStringLiteral("/new/reports");
    }
    const QString path = directory + QStringLiteral("/report.txt");
    if (existing) {
        out.write("report.txt", "older");
    }
    ProjectFolder root;
    fillProject(root);
    MessageRecorder messages;
    for (const int answer : answers) {
        messages.answers.append(static_cast<QMessageBox::StandardButton>(answer));
    }
    tw::test::ShellRecorder shell;
    CReportDialog dialog(nullptr, root);
    child<QLineEdit>(&dialog, "directoryEdit")->setText(directory);
    child<QPushButton>(&dialog, "okButton")->click();

    QCOMPARE(messages.shown.size(), answers.size());
    QCOMPARE(dialog.result(), int(written ? QDialog::Accepted : QDialog::Rejected));
    const std::string bytes = tw::test::readBytes(path.toStdString());
    QCOMPARE(bytes.starts_with("Tallyweaver Detailed File Count Report"), written);
    if (existing && !written) {
        QCOMPARE(bytes, std::string("older"));
    }
    QCOMPARE(QFileInfo(directory).isDir(), written || !missingFolder);
    QCOMPARE(shell.targets(tw::ui::Shell::Action::Open),
             opened ? QStringList{path} : QStringList());
    QCOMPARE(dialog.writtenDirectory(), written ? directory : QString());
}

QTEST_MAIN(ReportDialogTest)
#include "ReportDialogTest.moc"
