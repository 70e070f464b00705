#include "ui/DialogCalls.h"

#include "ui/dialogs/CAddFolderDialog.h"
#include "ui/dialogs/CFailedCountsDlg.h"
#include "ui/dialogs/CReportDialog.h"
#include "ui/dialogs/CSettingsDialog.h"

namespace tw::ui {

bool runAddFolderDialog(QWidget* window, std::vector<std::string>& foundFiles,
                        QString& lastDirectory, QSettings* settings) {
    CAddFolderDialog dialog(window, settings);
    if (!lastDirectory.isEmpty()) {
        dialog.setDirectory(lastDirectory);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    lastDirectory = dialog.directory();
    foundFiles = dialog.foundFiles();
    return true;
}

bool runSettingsDialog(QWidget* window, CountSettings& settings, bool countsToDiscard) {
    CSettingsDialog dialog(settings, window);
    dialog.setCountsToDiscard(countsToDiscard);
    return dialog.exec() == QDialog::Accepted;
}

bool runReportDialog(QWidget* window, const ProjectFolder& root, QString& directory,
                     QString& format) {
    CReportDialog dialog(window, root);
    dialog.setFormat(format);
    dialog.setDirectory(directory);
    if (dialog.exec() != QDialog::Accepted || dialog.writtenDirectory().isEmpty()) {
        return false;
    }
    directory = dialog.writtenDirectory();
    format = dialog.formatExtension();
    return true;
}

void runFailedCountsDialog(QWidget* window, const ProjectFolder& root,
                           const FailedCountTable& failures) {
    CFailedCountsDlg dialog(failures, window, &root);
    dialog.exec();
}

}  // namespace tw::ui
