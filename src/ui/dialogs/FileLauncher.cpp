#include "ui/dialogs/FileLauncher.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace tw::ui {
namespace {

FileLauncher::Handler& handler() {
    static FileLauncher::Handler installed;
    return installed;
}

}  // namespace

void FileLauncher::openFile(const std::string& diskPath) {
    if (handler()) {
        handler()(Program::DefaultApplication, diskPath);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(diskPath.c_str())));
}

void FileLauncher::openInTextEditor(const std::string& diskPath) {
    if (handler()) {
        handler()(Program::TextEditor, diskPath);
        return;
    }
    QStringList command =
        textEditorCommand(qEnvironmentVariable("VISUAL"), qEnvironmentVariable("PATH"));
    const QString program = command.takeFirst();
    command.append(QFile::decodeName(diskPath.c_str()));
    QProcess::startDetached(program, command);
}

void FileLauncher::setHandler(Handler replacement) {
    handler() = std::move(replacement);
}

void FileLauncher::resetHandler() {
    handler() = nullptr;
}

QStringList textEditorCommand(const QString& visual, const QString& searchPath) {
    QStringList command = QProcess::splitCommand(visual);
    if (!command.isEmpty()) {
        return command;
    }
    static const char* const editors[] = {
        "gedit", "gnome-text-editor", "mousepad", "kate", "kwrite", "xed",
        "pluma", "featherpad",        "leafpad"};
    const QStringList directories = searchPath.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const char* editor : editors) {
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
