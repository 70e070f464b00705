#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>

#include <string>
#include <utility>
#include <vector>

#include "report/ReportLayout.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace tw {
class ProjectFolder;
}

namespace tw::ui {

class IndentationSpinBox;

/// The Generate Report dialog: the user chooses the report's format and layout and sees the
/// report as it will be written; OK writes the report of the layout shown. The formats are those
/// of the report format table, each with its own button; a format offers the styles (list,
/// tree) it has. Every opening starts from the defaults of `ReportLayout`, in a file named
/// "report" with the format's extension.
///
/// The preview holds at most the first `kPreviewLines` lines (and `kPreviewBytes` bytes of the
/// file) and says so when the report is longer; the file gets all of it, written as it
/// is made. Typing in the indentation field rebuilds the preview once the typing pauses.
///
///     CReportDialog dialog(parent, document.root());
///     dialog.exec();
class CReportDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr std::size_t kPreviewLines = 10000;
    static constexpr std::size_t kPreviewBytes = 4 * 1024 * 1024;
    /// How long typing in the indentation field must pause before the preview is rebuilt.
    static constexpr int kTypingPauseMs = 300;

    /// `root` must outlive the dialog; the dialog only reads it.
    CReportDialog(QWidget* parent, const ProjectFolder& root);

    /// The report the controls show now.
    ReportLayout layout() const;
    /// The text of the last preview, as the file holds it: the whole report, or its beginning
    /// when it is longer.
    const std::u16string& report() const { return report_; }
    /// Whether the preview shows only the beginning of the report.
    bool previewIsPartial() const { return previewIsPartial_; }

    /// Starts in `directory` (the one used last) instead of the default; nothing for "".
    void setDirectory(const QString& directory);
    /// The directory the report was written to; empty until one was.
    const QString& writtenDirectory() const { return writtenDirectory_; }
    /// Starts with the format of `extension` (".csv", as the format table spells it); nothing
    /// for one the dialog does not offer.
    void setFormat(const QString& extension);
    /// The extension of the format the report was written in (".txt").
    QString formatExtension() const;

    /// Writes the report and closes with OK, or explains in a message box why it cannot and
    /// stays open. A missing directory is created and an existing file replaced only when the
    /// user agrees; once written, the report is opened when the user asks for it.
    void accept() override;

  signals:
    /// The preview was made again.
    void previewRebuilt();

  private:
    void refresh();
    /// Enables the formats that can show the chosen style and the styles the chosen format has,
    /// moving the style to one the format has first.
    void tieControls();
    void setFileExtension(const QString& extension);
    void browse();
    /// A Yes/No question; true for Yes.
    bool askYesNo(const QString& question);

    const ProjectFolder& root_;
    QLineEdit* fileNameEdit_ = nullptr;
    QLineEdit* directoryEdit_ = nullptr;
    /// One button per report format ("txtRadio", "csvRadio", ...), in the table's order.
    std::vector<std::pair<ReportFormatId, QRadioButton*>> formatRadios_;
    QRadioButton* listRadio_ = nullptr;
    QRadioButton* treeRadio_ = nullptr;
    QCheckBox* fullPathsCheck_ = nullptr;
    IndentationSpinBox* indentation_ = nullptr;
    QPlainTextEdit* preview_ = nullptr;
    QLabel* previewNote_ = nullptr;
    QTimer typingPause_;
    std::u16string report_;
    bool previewIsPartial_ = false;
    QString writtenDirectory_;
    ReportFormatId writtenFormat_ = ReportLayout().format;
};

}  // namespace tw::ui
