#include "ui/common/Shell.h"

#include "ui/common/MessageBox.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <algorithm>
#include <iterator>

namespace tw::ui {
namespace {

Shell::Handler& handler() {
    static Shell::Handler installed;
    return installed;
}

QUrl urlOf(const QString& target) {
    const QUrl url(target, QUrl::StrictMode);
    if (url.isValid() && !url.scheme().isEmpty() && url.scheme().size() > 1) {
        return url;
    }
    return QUrl::fromLocalFile(target);
}

}  // namespace

QStringList Shell::textEditorCommand() {
    return ui::textEditorCommand(qEnvironmentVariable("VISUAL"), qEnvironmentVariable("PATH"));
}

bool Shell::run(Action action, const QString& target, int line) {
    if (handler()) {
        return handler()(action, target);
    }
    switch (action) {
        case Action::Open:
        case Action::ShowFolder:
            return QDesktopServices::openUrl(QUrl::fromLocalFile(target));
        case Action::OpenPage:
            return QDesktopServices::openUrl(urlOf(target));
        case Action::OpenInTextEditor: {
            // The file is one argument of its own: no shell sees it.
            QStringList command = textEditorArguments(textEditorCommand(), target, line);
            const QString program = command.takeFirst();
            return QProcess::startDetached(program, command);
        }
    }
    return false;
}

bool Shell::runOrExplain(QWidget* window, Action action, const QString& target, int line) {
    if (run(action, target, line)) {
        return true;
    }
    const QString what = action == Action::OpenInTextEditor
                             ? QStringLiteral(
                                   "No text editor could be started for \"%1\".\r\n\r\n"
                                   "Set the VISUAL variable to a text editor, or "
                                   "install one.")
                             : QStringLiteral(
                                   "No program could be started to open \"%1\".\r\n\r\n"
                                   "Install a desktop launcher (xdg-open) and a web "
                                   "browser or file manager.");
    MessageBox::show(window, what.arg(printableInMessage(target)), QStringLiteral("Tallyweaver"),
                     QMessageBox::Ok, QMessageBox::Warning);
    return false;
}

void Shell::setHandler(Handler replacement) {
    handler() = std::move(replacement);
}

void Shell::resetHandler() {
    handler() = nullptr;
}

QStringList textEditorCommand(const QString& visual, const QString& searchPath) {
    QStringList command = QProcess::splitCommand(visual);
    if (!command.isEmpty()) {
        return command;
    }
    static const char* const kEditors[] = {
        "gnome-text-editor", "gedit",   "kate",  "kwrite", "mousepad", "xed", "pluma",
        "featherpad",        "leafpad", "geany", "xedit",
    };
    const QStringList directories = searchPath.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const char* editor : kEditors) {
        for (const QString& directory : directories) {
            const QFileInfo candidate(QDir(directory), QString::fromLatin1(editor));
            if (candidate.isFile() && candidate.isExecutable()) {
                return {candidate.filePath()};
            }
        }
    }
    return {QStringLiteral("xdg-open")};
}

}  // namespace tw::ui

namespace tw::ui {
namespace {

/// How an editor is told the line to open a file at.
enum class LineForm {
    Plus,        ///< "+12 file"
    LineOption,  ///< "-l 12 file"
    GotoOption,  ///< "-g file:12"
    FileSuffix,  ///< "file:12"
};

struct EditorLineForm {
    const char* program;
    LineForm form;
};

/// The editors that can be told a line, by the name of their program.
constexpr EditorLineForm kEditorLineForms[] = {
    {"vi", LineForm::Plus},           {"vim", LineForm::Plus},
    {"gvim", LineForm::Plus},         {"nvim", LineForm::Plus},
    {"emacs", LineForm::Plus},        {"emacsclient", LineForm::Plus},
    {"nano", LineForm::Plus},         {"micro", LineForm::Plus},
    {"gedit", LineForm::Plus},        {"xed", LineForm::Plus},
    {"pluma", LineForm::Plus},        {"kate", LineForm::LineOption},
    {"kwrite", LineForm::LineOption}, {"geany", LineForm::LineOption},
    {"code", LineForm::GotoOption},   {"codium", LineForm::GotoOption},
    {"subl", LineForm::FileSuffix},
};

}  // namespace

QStringList textEditorArguments(const QStringList& command, const QString& file, int line) {
    QStringList arguments = command;
    QString target = file;
    if (QDir::isRelativePath(target) &&
        (target.startsWith(QLatin1Char('-')) || target.startsWith(QLatin1Char('+')))) {
        target.prepend(QStringLiteral("./"));
    }
    const QString program = command.isEmpty() ? QString() : QFileInfo(command.first()).fileName();
    const auto* known = std::find_if(std::begin(kEditorLineForms), std::end(kEditorLineForms),
                                     [&program](const EditorLineForm& entry) {
                                         return program == QLatin1String(entry.program);
                                     });
    if (line < 1 || known == std::end(kEditorLineForms)) {
        arguments.append(target);
        return arguments;
    }
    const QString number = QString::number(line);
    switch (known->form) {
        case LineForm::Plus:
            arguments << QLatin1Char('+') + number << target;
            break;
        case LineForm::LineOption:
            arguments << QStringLiteral("-l") << number << target;
            break;
        case LineForm::GotoOption:
            arguments << QStringLiteral("-g") << target + QLatin1Char(':') + number;
            break;
        case LineForm::FileSuffix:
            arguments << target + QLatin1Char(':') + number;
            break;
    }
    return arguments;
}

}  // namespace tw::ui
