#include "ui/DialogCalls.h"

#include "ui/dialogs/CAddFolderDialog.h"
#include "ui/dialogs/CFailedCountsDlg.h"
#include "ui/dialogs/CReportDialog.h"
#include "ui/dialogs/CSettingsDialog.h"

namespace tw::ui {

bool runAddFolderDialog(QWidget* window, std::vector<std::string>& foundFiles,
                        QSettings* settings) {
    CAddFolderDialog dialog(window, settings);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    foundFiles = dialog.foundFiles();
    return true;
}

bool runSettingsDialog(QWidget* window) {
    CSettingsDialog dialog(window);
    return dialog.exec() == QDialog::Accepted;
}

void runReportDialog(QWidget* window, const ProjectFolder& root) {
    CReportDialog dialog(window, root);
    dialog.exec();
}

void runFailedCountsDialog(QWidget* window, const ProjectFolder& root) {
    CFailedCountsDlg dialog(window, &root);
    dialog.exec();
}

}  // namespace tw::ui
