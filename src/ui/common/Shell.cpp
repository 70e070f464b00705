#include "ui/common/Shell.h"

#include "ui/common/MessageBox.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

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

bool Shell::run(Action action, const QString& target) {
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
            QStringList command = textEditorCommand();
            const QString program = command.takeFirst();
            // The file is one argument of its own: no shell sees it.
            command.append(target);
            return QProcess::startDetached(program, command);
        }
    }
    return false;
}

bool Shell::runOrExplain(QWidget* window, Action action, const QString& target) {
    if (run(action, target)) {
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
