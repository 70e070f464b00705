#include "ui/CFunctionsPane.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <unordered_set>
#include <utility>

#include "engine/FileCount.h"
#include "project/DiskPaths.h"
#include "project/ProjectFolder.h"
#include "ui/CTallyweaverDoc.h"
#include "ui/FileListColumns.h"
#include "ui/FunctionListModel.h"
#include "ui/NaturalOrder.h"
#include "ui/ViewHost.h"
#include "ui/common/Shell.h"

namespace tw::ui {
namespace {

/// Numbers by value, names in natural order; equal rows keep the files' order, so functions of
/// one complexity stand as the project lists them.
class FunctionSortModel : public QSortFilterProxyModel {
  public:
    explicit FunctionSortModel(QObject* parent) : QSortFilterProxyModel(parent) {
        setSortRole(FunctionListModel::SortRole);
    }

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
        const QVariant a = left.data(sortRole());
        const QVariant b = right.data(sortRole());
        if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString) {
            return natural_.less(a.toString(), b.toString());
        }
        return a.toLongLong() < b.toLongLong();
    }

  private:
    NaturalOrder natural_;
};

QString filesText(std::size_t files) {
    return files == 1 ? QStringLiteral("1 file")
                      : countText(static_cast<std::uint32_t>(files)) + QStringLiteral(" files");
}

}  // namespace

CFunctionsPane::CFunctionsPane(ViewHost& host, CTallyweaverDoc& document,
                               SelectedFiles selectedFiles, QWidget* parent)
    : QDockWidget(QStringLiteral("Functions"), parent),
      host_(host),
      document_(document),
      selectedFiles_(std::move(selectedFiles)),
      model_(new FunctionListModel(this)),
      table_(new QTableView),
      caption_(new QLabel) {
    setObjectName(QStringLiteral("functionsPane"));
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::RightDockWidgetArea);

    auto* sorted = new FunctionSortModel(this);
    sorted->setSourceModel(model_);
    table_->setObjectName(QStringLiteral("functionList"));
    table_->setModel(sorted);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setShowGrid(false);
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideMiddle);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->horizontalHeader()->setStretchLastSection(false);
    table_->setSortingEnabled(true);
    table_->sortByColumn(FunctionListModel::ColumnComplexity, Qt::DescendingOrder);
    const QFontMetrics metrics(font());
    table_->setColumnWidth(FunctionListModel::ColumnName,
                           metrics.horizontalAdvance(QLatin1Char('x')) * 40);
    table_->setColumnWidth(FunctionListModel::ColumnFile,
                           metrics.horizontalAdvance(QLatin1Char('x')) * 24);
    caption_->setObjectName(QStringLiteral("functionsCaption"));
    caption_->setWordWrap(true);

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addWidget(caption_);
    layout->addWidget(table_, 1);
    setWidget(content);

    connect(table_, &QAbstractItemView::doubleClicked, this, &CFunctionsPane::openInEditor);
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible) {
            scheduleRefresh();
        }
    });
    // The files' functions change with a count, a reset, a removal or another project; the
    // rows never point into the project, so nothing has to let go of it first.
    connect(&document_, &CTallyweaverDoc::countsChanged, this, &CFunctionsPane::scheduleRefresh);
    connect(&document_, &CTallyweaverDoc::folderChanged, this, &CFunctionsPane::scheduleRefresh);
    connect(&document_, &CTallyweaverDoc::filesRemoved, this, &CFunctionsPane::scheduleRefresh);
    connect(&document_, &CTallyweaverDoc::treeAboutToBeReplaced, this, [this] {
        model_->clear();
        scheduleRefresh();
    });
    refresh();
}

void CFunctionsPane::scheduleRefresh() {
    if (refreshQueued_) {
        return;
    }
    refreshQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshQueued_ = false;
        if (isVisible()) {
            refresh();
        }
    });
}

void CFunctionsPane::refresh() {
    if (document_.settings().mode != CountMode::CyclomaticComplexity) {
        model_->clear();
        caption_->setText(
            QStringLiteral("Functions are found in the Cyclomatic Complexity count mode only: "
                           "choose it under Tools > Settings, then count the files."));
        return;
    }
    const std::vector<std::u16string> selected =
        selectedFiles_ ? selectedFiles_() : std::vector<std::u16string>();
    const std::unordered_set<std::u16string> chosen(selected.begin(), selected.end());
    std::size_t files = 0;
    std::size_t counted = 0;
    {
        // During a count run the worker writes into the records under the run's lock.
        const auto guard = host_.lockRecordsDuringRun();
        std::vector<const FileCount*> records;
        document_.root().CollectRecords(records);
        if (!chosen.empty()) {
            std::erase_if(records,
                          [&](const FileCount* record) { return !chosen.contains(record->path); });
        }
        files = records.size();
        for (const FileCount* record : records) {
            counted += record->counted && !record->failed ? 1 : 0;
        }
        model_->rebuild(records);
    }
    const QString which = chosen.empty() ? QStringLiteral("all ") + filesText(files)
                                         : filesText(files) + QStringLiteral(" selected");
    if (files == 0) {
        caption_->setText(QStringLiteral("The project has no files yet."));
    } else if (counted == 0) {
        caption_->setText(
            QStringLiteral("Count the files to list their functions (%1).").arg(which));
    } else if (model_->rowCount() == 0) {
        caption_->setText(QStringLiteral("No functions in %1.").arg(which));
    } else {
        const int shown = model_->rowCount();
        caption_->setText((shown == 1 ? QStringLiteral("1 function")
                                      : countText(static_cast<std::uint32_t>(shown)) +
                                            QStringLiteral(" functions")) +
                          QStringLiteral(" in ") + which +
                          QStringLiteral(". Double-click one to open its file."));
    }
}

QString CFunctionsPane::caption() const {
    return caption_->text();
}

void CFunctionsPane::openInEditor(const QModelIndex& index) {
    const auto* sorted = static_cast<const QSortFilterProxyModel*>(table_->model());
    const int row = sorted->mapToSource(index).row();
    const std::u16string path = model_->filePath(row);
    if (path.empty()) {
        return;
    }
    const std::string diskPath = diskPathOfFile(document_.root(), path);
    Shell::runOrExplain(this, Shell::Action::OpenInTextEditor,
                        QFile::decodeName(QByteArray::fromStdString(diskPath)), model_->line(row));
}

}  // namespace tw::ui
