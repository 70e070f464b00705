#pragma once

#include <QDialog>
#include <QString>

#include <string>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace tw {
class ProjectFolder;
}

namespace tw::ui {

class IndentationSpinBox;

/// What the Generate Report dialog's controls say.
struct ReportOptions {
    QString fileName = QStringLiteral("report.txt");
    QString directory;
    bool csv = false;
    bool listStyle = true;
    bool fullPaths = true;
    int indentation = 4;
};

/// The Generate Report dialog: the user chooses the report's format and layout and sees the
/// report as it will be written; OK writes exactly the text shown. Every opening starts from
/// the defaults of `ReportOptions`.
///
///     CReportDialog dialog(parent, document.root());
///     dialog.exec();
class CReportDialog : public QDialog {
    Q_OBJECT

  public:
    /// `root` must outlive the dialog; the dialog only reads it.
    CReportDialog(QWidget* parent, const ProjectFolder& root);

    /// The options the controls show now.
    ReportOptions options() const;
    /// The report of the last refresh, the text OK writes.
    const std::u16string& report() const { return report_; }

    /// Writes the report and closes with OK, or explains in a message box why it cannot and
    /// stays open.
    void accept() override;

  private:
    void refresh();
    void setFileExtension(const QString& extension);
    void browse();

    const ProjectFolder& root_;
    QLineEdit* fileNameEdit_ = nullptr;
    QLineEdit* directoryEdit_ = nullptr;
    QRadioButton* txtRadio_ = nullptr;
    QRadioButton* csvRadio_ = nullptr;
    QRadioButton* listRadio_ = nullptr;
    QRadioButton* treeRadio_ = nullptr;
    QCheckBox* fullPathsCheck_ = nullptr;
    IndentationSpinBox* indentation_ = nullptr;
    QPlainTextEdit* preview_ = nullptr;
    std::u16string report_;
};

}  // namespace tw::ui
