#include "ui/DialogCalls.h"

#include <QDir>
#include <QFileInfo>

#include "project/FailedCountTable.h"
#include "ui/FileChooser.h"
#include "ui/common/MessageBox.h"

namespace tw::ui {
namespace {

void scanInto(const QString& directory, const QStringList& extensions, bool subfolders,
              QStringList& found) {
    const QDir dir(directory);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                          QDir::Unsorted);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir()) {
            if (subfolders && !entry.isSymLink()) {
                scanInto(entry.filePath(), extensions, subfolders, found);
            }
            continue;
        }
        const QString name = entry.fileName();
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        const QString extension = dot < 0 ? QStringLiteral("[none]") : name.mid(dot);
        if (extensions.contains(extension, Qt::CaseInsensitive)) {
            found.append(entry.filePath());
        }
    }
}

QString qstring(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

QStringList defaultIncludedExtensions() {
    return {QStringLiteral(".c"),  QStringLiteral(".cpp"), QStringLiteral(".h"),
            QStringLiteral(".hpp"), QStringLiteral(".rc"), QStringLiteral(".java")};
}

QStringList scanFolder(const QString& directory, const QStringList& extensions, bool subfolders) {
    QStringList found;
    if (!extensions.isEmpty()) {
        scanInto(directory, extensions, subfolders, found);
    }
    return found;
}

bool runAddFolderDialog(QWidget* window, QStringList& foundFiles) {
    // Until the Add Folder dialog exists: a folder chooser, the default extensions and every
    // subfolder.
    const QString directory = FileChooser::folder(window, QStringLiteral("Select Folder:"));
    if (directory.isEmpty()) {
        return false;
    }
    foundFiles = scanFolder(directory, defaultIncludedExtensions(), true);
    return true;
}

bool runSettingsDialog(QWidget* window) {
    MessageBox::show(window, QStringLiteral("The Project Settings dialog is not available yet."));
    return false;
}

void runReportDialog(QWidget* window) {
    MessageBox::show(window, QStringLiteral("The Generate Report dialog is not available yet."));
}

void runFailedCountsDialog(QWidget* window) {
    // Until the Errors dialog exists: the failed files and their error texts in a message box.
    constexpr int kShown = 30;
    QStringList lines{QStringLiteral("Errors were encountered in the following files:"),
                      QString()};
    int listed = 0;
    const FailedCountTable& table = failedCountTable();
    for (const auto& [path, remarks] : table) {
        if (listed++ == kShown) {
            lines.append(QStringLiteral("... and %1 more").arg(table.size() - kShown));
            break;
        }
        lines.append(qstring(path) + QStringLiteral("\t") + qstring(remarks));
    }
    MessageBox::show(window, lines.join(QLatin1Char('\n')), QStringLiteral("Errors"),
                     QMessageBox::Ok, QMessageBox::Warning);
}

}  // namespace tw::ui
