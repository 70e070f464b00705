#include "ui/dialogs/CFailedCountsDlg.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "engine/FileCount.h"
#include "project/DiskPaths.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"
#include "ui/common/Shell.h"
#include "ui/dialogs/DrawnImages.h"

namespace tw::ui {
namespace {

QString qString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

/// The rows of the Errors dialog: a copy of the failed-count table, path and error text.
class FailedCountsModel : public QAbstractTableModel {
  public:
    FailedCountsModel(const FailedCountTable& table, QObject* parent)
        : QAbstractTableModel(parent), rows_(table.begin(), table.end()) {}

    const std::u16string& pathAt(int row) const {
        return rows_[static_cast<std::size_t>(row)].first;
    }
    const std::u16string& textAt(int row) const {
        return rows_[static_cast<std::size_t>(row)].second;
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) {
            return {};
        }
        const auto& row = rows_[static_cast<std::size_t>(index.row())];
        return qString(index.column() == 0 ? row.first : row.second);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
            return {};
        }
        return section == 0 ? QStringLiteral("File") : QStringLiteral("Remarks");
    }

  private:
    std::vector<std::pair<std::u16string, std::u16string>> rows_;
};

}  // namespace

CFailedCountsDlg::CFailedCountsDlg(QWidget* parent, const ProjectFolder* project)
    : CFailedCountsDlg(failedCountTable(), parent, project) {}

CFailedCountsDlg::CFailedCountsDlg(const FailedCountTable& failures, QWidget* parent,
                                   const ProjectFolder* project)
    : QDialog(parent), project_(project) {
    setObjectName(QStringLiteral("failedCountsDialog"));
    setWindowTitle(QStringLiteral("Errors"));

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("warningImage"));
    image->setPixmap(warningPixmap());
    image->setFixedSize(24, 24);
    const std::size_t failed = failures.size();
    auto* message = new QLabel(
        failed == 1 ? QStringLiteral("Errors were encountered in the following file:")
                    : QStringLiteral("Errors were encountered in the following %1 files:")
                          .arg(QLocale().toString(static_cast<qulonglong>(failed))),
        this);
    message->setObjectName(QStringLiteral("messageLabel"));

    auto* model = new FailedCountsModel(failures, this);
    list_ = new QTreeView(this);
    list_->setObjectName(QStringLiteral("failedList"));
    list_->setModel(model);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setTextElideMode(Qt::ElideNone);
    // Each column as wide as the wider of its contents and its title.
    list_->setUpdatesEnabled(false);
    list_->resizeColumnToContents(0);
    list_->resizeColumnToContents(1);
    list_->setUpdatesEnabled(true);

    openButton_ = new QPushButton(QStringLiteral("Open File(s)..."), this);
    openButton_->setObjectName(QStringLiteral("openFilesButton"));
    openButton_->setAutoDefault(false);
    editorButton_ = new QPushButton(QStringLiteral("Open in Text Editor..."), this);
    editorButton_->setObjectName(QStringLiteral("openInTextEditorButton"));
    editorButton_->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));

    auto* heading = new QHBoxLayout;
    heading->addWidget(image);
    heading->addSpacing(8);
    heading->addWidget(message, 1);

    auto* actions = new QHBoxLayout;
    actions->addWidget(openButton_);
    actions->addWidget(editorButton_);
    actions->addStretch();
    actions->addWidget(buttons);

    // The image sits 10 pixels from the top left corner.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addLayout(heading);
    layout->addWidget(list_, 1);
    layout->addLayout(actions);

    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CFailedCountsDlg::updateButtons);
    connect(openButton_, &QPushButton::clicked, this, [this] {
        for (const QString& file : selectedFiles()) {
            Shell::runOrExplain(this, Shell::Action::Open, file);
        }
    });
    // Each file at the line its error names, where the editor can be told one.
    connect(editorButton_, &QPushButton::clicked, this, [this] {
        QList<int> lines;
        const QStringList files = selectedFiles(&lines);
        for (qsizetype i = 0; i < files.size(); ++i) {
            Shell::runOrExplain(this, Shell::Action::OpenInTextEditor, files[i], lines[i]);
        }
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &CFailedCountsDlg::accept);

    updateButtons();
    // Wide enough for both columns whole, as far as the screen allows; the columns can still
    // be dragged wider and each cell shows its whole text as a tooltip.
    const int wanted = list_->columnWidth(0) + list_->columnWidth(1) + 2 * list_->frameWidth() +
                       list_->verticalScrollBar()->sizeHint().width() + 20;
    int width = std::max(640, wanted);
    if (const QScreen* screen = parent != nullptr ? parent->screen() : this->screen()) {
        width = std::min(width, screen->availableGeometry().width() * 9 / 10);
    }
    resize(width, 360);
}

CFailedCountsDlg::~CFailedCountsDlg() = default;

int failureLine(const QString& text) {
    // A count that fails at a line ends its text with " (line N).".
    static const QRegularExpression named(QStringLiteral("\\(line ([1-9][0-9]{0,8})\\)\\.$"));
    const QRegularExpressionMatch match = named.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QStringList CFailedCountsDlg::selectedFiles(QList<int>* lines) const {
    QModelIndexList rows = list_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    const auto* model = static_cast<const FailedCountsModel*>(list_->model());
    QStringList files;
    for (const QModelIndex& row : rows) {
        const std::u16string& path = model->pathAt(row.row());
        const std::string diskPath =
            project_ ? diskPathOfFile(*project_, path) : diskPathOfPath(path);
        files.append(QFile::decodeName(diskPath.c_str()));
        if (lines != nullptr) {
            lines->append(failureLine(qString(model->textAt(row.row()))));
        }
    }
    return files;
}

void CFailedCountsDlg::updateButtons() {
    const bool selected = list_->selectionModel()->hasSelection();
    openButton_->setEnabled(selected);
    editorButton_->setEnabled(selected);
}

}  // namespace tw::ui
