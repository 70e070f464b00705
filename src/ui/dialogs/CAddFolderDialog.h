#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSettings;

namespace tw::ui {

/// The Add Folder dialog: the user sorts file extensions into an included and an unused list
/// (both remembered for the rest of the process, see `rememberedExtensions`), may add
/// extensions of their own, and picks a directory. OK scans the directory and keeps the paths
/// of the files whose extension is included, leaving out what the Exclude patterns match and,
/// for a folder inside a git work tree with "Skip files that version control ignores" checked,
/// what git ignores. Those two choices are kept in `settings` (see `AddFolderOptions`):
///
///     CAddFolderDialog dialog(parent, settings);
///     if (dialog.exec() == QDialog::Accepted) add(dialog.foundFiles());
class CAddFolderDialog : public QDialog {
    Q_OBJECT

  public:
    /// `settings`, when given, keeps the version-control and Exclude choices; without it they
    /// start from their defaults at every opening.
    explicit CAddFolderDialog(QWidget* parent = nullptr, QSettings* settings = nullptr);

    /// The files the scan found at OK, in scan order: disk paths as the file system gave them
    /// (bytes, normally UTF-8), joined with '/'. Empty before OK.
    const std::vector<std::string>& foundFiles() const { return found_; }
    /// The directory field: where the dialog starts (the folder used last) and what was
    /// scanned at OK.
    QString directory() const;
    void setDirectory(const QString& directory);

    /// Scans and closes with OK, or says "Directory is not valid." and stays open.
    void accept() override;
    /// Closes without scanning; ignored while a scan runs.
    void reject() override;

  private:
    void moveSelected(QListWidget* from, QListWidget* to);
    void addCustomExtension();
    void browse();
    /// The version-control check box follows the directory: offered, with the user's last
    /// choice, for a folder inside a git work tree; unchecked and unavailable elsewhere.
    void showVersionControlChoice();

    QListWidget* unusedList_ = nullptr;
    QListWidget* includedList_ = nullptr;
    QPushButton* includeButton_ = nullptr;
    QPushButton* excludeButton_ = nullptr;
    QLineEdit* customExtensionEdit_ = nullptr;
    QLineEdit* directoryEdit_ = nullptr;
    QCheckBox* subfoldersCheck_ = nullptr;
    QCheckBox* skipIgnoredCheck_ = nullptr;
    QLineEdit* excludeEdit_ = nullptr;
    QSettings* settings_ = nullptr;
    /// The user's choice for the version-control check box, whatever the directory shows.
    bool skipIgnored_ = true;
    QLabel* progressLabel_ = nullptr;
    std::vector<std::string> found_;
    bool scanning_ = false;
};

}  // namespace tw::ui
