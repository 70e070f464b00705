#include "ui/common/Shell.h"

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

void Shell::run(Action action, const QString& target) {
    if (handler()) {
        handler()(action, target);
        return;
    }
    switch (action) {
        case Action::Open:
        case Action::ShowFolder:
            QDesktopServices::openUrl(QUrl::fromLocalFile(target));
            break;
        case Action::OpenPage:
            QDesktopServices::openUrl(urlOf(target));
            break;
        case Action::OpenInTextEditor: {
            QStringList command = textEditorCommand();
            const QString program = command.takeFirst();
            // The file is one argument of its own: no shell sees it.
            command.append(target);
            QProcess::startDetached(program, command);
            break;
        }
    }
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
