#include "ui/dialogs/CAddFolderDialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "project/GitWorkTreeFilter.h"
#include "ui/common/MessageBox.h"
#include "ui/common/PathProblem.h"
#include "ui/dialogs/AddFolderOptions.h"
#include "ui/dialogs/DrawnImages.h"
#include "ui/dialogs/ExtensionLists.h"
#include "ui/dialogs/FolderScan.h"

namespace tw::ui {
namespace {

QListWidget* makeExtensionList(QWidget* parent, const QString& objectName,
                               const QStringList& items) {
    auto* list = new QListWidget(parent);
    list->setObjectName(objectName);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSortingEnabled(true);
    list->addItems(items);
    return list;
}

QPushButton* makeArrowButton(QWidget* parent, const QString& objectName, bool pointsRight,
                             const QString& toolTip) {
    auto* button = new QPushButton(parent);
    button->setObjectName(objectName);
    button->setIcon(moveArrowIcon(pointsRight));
    button->setIconSize(QSize(24, 24));
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    button->setAutoDefault(false);
    return button;
}

QStringList itemsOf(const QListWidget* list) {
    QStringList items;
    for (int row = 0; row < list->count(); ++row) {
        items.append(list->item(row)->text());
    }
    return items;
}

}  // namespace

CAddFolderDialog::CAddFolderDialog(QWidget* parent, QSettings* settings)
    : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("addFolderDialog"));
    setWindowTitle(QStringLiteral("Add Folder"));

    ExtensionLists& lists = rememberedExtensions();
    addDefaultExtensions(lists);

    auto* unusedLabel = new QLabel(QStringLiteral("Unused Extensions:"), this);
    unusedList_ = makeExtensionList(this, QStringLiteral("unusedList"), lists.unused);
    unusedLabel->setBuddy(unusedList_);
    auto* includedLabel = new QLabel(QStringLiteral("Included Extensions:"), this);
    includedList_ = makeExtensionList(this, QStringLiteral("includedList"), lists.included);
    includedLabel->setBuddy(includedList_);

    includeButton_ = makeArrowButton(this, QStringLiteral("includeButton"), true,
                                     QStringLiteral("Include the selected extensions"));
    excludeButton_ = makeArrowButton(this, QStringLiteral("excludeButton"), false,
                                     QStringLiteral("Stop including the selected extensions"));
    auto* moveButtons = new QVBoxLayout;
    moveButtons->addStretch();
    moveButtons->addWidget(includeButton_);
    moveButtons->addWidget(excludeButton_);
    moveButtons->addStretch();

    auto* listGrid = new QGridLayout;
    listGrid->addWidget(unusedLabel, 0, 0);
    listGrid->addWidget(includedLabel, 0, 2);
    listGrid->addWidget(unusedList_, 1, 0);
    listGrid->addLayout(moveButtons, 1, 1);
    listGrid->addWidget(includedList_, 1, 2);
    listGrid->setColumnStretch(0, 1);
    listGrid->setColumnStretch(2, 1);

    auto* customLabel = new QLabel(QStringLiteral("Custom Extension:"), this);
    customExtensionEdit_ = new QLineEdit(this);
    customExtensionEdit_->setObjectName(QStringLiteral("customExtensionEdit"));
    customLabel->setBuddy(customExtensionEdit_);
    auto* addButton = new QPushButton(QStringLiteral("Add"), this);
    addButton->setObjectName(QStringLiteral("addExtensionButton"));
    addButton->setAutoDefault(false);

    auto* directoryLabel = new QLabel(QStringLiteral("Directory:"), this);
    directoryEdit_ = new QLineEdit(this);
    directoryEdit_->setObjectName(QStringLiteral("directoryEdit"));
    directoryLabel->setBuddy(directoryEdit_);
    auto* browseButton = new QPushButton(QStringLiteral("Browse..."), this);
    browseButton->setObjectName(QStringLiteral("browseButton"));
    browseButton->setAutoDefault(false);

    subfoldersCheck_ = new QCheckBox(QStringLiteral("Include subfolders"), this);
    subfoldersCheck_->setObjectName(QStringLiteral("includeSubfoldersCheck"));
    subfoldersCheck_->setToolTip(
        QStringLiteral("Add code files from the subfolders of the folder specified"));
    subfoldersCheck_->setChecked(true);

    const AddFolderOptions options = AddFolderOptions::read(settings_);
    skipIgnored_ = options.skipIgnored;
    skipIgnoredCheck_ =
        new QCheckBox(QStringLiteral("Skip files that version control ignores"), this);
    skipIgnoredCheck_->setObjectName(QStringLiteral("skipIgnoredCheck"));
    skipIgnoredCheck_->setToolTip(
        QStringLiteral("Leave out what git ignores (.gitignore files, .git/info/exclude, your "
                       "global excludes file) unless git tracks it; for folders in a git work "
                       "tree"));
    auto* excludeLabel = new QLabel(QStringLiteral("Exclude:"), this);
    excludeEdit_ = new QLineEdit(options.exclude, this);
    excludeEdit_->setObjectName(QStringLiteral("excludeEdit"));
    excludeEdit_->setToolTip(
        QStringLiteral("Files and folders to leave out, separated by spaces: names or paths "
                       "below the folder, with * ? [...] and ** for any number of folders; a "
                       "pattern ending in / matches folders only. Letter case counts."));
    excludeEdit_->setPlaceholderText(QStringLiteral("for example: build/ third_party/ *.pb.cc"));
    excludeLabel->setBuddy(excludeEdit_);

    // The same width for both buttons keeps the edits aligned.
    const int buttonWidth = qMax(addButton->sizeHint().width(), browseButton->sizeHint().width());
    addButton->setFixedWidth(buttonWidth);
    browseButton->setFixedWidth(buttonWidth);

    auto* fields = new QGridLayout;
    fields->addWidget(customLabel, 0, 0);
    fields->addWidget(customExtensionEdit_, 0, 1);
    fields->addWidget(addButton, 0, 2);
    fields->addWidget(directoryLabel, 1, 0);
    fields->addWidget(directoryEdit_, 1, 1);
    fields->addWidget(browseButton, 1, 2);
    fields->addWidget(subfoldersCheck_, 2, 1, 1, 2);
    fields->addWidget(skipIgnoredCheck_, 3, 1, 1, 2);
    fields->addWidget(excludeLabel, 4, 0);
    fields->addWidget(excludeEdit_, 4, 1, 1, 2);
    fields->setColumnStretch(1, 1);

    progressLabel_ = new QLabel(this);
    progressLabel_->setObjectName(QStringLiteral("progressLabel"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(listGrid, 1);
    layout->addSpacing(6);
    layout->addLayout(fields);
    layout->addWidget(progressLabel_);
    layout->addWidget(buttons);

    connect(includeButton_, &QPushButton::clicked, this,
            [this] { moveSelected(unusedList_, includedList_); });
    connect(excludeButton_, &QPushButton::clicked, this,
            [this] { moveSelected(includedList_, unusedList_); });
    connect(addButton, &QPushButton::clicked, this, &CAddFolderDialog::addCustomExtension);
    connect(browseButton, &QPushButton::clicked, this, &CAddFolderDialog::browse);
    connect(directoryEdit_, &QLineEdit::textChanged, this,
            &CAddFolderDialog::showVersionControlChoice);
    connect(skipIgnoredCheck_, &QCheckBox::clicked, this,
            [this](bool checked) { skipIgnored_ = checked; });
    showVersionControlChoice();
    connect(buttons, &QDialogButtonBox::accepted, this, &CAddFolderDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAddFolderDialog::reject);

    resize(qMax(sizeHint().width(), 460), qMax(sizeHint().height(), 400));
    directoryEdit_->setFocus();
}

void CAddFolderDialog::moveSelected(QListWidget* from, QListWidget* to) {
    // From the last selected item to the first, so the rows still to visit keep their place.
    for (int row = from->count() - 1; row >= 0; --row) {
        if (from->item(row)->isSelected()) {
            QListWidgetItem* item = from->takeItem(row);
            to->addItem(item->text());
            delete item;
        }
    }
}

void CAddFolderDialog::addCustomExtension() {
    const CustomExtension check = checkCustomExtension(customExtensionEdit_->text());
    if (check.status != CustomExtension::Status::Accepted) {
        MessageBox::show(this, customExtensionMessage(check));
        return;
    }
    // Compared with the list of the last OK, not with the list box: an extension moved out
    // while the dialog is open is still included there, and is refused without a word.
    ExtensionLists& lists = rememberedExtensions();
    if (lists.included.contains(check.text, Qt::CaseSensitive)) {
        return;
    }
    lists.included.append(check.text);
    includedList_->addItem(check.text);
}

QString CAddFolderDialog::directory() const {
    return directoryEdit_->text();
}

void CAddFolderDialog::setDirectory(const QString& directory) {
    directoryEdit_->setText(directory);
}

void CAddFolderDialog::browse() {
    const QString directory = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Select Folder:"), directoryEdit_->text(), QFileDialog::ShowDirsOnly);
    if (!directory.isEmpty()) {
        directoryEdit_->setText(QDir::toNativeSeparators(directory));
    }
}

void CAddFolderDialog::showVersionControlChoice() {
    const QString directory = directoryEdit_->text();
    const bool inWorkTree = !directory.isEmpty() && GitWorkTreeFilter::isInWorkTree(
                                                        QFile::encodeName(directory).toStdString());
    skipIgnoredCheck_->setEnabled(inWorkTree);
    skipIgnoredCheck_->setChecked(inWorkTree && skipIgnored_);
}

void CAddFolderDialog::accept() {
    if (scanning_) {
        return;
    }
    const QString directory = directoryEdit_->text();
    if (const QString problem = folderProblem(directory, FolderUse::Read); !problem.isEmpty()) {
        MessageBox::show(
            this, withPathAndReason(QStringLiteral("Directory is not valid."), directory, problem));
        return;
    }
    progressLabel_->setText(QStringLiteral("Scanning directories for files... Pleast wait."));
    progressLabel_->repaint();

    // The scan runs here; between directories the window is repainted now and then, with the
    // user's input held back until it is over.
    scanning_ = true;
    QElapsedTimer sincePaint;
    sincePaint.start();
    FolderScanExclusions leftOut;
    leftOut.patterns = excludePatternsOf(excludeEdit_->text());
    leftOut.versionControlIgnored =
        skipIgnoredCheck_->isEnabled() && skipIgnoredCheck_->isChecked();
    QString gitFailure;
    found_ = scanFolderForFiles(
        QFile::encodeName(directory).toStdString(), itemsOf(includedList_),
        subfoldersCheck_->isChecked(),
        [&sincePaint] {
            if (sincePaint.elapsed() >= 100) {
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                sincePaint.restart();
            }
        },
        leftOut, &gitFailure);
    scanning_ = false;
    if (!gitFailure.isEmpty()) {
        MessageBox::show(this,
                         QStringLiteral("Files that version control ignores are not "
                                        "skipped: ") +
                             gitFailure + QLatin1Char('.'),
                         QString(), QMessageBox::Ok, QMessageBox::Warning);
    }

    AddFolderOptions{skipIgnored_, excludeEdit_->text()}.write(settings_);

    ExtensionLists& lists = rememberedExtensions();
    lists.unused = itemsOf(unusedList_);
    lists.included = itemsOf(includedList_);
    QDialog::accept();
}

void CAddFolderDialog::reject() {
    if (!scanning_) {
        QDialog::reject();
    }
}

}  // namespace tw::ui
