// "--open FILE" through the real program, off screen: the window shows the project's records
// and its title, the file joins the recent projects, and a file that cannot be opened leaves
// the usual message and an empty project. A console option still makes a console run.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

class OpenArgumentTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void opensTheNamedProject();

  private:
    struct Run {
        int exitCode = -1;
        QString output;
    };
    /// Runs the program in the test's folder with `arguments`, driven by `commands`.
    Run run(const QStringList& arguments, const QString& commands);

    QTemporaryDir folder_;
};

OpenArgumentTest::Run OpenArgumentTest::run(const QStringList& arguments, const QString& commands) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TALLYWEAVER_TEST_COMMANDS"), commands);
    // Each run starts with no recent projects.
    const QString settings = folder_.filePath(QStringLiteral("settings"));
    QDir(settings).removeRecursively();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings);
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), settings);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder_.path());
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(TW_TEST_DRIVER), arguments);
    Run result;
    if (!program.waitForStarted(10000) || !program.waitForFinished(60000)) {
        program.kill();
        program.waitForFinished();
        result.output = QStringLiteral("the program did not end");
        return result;
    }
    result.exitCode = program.exitCode();
    result.output = QString::fromUtf8(program.readAll());
    return result;
}

void OpenArgumentTest::initTestCase() {
    QVERIFY(folder_.isValid());
    const auto write = [this](const QString& name, const QByteArray& content) {
        QFile file(folder_.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    };
    write(QStringLiteral("a.c"), "int a;\n");
    write(QStringLiteral("b.c"), "// two\nint b;\nint c;\n");
    // A header announcing two records that never come.
    write(QStringLiteral("damaged.tyx"), QByteArray("\x02\0\0\0", 4) + QByteArray(16, '\0'));
    QDir(folder_.path()).mkdir(QStringLiteral("out"));
    // The project is saved by a console run, as a user would make one.
    const Run saved = run({QStringLiteral("-file"), QStringLiteral("a.c"), QStringLiteral("b.c"),
                           QStringLiteral("-save"), QStringLiteral("counted.tyx"),
                           QStringLiteral("-out"), QStringLiteral("out"), QStringLiteral("-quiet")},
                          QString());
    QVERIFY2(saved.exitCode == 0, qPrintable(saved.output));
    QVERIFY(QFile::exists(folder_.filePath(QStringLiteral("counted.tyx"))));
}

void OpenArgumentTest::opensTheNamedProject() {
    const QString commands = QStringLiteral("title; view files-only; files; recent; close");
    const QString counted = QDir(folder_.path()).absoluteFilePath(QStringLiteral("counted.tyx"));
    const struct {
        const char* name;
        QStringList arguments;
        QStringList shown;     // each ends a line of the output
        QStringList notShown;  // texts it must not hold
    } cases[] = {
        {"a project, named relative to the current directory",
         {QStringLiteral("--open"), QStringLiteral("counted.tyx")},
         {QStringLiteral("title: counted.tyx - Tallyweaver"), QStringLiteral("a.c code 1"),
          QStringLiteral("b.c code 2"), QStringLiteral("files: 2"),
          QStringLiteral("recent: ") + counted, QStringLiteral("recent projects: 1")},
         {QStringLiteral("message:")}},
        {"a missing file",
         {QStringLiteral("--open"), QStringLiteral("none.tyx")},
         {QStringLiteral("message: Tallyweaver: ") +
              QDir(folder_.path()).absoluteFilePath(QStringLiteral("none.tyx")) +
              QStringLiteral(" was not found."),
          QStringLiteral("title: Untitled - Tallyweaver"), QStringLiteral("files: 0"),
          QStringLiteral("recent projects: 0")},
         {}},
        {"a damaged file",
         {QStringLiteral("--open"), QStringLiteral("damaged.tyx")},
         {QStringLiteral("message: Tallyweaver: Unexpected file format."),
          QStringLiteral("title: Untitled - Tallyweaver"), QStringLiteral("files: 0"),
          QStringLiteral("recent projects: 0")},
         {}},
        {"no file, as the desktop entry gives when started from the menu",
         {QStringLiteral("--open")},
         {QStringLiteral("title: Untitled - Tallyweaver"), QStringLiteral("files: 0")},
         {QStringLiteral("message:")}},
        {"a project path alone is not opened",
         {QStringLiteral("counted.tyx")},
         {QStringLiteral("title: Untitled - Tallyweaver"), QStringLiteral("files: 0")},
         {QStringLiteral("message:")}},
    };
    for (const auto& c : cases) {
        const Run result = run(c.arguments, commands);
        const QString context = QString::fromLatin1(c.name) + QStringLiteral(":\n") + result.output;
        QVERIFY2(result.exitCode == 0, qPrintable(context));
        const QStringList lines = result.output.split(QLatin1Char('\n'));
        for (const QString& end : c.shown) {
            const bool found = std::any_of(lines.begin(), lines.end(), [&end](const QString& line) {
                return line.endsWith(end);
            });
            QVERIFY2(found, qPrintable(end + QStringLiteral(" missing in ") + context));
        }
        for (const QString& text : c.notShown) {
            QVERIFY2(!result.output.contains(text), qPrintable(context));
        }
    }

    // "--open" is no console option: with one, the run counts and no window opens.
    const Run console = run({QStringLiteral("--open"), QStringLiteral("counted.tyx"),
                             QStringLiteral("-file"), QStringLiteral("a.c"), QStringLiteral("-out"),
                             QStringLiteral("out"), QStringLiteral("-quiet")},
                            commands);
    QVERIFY2(console.exitCode == 0, qPrintable(console.output));
    QVERIFY2(!console.output.contains(QStringLiteral("title:")), qPrintable(console.output));
}

QTEST_MAIN(OpenArgumentTest)
#include "OpenArgumentTest.moc"
