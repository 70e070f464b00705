#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tw::ui {

/// The Add Folder dialog: the user sorts file extensions into an included and an unused list
/// (both remembered for the rest of the process, see `rememberedExtensions`), may add
/// extensions of their own, and picks a directory. OK scans the directory and keeps the paths
/// of the files whose extension is included:
///
///     CAddFolderDialog dialog(parent);
///     if (dialog.exec() == QDialog::Accepted) add(dialog.foundFiles());
class CAddFolderDialog : public QDialog {
    Q_OBJECT

  public:
    explicit CAddFolderDialog(QWidget* parent = nullptr);

    /// The files the scan found at OK, in scan order: disk paths as the file system gave them
    /// (bytes, normally UTF-8), joined with '/'. Empty before OK.
    const std::vector<std::string>& foundFiles() const { return found_; }

    /// Scans and closes with OK, or says "Directory is not valid." and stays open.
    void accept() override;
    /// Closes without scanning; ignored while a scan runs.
    void reject() override;

  private:
    void moveSelected(QListWidget* from, QListWidget* to);
    void addCustomExtension();
    void browse();

    QListWidget* unusedList_ = nullptr;
    QListWidget* includedList_ = nullptr;
    QPushButton* includeButton_ = nullptr;
    QPushButton* excludeButton_ = nullptr;
    QLineEdit* customExtensionEdit_ = nullptr;
    QLineEdit* directoryEdit_ = nullptr;
    QCheckBox* subfoldersCheck_ = nullptr;
    QLabel* progressLabel_ = nullptr;
    std::vector<std::string> found_;
    bool scanning_ = false;
};

}  // namespace tw::ui
