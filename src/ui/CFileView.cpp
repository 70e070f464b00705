#include "ui/CFileView.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

#include "project/ProjectFolder.h"
#include "ui/CTallyweaverDoc.h"
#include "ui/FileListModel.h"
#include "ui/FileListSortModel.h"
#include "ui/ViewHost.h"

namespace tw::ui {

CFileView::CFileView(ViewHost& host, CTallyweaverDoc& document, QWidget* parent)
    : QTableView(parent),
      host_(host),
      document_(document),
      model_(new FileListModel(document.failures(), this)),
      sorted_(new FileListSortModel(this)) {
    setObjectName(QStringLiteral("fileList"));
    sorted_->setSourceModel(model_);
    setModel(sorted_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    // A text too long for its column keeps both ends: a file's extension, the counts at the
    // end of a summary row's name. The whole text is the cell's tooltip.
    setTextElideMode(Qt::ElideMiddle);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    // A click on a column's header sorts the view by it, a second click the other way; until
    // the first click the rows keep the project's order.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    horizontalHeader()->setSortIndicatorShown(true);
    setSortingEnabled(true);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    setIconSize(QSize(16, 16));
    // The folder column, last in the table, shows beside the name; the menu shows and hides
    // columns.
    horizontalHeader()->moveSection(ColumnFolder, ColumnFileName + 1);
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(horizontalHeader(), &QHeaderView::customContextMenuRequested, this,
            [this](const QPoint& position) {
                QMenu* menu = makeColumnMenu();
                menu->setAttribute(Qt::WA_DeleteOnClose);
                menu->popup(horizontalHeader()->viewport()->mapToGlobal(position));
            });
    applyShownColumns();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit selectionChangedByUser(); });
    connect(&document_, &CTallyweaverDoc::folderChanged, this, &CFileView::onFolderChanged);
    connect(&document_, &CTallyweaverDoc::filesRemoved, this,
            [this](ProjectFolder* shown) { rebuild(*shown); });
    // The same folder with its new counts; the remembered one (or the project) when none was
    // shown yet.
    connect(&document_, &CTallyweaverDoc::countsChanged, this, [this] {
        ProjectFolder* folder =
            shownFolder_ != nullptr ? shownFolder_ : document_.rememberedFolder();
        rebuild(folder != nullptr ? *folder : document_.root());
    });
    connect(&document_, &CTallyweaverDoc::treeAboutToBeReplaced, this,
            [this] { shownFolder_ = nullptr; });
    // A width the user drags a column to stays, in this list and in the next.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int before, int width) {
                // Hiding a column takes its width to 0 and showing it gives the width back:
                // neither is a width the user chose.
                if (!fitting_ && before > 0 && width > 0 && !isColumnHidden(column)) {
                    if (const FileListColumnInfo* info = fileListColumnAt(column)) {
                        host_.setChosenColumnWidth(info->id, width);
                    }
                }
            });
}

void CFileView::initialUpdate() {
    applyShownColumns();
    fitColumns();
}

void CFileView::applyShownColumns() {
    for (int column = 0; column < model_->columnCount(); ++column) {
        const FileListColumnInfo& info = *fileListColumnAt(column);
        const bool shown =
            info.alwaysShown || host_.chosenColumnShown(info.id).value_or(!info.hiddenAtFirst);
        if (isColumnHidden(column) == shown) {
            const bool wasFitting = std::exchange(fitting_, true);
            setColumnHidden(column, !shown);
            fitting_ = wasFitting;
        }
    }
}

void CFileView::setColumnShown(int column, bool shown) {
    const FileListColumnInfo* info = fileListColumnAt(column);
    if (info == nullptr || info->alwaysShown) {
        return;
    }
    host_.setChosenColumnShown(info->id, shown);
    applyShownColumns();
}

QMenu* CFileView::makeColumnMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("columnMenu"));
    const QHeaderView& header = *horizontalHeader();
    const CountMode mode = document_.settings().mode;
    for (int shownAt = 0; shownAt < header.count(); ++shownAt) {
        const int column = header.logicalIndex(shownAt);
        const FileListColumnInfo& info = *fileListColumnAt(column);
        QAction* action = menu->addAction(info.titleIn(mode));
        action->setObjectName(QString::fromLatin1(info.id));
        action->setCheckable(true);
        action->setChecked(!isColumnHidden(column));
        action->setEnabled(!info.alwaysShown);
        connect(action, &QAction::toggled, this,
                [this, column](bool shown) { setColumnShown(column, shown); });
    }
    return menu;
}

void CFileView::onFolderChanged(ProjectFolder* folder, QObject* origin) {
    if (origin == this || folder == nullptr) {
        viewport()->update();
        return;
    }
    rebuild(*folder);
}

void CFileView::rebuild(ProjectFolder& folder) {
    host_.setStatusText(QStringLiteral("Updating display information.  Please wait..."));
    {
        // During a count run the worker writes its results into the records under the run's
        // lock; the rows copy what they show while holding it.
        const auto guard = host_.lockRecordsDuringRun();
        model_->rebuild(folder, document_.root(), host_.listLayout(), document_.settings().mode);
    }
    shownFolder_ = &folder;
    fitColumns();
    viewport()->update();
    host_.setStatusText(QStringLiteral("Ready."));
}

void CFileView::fitColumns() {
    const QFontMetrics metrics(font());
    const int padding = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 12;
    fitting_ = true;
    for (int column = 0; column < model_->columnCount(); ++column) {
        if (const int chosen = host_.chosenColumnWidth(fileListColumnAt(column)->id); chosen > 0) {
            setColumnWidth(column, chosen);
            continue;
        }
        int width = horizontalHeader()->sectionSizeHint(column);
        int content = metrics.horizontalAdvance(model_->widestText(column)) + padding;
        if (column == ColumnFileName) {
            content += iconSize().width() + 4;
        }
        width = std::max(width, content);
        setColumnWidth(column, width);
    }
    fitting_ = false;
}

void CFileView::refreshCounts() {
    if (shownFolder_ == nullptr) {
        return;
    }
    const auto guard = host_.lockRecordsDuringRun();
    model_->refresh(*shownFolder_, document_.root(), host_.listLayout());
}

QString CFileView::emptyHint() const {
    if (!document_.root().IsEmpty()) {
        return QString();
    }
    // The commands of the window that holds the list, with their shortcuts when they have one.
    const auto command = [this](const char* objectName, const QString& name) {
        const QAction* action = window() != nullptr
                                    ? window()->findChild<QAction*>(QLatin1String(objectName))
                                    : nullptr;
        const QString keys =
            action != nullptr ? action->shortcut().toString(QKeySequence::NativeText) : QString();
        return keys.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, keys);
    };
    return QStringLiteral("Add a folder or drop files here\n\n%1     %2")
        .arg(command("actionAddFolders", QStringLiteral("Action > Add Folder")),
             command("actionAddFiles", QStringLiteral("Action > Add File")));
}

void CFileView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    const QString hint = emptyHint();
    if (hint.isEmpty()) {
        return;
    }
    // Drawn in the space below the summary rows, in the colour of text that is not active.
    int rowsEnd = 0;
    for (int row = 0; row < sorted_->rowCount(); ++row) {
        rowsEnd = std::max(rowsEnd, rowViewportPosition(row) + rowHeight(row));
    }
    QRect area = viewport()->rect();
    area.setTop(std::min(rowsEnd, area.bottom()));
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(area.adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap, hint);
}

int CFileView::modelRowOf(const QModelIndex& index) const {
    return index.isValid() ? sorted_->mapToSource(index).row() : -1;
}

std::vector<int> CFileView::selectedFileRows() const {
    std::vector<int> rows;
    if (selectionModel() == nullptr) {
        return rows;
    }
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        const int row = modelRowOf(index);
        if (model_->isFileRow(row)) {
            rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<std::u16string> CFileView::selectedFilePaths() const {
    std::vector<std::u16string> paths;
    for (const int row : selectedFileRows()) {
        paths.push_back(model_->rowPath(row));
    }
    return paths;
}

bool CFileView::hasSelectedRows() const {
    return selectionModel() != nullptr && selectionModel()->hasSelection();
}

void CFileView::keyPressEvent(QKeyEvent* event) {
    const int lastFileRow = model_->fileRowCount() - 1;
    if (event->key() == Qt::Key_Down && lastFileRow >= 0 && currentIndex().row() == lastFileRow &&
        selectionModel()->isRowSelected(lastFileRow, QModelIndex())) {
        // The selection never moves on into the summary rows.
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CFileView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool onFileRow = model_->isFileRow(modelRowOf(index));
    if (!onFileRow && event->button() == Qt::LeftButton) {
        event->accept();
        return;
    }
    if (!onFileRow && event->button() == Qt::RightButton) {
        clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void CFileView::contextMenuEvent(QContextMenuEvent* event) {
    QPoint position = event->pos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        position = visualRect(currentIndex()).center();
    }
    const QModelIndex index = indexAt(position);
    if (!model_->isFileRow(modelRowOf(index))) {
        return;
    }
    host_.selectionMenu()->exec(event->globalPos());
}

}  // namespace tw::ui
