#include "ui/FileChooser.h"

#include <QFileDialog>

#include "engine/Language.h"

namespace tw::ui {
namespace {

FileChooser::Handler& handler() {
    static FileChooser::Handler installed;
    return installed;
}

const char* const kProjectFilter = "Tallyweaver Projects (*.tyx)";

QStringList runDialog(const FileChooser::Request& request) {
    QFileDialog dialog(request.parent, request.title);
    if (!request.directory.isEmpty()) {
        dialog.setDirectory(request.directory);
    }
    switch (request.kind) {
        case FileChooser::Kind::AddFiles:
            dialog.setFileMode(QFileDialog::ExistingFiles);
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setNameFilters(FileChooser::sourceFileFilters());
            break;
        case FileChooser::Kind::OpenProject:
            dialog.setFileMode(QFileDialog::ExistingFile);
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setNameFilter(QString::fromLatin1(kProjectFilter));
            break;
        case FileChooser::Kind::SaveProject:
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setNameFilter(QString::fromLatin1(kProjectFilter));
            dialog.setDefaultSuffix(QStringLiteral("tyx"));
            if (!request.suggested.isEmpty()) {
                dialog.selectFile(request.suggested);
            }
            break;
        case FileChooser::Kind::Folder:
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOption(QFileDialog::ShowDirsOnly);
            break;
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

}  // namespace

QStringList FileChooser::sourceFileFilters() {
    QStringList patterns;
    for (const std::u16string_view extension : languageExtensions()) {
        patterns.append(QLatin1Char('*') + QString::fromStdU16String(std::u16string(extension)));
    }
    patterns.removeDuplicates();
    return {QStringLiteral("Source files (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'),
            QStringLiteral("All Files (*)")};
}

QStringList FileChooser::ask(const Request& request) {
    return handler() ? handler()(request) : runDialog(request);
}

QStringList FileChooser::addFiles(QWidget* parent, const QString& directory) {
    return ask({parent, Kind::AddFiles, QStringLiteral("Add File(s):"), QString(), directory});
}

QString FileChooser::openProject(QWidget* parent, const QString& directory) {
    const QStringList chosen =
        ask({parent, Kind::OpenProject, QStringLiteral("Open"), QString(), directory});
    return chosen.isEmpty() ? QString() : chosen.first();
}

QString FileChooser::saveProject(QWidget* parent, const QString& suggested,
                                 const QString& directory) {
    const QStringList chosen =
        ask({parent, Kind::SaveProject, QStringLiteral("Save As"), suggested, directory});
    return chosen.isEmpty() ? QString() : chosen.first();
}

QString FileChooser::folder(QWidget* parent, const QString& title) {
    const QStringList chosen = ask({parent, Kind::Folder, title, QString(), QString()});
    return chosen.isEmpty() ? QString() : chosen.first();
}

void FileChooser::setHandler(Handler replacement) {
    handler() = std::move(replacement);
}

void FileChooser::resetHandler() {
    handler() = nullptr;
}

}  // namespace tw::ui
