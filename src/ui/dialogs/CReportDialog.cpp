#include "ui/dialogs/CReportDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "engine/CountSettings.h"
#include "engine/TextConversion.h"
#include "project/ProjectFolder.h"
#include "report/ReportFormat.h"
#include "ui/common/MessageBox.h"
#include "ui/common/PathProblem.h"
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

/// `wanted`, made smaller where the available area of the screen the dialog opens on is: a tenth
/// of it is left for the window's frame.
QSize fittedSize(QSize wanted, const QWidget* parent) {
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return wanted;
    }
    const QRect available = screen->availableGeometry();
    return wanted.boundedTo(QSize(available.width() * 9 / 10, available.height() * 9 / 10));
}

}  // namespace

CReportDialog::CReportDialog(QWidget* parent, const ProjectFolder& root)
    : QDialog(parent), root_(root) {
    setObjectName(QStringLiteral("reportDialog"));
    setWindowTitle(QStringLiteral("Generate Report"));
    const ReportLayout defaults;
    const ReportFormat& defaultFormat = reportFormat(defaults.format);

    // File name and output directory.
    fileNameEdit_ = new QLineEdit(
        QStringLiteral("report") + QString::fromLatin1(defaultFormat.extension.data(),
                                                       qsizetype(defaultFormat.extension.size())),
        this);
    fileNameEdit_->setObjectName(QStringLiteral("fileNameEdit"));
    directoryEdit_ = new QLineEdit(this);
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
    auto* formatLayout = new QVBoxLayout(formatGroup);
    for (const ReportFormat& format : reportFormats()) {
        // ".txt" shows as the button's text and names it "txtRadio".
        const QString extension =
            QString::fromLatin1(format.extension.data(), qsizetype(format.extension.size()));
        auto* radio = makeRadio(
            extension, extension.mid(1) + QStringLiteral("Radio"),
            QString::fromUtf8(format.description.data(), qsizetype(format.description.size())),
            formatGroup);
        radio->setChecked(format.id == defaults.format);
        formatLayout->addWidget(radio);
        formatRadios_.emplace_back(format.id, radio);
    }

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

    // Everything above the buttons scrolls when the screen is too small for it (a large
    // scale factor), so that OK and Cancel are always on screen.
    auto* contents = new QWidget;
    contents->setObjectName(QStringLiteral("reportContents"));
    auto* contentsLayout = new QVBoxLayout(contents);
    contentsLayout->setContentsMargins(0, 0, 0, 0);
    contentsLayout->addLayout(target);
    contentsLayout->addLayout(choices);
    contentsLayout->addWidget(previewGroup, 1);
    preview_->setMinimumHeight(6 * preview_->fontMetrics().lineSpacing());
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("reportScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(contents);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(buttons);

    // The starting state.
    listRadio_->setChecked(defaults.listStyle);
    treeRadio_->setChecked(!defaults.listStyle);
    fullPathsCheck_->setChecked(defaults.fullPaths);
    indentation_->setValue(defaults.indentation);
    tieControls();

    // A format shows the styles it has: a csv report is always a list, and a tree always text.
    for (const auto& [id, radio] : formatRadios_) {
        connect(radio, &QRadioButton::clicked, this, [this, id = id] {
            const std::string_view extension = reportFormat(id).extension;
            setFileExtension(QString::fromLatin1(extension.data(), qsizetype(extension.size())));
            tieControls();
            refresh();
        });
    }
    for (QRadioButton* style : {listRadio_, treeRadio_}) {
        connect(style, &QRadioButton::clicked, this, [this] {
            tieControls();
            refresh();
        });
    }
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
    resize(fittedSize(QSize(760, 560), parent));
}

QString CReportDialog::formatExtension() const {
    const std::string_view extension = reportFormat(writtenFormat_).extension;
    return QString::fromLatin1(extension.data(), qsizetype(extension.size()));
}

void CReportDialog::setFormat(const QString& extension) {
    for (const auto& [id, radio] : formatRadios_) {
        const std::string_view own = reportFormat(id).extension;
        if (extension == QLatin1String(own.data(), qsizetype(own.size()))) {
            // As a click would: the style follows, the file name takes the extension.
            radio->setChecked(true);
            setFileExtension(extension);
            tieControls();
            refresh();
            return;
        }
    }
}

void CReportDialog::setDirectory(const QString& directory) {
    if (!directory.isEmpty()) {
        directoryEdit_->setText(directory);
    }
}

ReportLayout CReportDialog::layout() const {
    ReportLayout layout;
    for (const auto& [id, radio] : formatRadios_) {
        if (radio->isChecked()) {
            layout.format = id;
        }
    }
    layout.listStyle = listRadio_->isChecked();
    layout.fullPaths = fullPathsCheck_->isChecked();
    layout.indentation = indentation_->typedValue();
    return layout;
}

void CReportDialog::tieControls() {
    const ReportFormat& format = reportFormat(layout().format);
    if (!formatTakesStyle(format, listRadio_->isChecked())) {
        (listRadio_->isChecked() ? treeRadio_ : listRadio_)->setChecked(true);
    }
    const bool list = listRadio_->isChecked();
    for (const auto& [id, radio] : formatRadios_) {
        radio->setEnabled(formatTakesStyle(reportFormat(id), list));
    }
    listRadio_->setEnabled(format.list);
    treeRadio_->setEnabled(format.tree);
    fullPathsCheck_->setEnabled(format.list && list);
    indentation_->setEnabled(format.tree && !list);
}

void CReportDialog::refresh() {
    typingPause_.stop();
    const ReportLayout chosen = layout();
    std::string bytes;
    std::size_t lines = 0;
    const bool whole =
        reportFormat(chosen.format)
            .write(root_, countSettings(), chosen, ReportLineEnds::File,
                   [&bytes, &lines](std::string_view piece) {
                       // Take whole lines up to either limit.
                       std::size_t taken = 0;
                       for (std::size_t end = piece.find('\n'); end != std::string_view::npos;
                            end = piece.find('\n', end + 1)) {
                           if (lines == kPreviewLines || bytes.size() + end + 1 > kPreviewBytes) {
                               bytes.append(piece.substr(0, taken));
                               return false;
                           }
                           ++lines;
                           taken = end + 1;
                       }
                       if (bytes.size() + piece.size() > kPreviewBytes) {
                           bytes.append(piece.substr(0, taken));
                           return false;
                       }
                       bytes.append(piece);
                       return true;
                   });
    if (!whole) {
        // A piece may end inside a line: the preview ends with the last whole one.
        bytes.erase(bytes.rfind('\n') == std::string::npos ? 0 : bytes.rfind('\n') + 1);
    }
    report_ = utf16FromUtf8(bytes);
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
    // Also after a failed mkpath: the reason is that of the part of the path in the way.
    if (const QString problem = folderProblem(directory, FolderUse::Write); !problem.isEmpty()) {
        MessageBox::show(
            this, withPathAndReason(QStringLiteral("Directory is invalid."), directory, problem),
            kErrorCaption);
        return;
    }
    typingPause_.stop();
    const QString path = reportFilePath(directory, fileName);
    if (QFileInfo(path).isFile() &&
        !askYesNo(QStringLiteral("\"") + printableInMessage(path) +
                  QStringLiteral("\" already exists.\r\n\r\nDo you want to replace it?"))) {
        return;
    }
    const ReportLayout chosen = layout();
    const ReportWrite written = writeReportFile(path, [&](const ReportBytes& output) {
        reportFormat(chosen.format)
            .write(root_, countSettings(), chosen, ReportLineEnds::File, output);
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
    writtenFormat_ = chosen.format;
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
