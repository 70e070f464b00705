#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

#include "project/FailedCountTable.h"

class QPushButton;
class QTreeView;

namespace tw {
class ProjectFolder;
}

namespace tw::ui {

/// The Errors dialog: the files whose count failed, each with its error text, from its own copy
/// of a failure table (`failedCountTable()` unless given another) taken at construction (in
/// path order), and buttons that open the selected files.
///
///     CFailedCountsDlg dialog(document.failures(), parent, &document.root());
///     dialog.exec();
/// The line that a failed count's text names at its end ("... (line 12)."), from 1; 0 when it
/// names none.
int failureLine(const QString& text);

class CFailedCountsDlg : public QDialog {
    Q_OBJECT

  public:
    /// `project`, when given, is where the files' disk paths are looked up; a path it does not
    /// hold is opened as its record path read with '/' for '\'. It is read only while the
    /// dialog runs.
    explicit CFailedCountsDlg(QWidget* parent = nullptr, const ProjectFolder* project = nullptr);
    CFailedCountsDlg(const FailedCountTable& failures, QWidget* parent,
                     const ProjectFolder* project);
    ~CFailedCountsDlg() override;

  private:
    /// The disk paths of the selected rows, in row order, and in `lines` (when given) the line
    /// each row's error names (0 for none).
    QStringList selectedFiles(QList<int>* lines = nullptr) const;
    void updateButtons();

    const ProjectFolder* project_ = nullptr;
    QTreeView* list_ = nullptr;
    QPushButton* openButton_ = nullptr;
    QPushButton* editorButton_ = nullptr;
};

}  // namespace tw::ui
