#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace tw::ui {

/// Hands files, folders and web pages to other programs of the desktop. A test installs a
/// handler that records the requests instead.
class Shell {
  public:
    enum class Action {
        Open,              ///< a file, with the desktop's program for its kind
        OpenInTextEditor,  ///< a file, in a plain text editor
        ShowFolder,        ///< a folder, in the file manager
        OpenPage,          ///< a web address or a local page, in the browser
    };
    /// Returns whether a program could be started for the request.
    using Handler = std::function<bool(Action, const QString& target)>;

    /// Starts the request; false when no program could be started for it (no launcher, browser
    /// or editor on this desktop). Whether the other program then managed is not examined.
    /// A text editor opens the file at `line` (from 1) when it is one that can be told a line
    /// (`textEditorArguments`); other actions and editors leave it.
    static bool run(Action action, const QString& target, int line = 0);
    /// As `run`, and says so in a message box over `window` when no program could be started:
    /// a desktop user never sees a line on standard error.
    static bool runOrExplain(QWidget* window, Action action, const QString& target, int line = 0);

    /// The text editor to start, from the VISUAL and PATH variables: see the free function
    /// `textEditorCommand`.
    static QStringList textEditorCommand();

    /// Replaces the real launches with `handler` until `resetHandler`; for tests.
    static void setHandler(Handler handler);
    static void resetHandler();
};

/// The program (and leading arguments) that opens a file in a plain text editor: the command
/// in `visual` (the VISUAL variable) when it names one, else the first of the usual graphical
/// text editors found in the directories of `searchPath` (the PATH variable), else the
/// desktop's "xdg-open".
QStringList textEditorCommand(const QString& visual, const QString& searchPath);

/// The whole command line that opens `file` in the editor `command` (a `textEditorCommand`) at
/// `line`, counted from 1: the editor's own way to name a line when it is one of those the
/// program knows ("+12 file", "-l 12 file", "-g file:12"), the file alone for any other editor
/// and for a `line` below 1. A relative `file` that begins with '-' or '+' is given as "./file",
/// so that no editor reads it as an option.
QStringList textEditorArguments(const QStringList& command, const QString& file, int line);

}  // namespace tw::ui
