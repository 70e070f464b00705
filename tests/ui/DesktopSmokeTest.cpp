// The real program: started under a virtual X server it shows its main window (through the
// test driver, the same program with a command interpreter); without a display it says so and
// ends; the shipped program holds no way to be driven.

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "ui/WindowState.h"

class DesktopSmokeTest : public QObject {
    Q_OBJECT

  private slots:
    void showsMainWindowUnderX();
    void withoutDisplayExplainsAndExits();
    void shippedProgramHoldsNoTestCommands();

  private:
    /// An environment without the test's own platform choice and with a settings folder of
    /// the test's own.
    static QProcessEnvironment cleanEnvironment(const QTemporaryDir& home);
};

QProcessEnvironment DesktopSmokeTest::cleanEnvironment(const QTemporaryDir& home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "TALLYWEAVER_TEST_COMMANDS"}) {
        environment.remove(QString::fromLatin1(name));
    }
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    return environment;
}

void DesktopSmokeTest::showsMainWindowUnderX() {
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty()) {
        QSKIP("xvfb-run is not installed");
    }
    QTemporaryDir home;
    QProcessEnvironment environment = cleanEnvironment(home);
    // The program reports its window's title once the window is on the screen, then closes it.
    environment.insert(QStringLiteral("TALLYWEAVER_TEST_COMMANDS"),
                       QStringLiteral("title; geometry; close"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::SeparateChannels);
    program.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral(TW_TEST_DRIVER)});
    QVERIFY(program.waitForStarted(10000));
    QVERIFY2(program.waitForFinished(60000), "the program did not end");
    const QString output = QString::fromUtf8(program.readAllStandardOutput());
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(output.contains(QStringLiteral("title: Untitled - Tallyweaver\n")),
             qPrintable(output + errors));
    QVERIFY2(output.contains(QStringLiteral("closing\n")), qPrintable(output + errors));
    // Without a window manager the window is not maximised: it takes three quarters of the
    // screen's available area each way, the size it would keep when closed.
    const QRegularExpression geometry(QStringLiteral("geometry: (\\d+)x(\\d+) of (\\d+)x(\\d+)"));
    const QRegularExpressionMatch size = geometry.match(output);
    QVERIFY2(size.hasMatch(), qPrintable(output));
    const int width = size.captured(1).toInt();
    const int height = size.captured(2).toInt();
    const int availableWidth = size.captured(3).toInt();
    const int availableHeight = size.captured(4).toInt();
    QCOMPARE(QSize(width, height),
             tw::ui::initialWindowGeometry(QRect(0, 0, availableWidth, availableHeight)).size());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

void DesktopSmokeTest::withoutDisplayExplainsAndExits() {
    QTemporaryDir home;
    QProcess program;
    program.setProcessEnvironment(cleanEnvironment(home));
    program.start(QStringLiteral(TW_EXECUTABLE), {});
    QVERIFY(program.waitForStarted(10000));
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(errors.contains(QStringLiteral("no display")), qPrintable(errors));
}

void DesktopSmokeTest::shippedProgramHoldsNoTestCommands() {
    const auto bytesOf = [](const char* path) {
        QFile file(QString::fromLocal8Bit(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray driver = bytesOf(TW_TEST_DRIVER);
    const QByteArray shipped = bytesOf(TW_EXECUTABLE);
    QVERIFY(!driver.isEmpty() && !shipped.isEmpty());
    for (const char* mark : {"TALLYWEAVER_TEST_COMMANDS", "DesktopTestCommands"}) {
        QVERIFY2(driver.contains(mark), mark);
        QVERIFY2(!shipped.contains(mark), mark);
    }
}

QTEST_MAIN(DesktopSmokeTest)
#include "DesktopSmokeTest.moc"
