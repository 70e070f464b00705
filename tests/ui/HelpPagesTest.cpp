// Where the Help menu's pages come from: the help folder beside the program, installed or in
// the build tree, else the copy compiled into the program.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "engine/Language.h"
#include "ui/HelpPages.h"

class HelpPagesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void findsThePageBesideTheProgram();
    void theBuildTreeProgramFindsItsPages();
    void commandLinePageNamesTheLanguagesOfTheTable();
};

void HelpPagesTest::findsThePageBesideTheProgram() {
    QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/tallyweaver/help")));
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    const QString installed =
        prefix.filePath(QStringLiteral("share/tallyweaver/help/documentation.html"));
    QFile page(installed);
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<p>installed</p>");
    page.close();

    QCOMPARE(tw::ui::helpPageFile(QStringLiteral("documentation.html"), bin), installed);

    // A page missing beside the program comes from the program itself, by way of the cache.
    const QString compiledIn = tw::ui::helpPageFile(QStringLiteral("command-line.html"), bin);
    QVERIFY(!compiledIn.isEmpty());
    QVERIFY(!compiledIn.startsWith(prefix.path()));
    QFile copy(compiledIn);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QVERIFY(copy.readAll().contains("Command Line Reference"));

    // Names that are no page, or reach out of the help folder, give nothing.
    for (const QString& name :
         {QString(), QStringLiteral("missing.html"), QStringLiteral("../help/documentation.html"),
          QStringLiteral("..")}) {
        QVERIFY2(tw::ui::helpPageFile(name, bin).isEmpty(), qPrintable(name));
    }
}

void HelpPagesTest::theBuildTreeProgramFindsItsPages() {
    const QString programFolder = QFileInfo(QStringLiteral(TW_EXECUTABLE)).absolutePath();
    for (const QString& name :
         {QStringLiteral("documentation.html"), QStringLiteral("command-line.html")}) {
        const QString page = tw::ui::helpPageFile(name, programFolder);
        QVERIFY2(page.endsWith(QStringLiteral("/share/tallyweaver/help/") + name),
                 qPrintable(page));
        QVERIFY(QFileInfo(page).isFile());
    }
}

QTEST_MAIN(HelpPagesTest)
// The page is written by hand: a language added to the table must be added to its text too.
void HelpPagesTest::commandLinePageNamesTheLanguagesOfTheTable() {
    const QString programFolder = QFileInfo(QStringLiteral(TW_EXECUTABLE)).absolutePath();
    QFile page(tw::ui::helpPageFile(QStringLiteral("command-line.html"), programFolder));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll()).simplified();
    const QString languages = QString::fromStdString(tw::languageSummary());
    QVERIFY2(text.contains(QStringLiteral("languages (") + languages + QLatin1Char(')')),
             qPrintable(languages));
}

#include "HelpPagesTest.moc"
