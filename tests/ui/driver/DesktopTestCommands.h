#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

namespace tw::ui {
class CMainFrame;
}

namespace tw::test {

/// Drives a running desktop program from a list of commands, for the test driver
/// (tallyweaver-test-driver) that the smoke test, the package check and the screenshot script
/// run: "title", "add-folder DIR", "count",
/// "view files-only|folders-and-files", "select-folder DIR", "files" (a line per row of the file
/// list: its first column and its code count), "recent" (a line per recent project),
/// "help-page NAME" (the file the help command opens), "screenshot FILE", "wait MS", "close",
/// "complexity-mode" (the project's mode set to Cyclomatic Complexity), "functions" (View >
/// Functions) and "column-menu FILE" (a picture of the screen with the list header's menu open).
/// Each command prints a line on standard output when it is done. Message boxes are answered No
/// (or OK) and printed instead of shown.
class DesktopTestCommands : public QObject {
    Q_OBJECT
  public:
    DesktopTestCommands(ui::CMainFrame& frame, QStringList commands);
    ~DesktopTestCommands() override;

    /// The commands of the environment variable TALLYWEAVER_TEST_COMMANDS, separated by ';';
    /// empty when it is not set.
    static QStringList fromEnvironment();

    /// Runs the commands one after the other from the event loop.
    void start();

  private:
    void next();
    void whenExposed(const std::function<void()>& then, int triesLeft = 500);
    void print(const QString& line);

    ui::CMainFrame& frame_;
    QStringList commands_;
};

}  // namespace tw::test
