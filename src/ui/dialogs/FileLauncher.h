#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

namespace tw::ui {

/// Opens files in other programs: with the desktop's default application, or in a plain text
/// editor. A test installs a handler that records the requests instead.
class FileLauncher {
  public:
    enum class Program { DefaultApplication, TextEditor };
    using Handler = std::function<void(Program program, const std::string& diskPath)>;

    /// Opens the file at `diskPath` with the application the desktop associates with it.
    static void openFile(const std::string& diskPath);
    /// Opens the file at `diskPath` in the text editor of `textEditorCommand`, started detached
    /// with the path as one argument.
    static void openInTextEditor(const std::string& diskPath);

    /// Replaces the real launches with `handler` until `resetHandler`; for tests.
    static void setHandler(Handler handler);
    static void resetHandler();
};

/// The program (and leading arguments) that opens a file in a plain text editor: the command
/// in `visual` (the VISUAL variable) when it names one, else the first of the usual graphical
/// text editors found in the directories of `searchPath` (the PATH variable), else the
/// desktop's "xdg-open".
QStringList textEditorCommand(const QString& visual, const QString& searchPath);

}  // namespace tw::ui
