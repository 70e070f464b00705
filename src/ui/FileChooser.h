#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace tw::ui {

/// The file dialogs of the desktop program. A test installs a handler that answers them
/// without a window, as it does for message boxes.
class FileChooser {
  public:
    enum class Kind {
        AddFiles,     ///< several existing files; title "Add File(s):"
        OpenProject,  ///< one existing project file
        SaveProject,  ///< the name to save a project under
        Folder,       ///< one existing folder
    };
    struct Request {
        QWidget* parent = nullptr;
        Kind kind = Kind::AddFiles;
        QString title;
        /// The name the dialog starts with (Save Project As).
        QString suggested;
        /// The folder the dialog starts in; the dialog's own choice when empty.
        QString directory;
    };
    /// Returns the chosen paths; an empty list when the dialog was cancelled.
    using Handler = std::function<QStringList(const Request&)>;

    /// The files to add; empty when cancelled. The dialog offers the source files the program
    /// counts first, then all files.
    static QStringList addFiles(QWidget* parent, const QString& directory = QString());
    /// The project file to open; empty when cancelled.
    static QString openProject(QWidget* parent, const QString& directory = QString());
    /// The name to save the project under (".tyx" added when no extension is typed); empty
    /// when cancelled. A relative `suggested` name is placed in `directory`.
    static QString saveProject(QWidget* parent, const QString& suggested,
                               const QString& directory = QString());
    /// The name filters of Add File(s): "Source files (*.c *.cpp ...)" with the extensions of
    /// the languages the program counts, then "All Files (*)".
    static QStringList sourceFileFilters();
    /// An existing folder; empty when cancelled.
    static QString folder(QWidget* parent, const QString& title);

    static void setHandler(Handler handler);
    static void resetHandler();

  private:
    static QStringList ask(const Request& request);
};

}  // namespace tw::ui
