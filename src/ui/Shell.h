#pragma once

#include <QString>
#include <QStringList>

#include <functional>

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
    using Handler = std::function<void(Action, const QString& target)>;

    /// Starts the request; whether the other program managed is not examined.
    static void run(Action action, const QString& target);

    /// The text editor to start: the program and arguments of $VISUAL, else the first of the
    /// usual desktop text editors found on PATH. Empty when there is none.
    static QStringList textEditorCommand();

    static void setHandler(Handler handler);
    static void resetHandler();
};

}  // namespace tw::ui
