// The Project Settings dialog: what it shows, which controls it enables, what OK stores.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <algorithm>
#include <iterator>

#include "engine/CountSettings.h"
#include "support/SettingsGuard.h"
#include "ui/dialogs/CSettingsDialog.h"
#include "ui/dialogs/DialogTestSupport.h"

using tw::CountMode;
using tw::CountSettings;
using tw::test::child;
using tw::ui::CSettingsDialog;

Q_DECLARE_METATYPE(tw::CountSettings)

namespace {

/// The marks of the five mode buttons and the three check boxes, as a string such as
/// "P---- aml": a letter where checked, '-' where not (Physical, Logical, Terminating,
/// Executable, Cyclomatic complexity; all-caps, macros, logic).
QString marks(const CSettingsDialog& dialog) {
    const auto mark = [&dialog](const char* name, char letter) {
        return child<QAbstractButton>(&dialog, name)->isChecked() ? QLatin1Char(letter)
                                                                  : QLatin1Char('-');
    };
    return QString() + mark("physicalRadio", 'P') + mark("logicalRadio", 'L') +
           mark("terminatingRadio", 'T') + mark("executableRadio", 'E') +
           mark("complexityRadio", 'C') + QLatin1Char(' ') + mark("allCapsCheck", 'a') +
           mark("macrosCheck", 'm') + mark("logicCheck", 'l');
}

/// Which of the six dependent controls can be used, in the same notation.
QString enabled(const CSettingsDialog& dialog) {
    const auto flag = [&dialog](const char* name, char letter) {
        return child<QWidget>(&dialog, name)->isEnabled() ? QLatin1Char(letter) : QLatin1Char('-');
    };
    return QString() + flag("terminatingRadio", 'T') + flag("executableRadio", 'E') +
           flag("complexityRadio", 'C') + QLatin1Char(' ') + flag("allCapsCheck", 'a') +
           flag("macrosCheck", 'm') + flag("logicCheck", 'l');
}

/// Clicks the buttons named in `clicks`, one letter each as in `marks`.
void click(CSettingsDialog& dialog, const QString& clicks) {
    static const struct {
        char letter;
        const char* name;
    } buttons[] = {{'P', "physicalRadio"},   {'L', "logicalRadio"},    {'T', "terminatingRadio"},
                   {'E', "executableRadio"}, {'C', "complexityRadio"}, {'a', "allCapsCheck"},
                   {'m', "macrosCheck"},     {'l', "logicCheck"}};
    for (const QChar letter : clicks) {
        const auto* button = std::find_if(
            std::begin(buttons), std::end(buttons),
            [letter](const auto& entry) { return letter == QLatin1Char(entry.letter); });
        if (button == std::end(buttons)) {
            qFatal("unknown click %c", letter.toLatin1());
        }
        child<QAbstractButton>(&dialog, button->name)->click();
    }
}

CountSettings settings(CountMode mode, bool allCaps, bool macros, bool logic) {
    CountSettings result;
    result.mode = mode;
    result.allCapsFunctionsAsMacros = allCaps;
    result.macrosAsStatements = macros;
    result.logicAsSingleStatement = logic;
    return result;
}

}  // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void opensShowingTheSettings_data();
    void opensShowingTheSettings();
    void clicksMarksAndEnabling_data();
    void clicksMarksAndEnabling();
    void okStoresTheControls_data();
    void okStoresTheControls();
    void cancelStoresNothing();
};

void SettingsDialogTest::opensShowingTheSettings_data() {
    QTest::addColumn<CountSettings>("opened");
    QTest::addColumn<QString>("marks");
    QTest::addColumn<QString>("enabled");

    QTest::newRow("physical") << settings(CountMode::Physical, false, true, false) << "P---- -m-"
                              << "--- ---";
    QTest::newRow("terminating") << settings(CountMode::TerminatingCharacters, true, true, true)
                                 << "-LT-- aml"
                                 << "TEC ---";
    QTest::newRow("executable") << settings(CountMode::Executable, true, false, false)
                                << "-L-E- a--"
                                << "TEC aml";
    QTest::newRow("executable without all-caps")
        << settings(CountMode::Executable, false, true, true) << "-L-E- -ml"
        << "TEC a-l";
    QTest::newRow("cyclomatic") << settings(CountMode::CyclomaticComplexity, false, true, false)
                                << "-L--C -m-"
                                << "TEC ---";
}

void SettingsDialogTest::opensShowingTheSettings() {
    QFETCH(CountSettings, opened);
    QFETCH(QString, marks);
    QFETCH(QString, enabled);

    tw::test::SettingsGuard guard(opened);
    CSettingsDialog dialog;
    QCOMPARE(::marks(dialog), marks);
    QCOMPARE(::enabled(dialog), enabled);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tallyweaver Project Settings"));
    // Exactly as written, misspelling included.
    QCOMPARE(child<QLabel>(&dialog, "physicalDescription")->text(),
             QStringLiteral("Lines are counted as they appear in the file.  The count will "
                            "include statement, comment, mixed, and blank lines.  The count is "
                            "very senstive to coding style, since any line may contain a "
                            "combination of several executable statements and still be "
                            "considered a single line of code."));
    QCOMPARE(child<QLabel>(&dialog, "logicalDescription")->text(),
             QStringLiteral("Statements and comments are counted.  You may edit your "
                            "preferences below to determine what is considered a statement by "
                            "Tallyweaver."));
}

void SettingsDialogTest::clicksMarksAndEnabling_data() {
    QTest::addColumn<CountSettings>("opened");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("marks");
    QTest::addColumn<QString>("enabled");

    const CountSettings physical = settings(CountMode::Physical, false, true, false);
    const CountSettings executable = settings(CountMode::Executable, true, true, false);

    QTest::newRow("logical selects terminating characters") << physical << "L"
                                                            << "-LT-- -m-"
                                                            << "TEC ---";
    QTest::newRow("executable enables its options") << physical << "LE"
                                                    << "-L-E- -m-"
                                                    << "TEC a-l";
    QTest::newRow("all-caps enables the macro option") << physical << "LEa"
                                                       << "-L-E- am-"
                                                       << "TEC aml";
    // Disabled check boxes keep their marks.
    QTest::newRow("clearing all-caps keeps the macro mark") << executable << "a"
                                                            << "-L-E- -m-"
                                                            << "TEC a-l";
    QTest::newRow("terminating disables the options, keeps marks") << executable << "T"
                                                                   << "-LT-- am-"
                                                                   << "TEC ---";
    QTest::newRow("physical keeps the sub-mode marks") << executable << "P"
                                                       << "P--E- am-"
                                                       << "--- ---";
    QTest::newRow("logical again resets the sub-mode") << executable << "PL"
                                                       << "-LT-- am-"
                                                       << "TEC ---";
    QTest::newRow("clicking a checked radio keeps it checked") << executable << "E"
                                                               << "-L-E- am-"
                                                               << "TEC aml";
    QTest::newRow("complexity clears executable, disables its options") << executable << "C"
                                                                        << "-L--C am-"
                                                                        << "TEC ---";
    QTest::newRow("terminating clears complexity") << physical << "LCT"
                                                   << "-LT-- -m-"
                                                   << "TEC ---";
    QTest::newRow("physical from cyclomatic keeps its mark")
        << settings(CountMode::CyclomaticComplexity, false, true, false) << "P"
        << "P---C -m-"
        << "--- ---";
}

void SettingsDialogTest::clicksMarksAndEnabling() {
    QFETCH(CountSettings, opened);
    QFETCH(QString, clicks);
    QFETCH(QString, marks);
    QFETCH(QString, enabled);

    tw::test::SettingsGuard guard(opened);
    CSettingsDialog dialog;
    click(dialog, clicks);
    QCOMPARE(::marks(dialog), marks);
    QCOMPARE(::enabled(dialog), enabled);
}

void SettingsDialogTest::okStoresTheControls_data() {
    QTest::addColumn<CountSettings>("opened");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<CountSettings>("stored");
    QTest::addColumn<bool>("changed");

    const CountSettings physical = settings(CountMode::Physical, false, true, false);
    const CountSettings executable = settings(CountMode::Executable, true, true, false);

    QTest::newRow("no change") << executable << "" << executable << false;
    QTest::newRow("changed and changed back") << executable << "TE" << executable << false;
    QTest::newRow("logical") << physical << "L"
                             << settings(CountMode::TerminatingCharacters, false, true, false)
                             << true;
    QTest::newRow("executable with options")
        << physical << "LEal" << settings(CountMode::Executable, true, true, true) << true;
    // A disabled check box is still read.
    QTest::newRow("macro option cleared, then all-caps")
        << executable << "ma" << settings(CountMode::Executable, false, false, false) << true;
    QTest::newRow("options kept in physical mode")
        << executable << "P" << settings(CountMode::Physical, true, true, false) << true;
    const CountSettings cyclomatic = settings(CountMode::CyclomaticComplexity, false, true, false);
    QTest::newRow("cyclomatic kept") << cyclomatic << "" << cyclomatic << false;
    QTest::newRow("cyclomatic chosen") << physical << "LC" << cyclomatic << true;
    QTest::newRow("cyclomatic left for executable")
        << cyclomatic << "E" << settings(CountMode::Executable, false, true, false) << true;
}

void SettingsDialogTest::okStoresTheControls() {
    QFETCH(CountSettings, opened);
    QFETCH(QString, clicks);
    QFETCH(CountSettings, stored);
    QFETCH(bool, changed);

    tw::test::SettingsGuard guard(opened);
    CSettingsDialog dialog;
    click(dialog, clicks);
    child<QPushButton>(&dialog, "okButton")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(tw::countSettings() == stored);
    QCOMPARE(dialog.settingsChanged(), changed);
}

void SettingsDialogTest::cancelStoresNothing() {
    const CountSettings opened = settings(CountMode::Executable, true, false, true);
    tw::test::SettingsGuard guard(opened);
    CSettingsDialog dialog;
    click(dialog, "PLal");
    child<QPushButton>(&dialog, "cancelButton")->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(tw::countSettings() == opened);
    QVERIFY(!dialog.settingsChanged());
}

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
