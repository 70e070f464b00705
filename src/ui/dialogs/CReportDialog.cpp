#include "ui/dialogs/CReportDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/CountSettings.h"
#include "project/ProjectFolder.h"
#include "report/ReportWriter.h"
#include "ui/common/MessageBox.h"
#include "ui/common/Shell.h"
#include "ui/dialogs/IndentationSpinBox.h"
#include "ui/dialogs/ReportFile.h"

namespace tw::ui {
namespace {

const QString kErrorCaption = QStringLiteral("Error:");

QRadioButton* makeRadio(const QString& text, const QString& objectName, const QString& toolTip,
                        QWidget* parent) {
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(objectName);
    radio->setToolTip(toolTip);
    return radio;
}

}  // namespace

CReportDialog::CReportDialog(QWidget* parent, const ProjectFolder& root)
    : QDialog(parent), root_(root) {
    setObjectName(QStringLiteral("reportDialog"));
    setWindowTitle(QStringLiteral("Generate Report"));
    const ReportOptions defaults;

    // File name and output directory.
    fileNameEdit_ = new QLineEdit(defaults.fileName, this);
    fileNameEdit_->setObjectName(QStringLiteral("fileNameEdit"));
    directoryEdit_ = new QLineEdit(defaults.directory, this);
    directoryEdit_->setObjectName(QStringLiteral("directoryEdit"));
    auto* browseButton = new QPushButton(QStringLiteral("Browse..."), this);
    browseButton->setObjectName(QStringLiteral("browseButton"));
    browseButton->setAutoDefault(false);
    auto* fileNameLabel = new QLabel(QStringLiteral("File name:"), this);
    fileNameLabel->setBuddy(fileNameEdit_);
    auto* directoryLabel = new QLabel(QStringLiteral("Output Directory:"), this);
    directoryLabel->setBuddy(directoryEdit_);

    auto* target = new QGridLayout;
    target->addWidget(fileNameLabel, 0, 0);
    target->addWidget(fileNameEdit_, 0, 1);
    target->addWidget(directoryLabel, 1, 0);
    target->addWidget(directoryEdit_, 1, 1);
    target->addWidget(browseButton, 1, 2);
    target->setColumnStretch(1, 1);

    // Format and style.
    auto* formatGroup = new QGroupBox(QStringLiteral("Format:"), this);
    txtRadio_ =
        makeRadio(QStringLiteral(".txt"), QStringLiteral("txtRadio"),
                  QStringLiteral("Save as a text file, formatted using whitespace."), formatGroup);
    csvRadio_ = makeRadio(
        QStringLiteral(".csv"), QStringLiteral("csvRadio"),
        QStringLiteral("Save as a comma-separated values file, with columns separated by "
                       "commas.  This format is suitable for use in spreadsheet applications "
                       "such as Microsoft Excel or OpenOffice.org Calc."),
        formatGroup);
    auto* formatLayout = new QVBoxLayout(formatGroup);
    formatLayout->addWidget(txtRadio_);
    formatLayout->addWidget(csvRadio_);

    // Each style sits beside the option that only it uses.
    auto* styleGroup = new QGroupBox(QStringLiteral("Style:"), this);
    listRadio_ = makeRadio(
        QStringLiteral("List"), QStringLiteral("listRadio"),
        QStringLiteral("File paths are presented in a list, displayed in a single column."),
        styleGroup);
    treeRadio_ = makeRadio(QStringLiteral("Tree"), QStringLiteral("treeRadio"),
                           QStringLiteral("File paths are presented as a tree, showing the "
                                          "folder and file hierarchy in detail."),
                           styleGroup);
    fullPathsCheck_ = new QCheckBox(QStringLiteral("Display Full Paths"), styleGroup);
    fullPathsCheck_->setObjectName(QStringLiteral("fullPathsCheck"));
    fullPathsCheck_->setToolTip(
        QStringLiteral("Display the entire path of each file, instead of the file name only."));
    indentation_ = new IndentationSpinBox(styleGroup);
    indentation_->setObjectName(QStringLiteral("indentationEdit"));
    indentation_->setToolTip(QStringLiteral(
        "The number of spaces added between folder and subfolder names in a tree style "
        "report."));
    auto* indentationLabel = new QLabel(QStringLiteral("Indentation:"), styleGroup);
    indentationLabel->setBuddy(indentation_);
    auto* indentationRow = new QHBoxLayout;
    indentationRow->setContentsMargins(0, 0, 0, 0);
    indentationRow->addWidget(indentationLabel);
    indentationRow->addWidget(indentation_);
    indentationRow->addStretch();
    auto* styleLayout = new QGridLayout(styleGroup);
    styleLayout->setHorizontalSpacing(24);
    styleLayout->addWidget(listRadio_, 0, 0);
    styleLayout->addWidget(fullPathsCheck_, 0, 1);
    styleLayout->addWidget(treeRadio_, 1, 0);
    styleLayout->addLayout(indentationRow, 1, 1);

    auto* choices = new QHBoxLayout;
    choices->addWidget(formatGroup);
    choices->addWidget(styleGroup);
    choices->addStretch();

    // Preview.
    auto* previewGroup = new QGroupBox(QStringLiteral(" Preview "), this);
    preview_ = new QPlainTextEdit(previewGroup);
    preview_->setObjectName(QStringLiteral("previewEdit"));
    preview_->setReadOnly(true);
    preview_->setUndoRedoEnabled(false);
    preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
    preview_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    preview_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    preview_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Tab stops every eight characters, as a plain text editor sets them.
    preview_->setTabStopDistance(8 * preview_->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    preview_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    previewNote_ = new QLabel(
        QStringLiteral("The preview shows the beginning of the report; OK writes all of it."),
        previewGroup);
    previewNote_->setObjectName(QStringLiteral("previewNote"));
    previewNote_->setVisible(false);
    auto* previewLayout = new QVBoxLayout(previewGroup);
    previewLayout->addWidget(preview_);
    previewLayout->addWidget(previewNote_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(target);
    layout->addLayout(choices);
    layout->addWidget(previewGroup, 1);
    layout->addWidget(buttons);

    // The starting state.
    txtRadio_->setChecked(!defaults.csv);
    csvRadio_->setChecked(defaults.csv);
    listRadio_->setChecked(defaults.listStyle);
    treeRadio_->setChecked(!defaults.listStyle);
    fullPathsCheck_->setChecked(defaults.fullPaths);
    indentation_->setValue(defaults.indentation);
    indentation_->setEnabled(false);

    // A csv report is always a list, and a tree always text.
    connect(txtRadio_, &QRadioButton::clicked, this, [this] {
        treeRadio_->setEnabled(true);
        setFileExtension(QStringLiteral(".txt"));
        refresh();
    });
    connect(csvRadio_, &QRadioButton::clicked, this, [this] {
        listRadio_->setChecked(true);
        treeRadio_->setEnabled(false);
        setFileExtension(QStringLiteral(".csv"));
        refresh();
    });
    connect(listRadio_, &QRadioButton::clicked, this, [this] {
        csvRadio_->setEnabled(true);
        indentation_->setEnabled(false);
        fullPathsCheck_->setEnabled(true);
        refresh();
    });
    connect(treeRadio_, &QRadioButton::clicked, this, [this] {
        txtRadio_->setChecked(true);
        csvRadio_->setEnabled(false);
        indentation_->setEnabled(true);
        fullPathsCheck_->setEnabled(false);
        refresh();
    });
    connect(fullPathsCheck_, &QCheckBox::clicked, this, &CReportDialog::refresh);
    // Each keystroke would rebuild a report that may be long: wait until the typing pauses.
    typingPause_.setSingleShot(true);
    typingPause_.setInterval(kTypingPauseMs);
    connect(&typingPause_, &QTimer::timeout, this, &CReportDialog::refresh);
    connect(indentation_, &IndentationSpinBox::typedTextChanged, &typingPause_,
            qOverload<>(&QTimer::start));
    connect(browseButton, &QPushButton::clicked, this, &CReportDialog::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &CReportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CReportDialog::reject);

    refresh();
    resize(760, 560);
}

void CReportDialog::setDirectory(const QString& directory) {
    if (!directory.isEmpty()) {
        directoryEdit_->setText(directory);
    }
}

ReportOptions CReportDialog::options() const {
    ReportOptions options;
    options.fileName = fileNameEdit_->text();
    options.directory = directoryEdit_->text();
    options.csv = csvRadio_->isChecked();
    options.listStyle = listRadio_->isChecked();
    options.fullPaths = fullPathsCheck_->isChecked();
    options.indentation = indentation_->typedValue();
    return options;
}

void CReportDialog::refresh() {
    typingPause_.stop();
    const ReportOptions chosen = options();
    report_.clear();
    std::size_t lines = 0;
    const bool whole = writeReport(
        root_, countSettings().mode, chosen.csv, chosen.listStyle, chosen.fullPaths,
        chosen.indentation, [this, &lines](std::u16string_view piece) {
            // Pieces end at line ends: take whole lines up to either limit.
            std::size_t taken = 0;
            for (std::size_t end = piece.find(u'\n'); end != std::u16string_view::npos;
                 end = piece.find(u'\n', end + 1)) {
                if (lines == kPreviewLines || report_.size() + end + 1 > kPreviewCharacters) {
                    report_.append(piece.substr(0, taken));
                    return false;
                }
                ++lines;
                taken = end + 1;
            }
            if (report_.size() + piece.size() > kPreviewCharacters) {
                report_.append(piece.substr(0, taken));
                return false;
            }
            report_.append(piece);
            return true;
        });
    previewIsPartial_ = !whole;
    previewNote_->setVisible(previewIsPartial_);
    preview_->setPlainText(
        QString::fromUtf16(report_.data(), static_cast<qsizetype>(report_.size())));
    emit previewRebuilt();
}

void CReportDialog::setFileExtension(const QString& extension) {
    fileNameEdit_->setText(withExtension(fileNameEdit_->text(), extension));
}

void CReportDialog::browse() {
    const QString directory = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Select Folder:"), directoryEdit_->text(), QFileDialog::ShowDirsOnly);
    if (!directory.isEmpty()) {
        directoryEdit_->setText(QDir::toNativeSeparators(directory));
    }
}

void CReportDialog::accept() {
    const QString fileName = fileNameEdit_->text();
    if (fileName.isEmpty()) {
        MessageBox::show(this, QStringLiteral("Please enter a file name."), kErrorCaption);
        return;
    }
    const QString directory = directoryEdit_->text();
    if (!directory.isEmpty() && !QFileInfo::exists(directory)) {
        // A folder that is not there yet is made on request.
        if (!askYesNo(QStringLiteral("The directory \"") + printableInMessage(directory) +
                      QStringLiteral("\" does not exist.\r\n\r\nDo you want to create it?"))) {
            return;
        }
        QDir().mkpath(directory);
    }
    if (directory.isEmpty() || !QFileInfo(directory).isDir()) {
        MessageBox::show(this, QStringLiteral("Directory is invalid."), kErrorCaption);
        return;
    }
    typingPause_.stop();
    const QString path = reportFilePath(directory, fileName);
    if (QFileInfo(path).isFile() &&
        !askYesNo(QStringLiteral("\"") + printableInMessage(path) +
                  QStringLiteral("\" already exists.\r\n\r\nDo you want to replace it?"))) {
        return;
    }
    const ReportOptions chosen = options();
    const ReportWrite written = writeReportFile(path, chosen.csv, [&](const ReportOutput& output) {
        writeReport(root_, countSettings().mode, chosen.csv, chosen.listStyle, chosen.fullPaths,
                    chosen.indentation, output);
    });
    if (written.status != ReportWrite::Status::Written) {
        MessageBox::show(this, reportWriteMessage(path, written), kErrorCaption);
        return;
    }
    const bool open =
        MessageBox::show(this,
                         QStringLiteral("Report written successfully to \"") +
                             printableInMessage(path) +
                             QStringLiteral("\"\r\n\r\nDo you want to open the report?"),
                         QStringLiteral("Success"), QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::Information) == QMessageBox::Yes;
    writtenDirectory_ = directory;
    QDialog::accept();
    if (open) {
        Shell::runOrExplain(parentWidget(), Shell::Action::Open, path);
    }
}

bool CReportDialog::askYesNo(const QString& question) {
    return MessageBox::show(this, question, QStringLiteral("Generate Report"),
                            QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::Question) == QMessageBox::Yes;
}

}  // namespace tw::ui
