#include "ui/CFolderView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

#include "project/ProjectFolder.h"
#include "ui/CTallyweaverDoc.h"
#include "ui/FolderTreeModel.h"
#include "ui/ViewHost.h"

namespace tw::ui {

CFolderView::CFolderView(ViewHost& host, CTallyweaverDoc& document, QWidget* parent)
    : QTreeView(parent),
      host_(host),
      document_(document),
      model_(new FolderTreeModel(document.root(), this)) {
    setObjectName(QStringLiteral("folderTree"));
    setModel(model_);
    header()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(true);
    setIconSize(QSize(16, 16));
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CFolderView::onSelectionChanged);
    // A folder item shows an open folder while it is expanded.
    connect(this, &QTreeView::expanded, this,
            [this](const QModelIndex& index) { model_->setShownOpen(index, true); });
    connect(this, &QTreeView::collapsed, this,
            [this](const QModelIndex& index) { model_->setShownOpen(index, false); });
    connect(&document_, &CTallyweaverDoc::folderChanged, this, &CFolderView::onFolderChanged);
    // Folders with a failed file show it once a count has ended or was reset.
    connect(&document_, &CTallyweaverDoc::countsChanged, this, [this] { model_->updateFailed(); });
    // The items stand for the project's folders: they go before the folders do.
    connect(&document_, &CTallyweaverDoc::treeAboutToBeReplaced, this, [this] {
        const bool was = rebuilding_;
        rebuilding_ = true;
        model_->clear();
        rebuilding_ = was;
    });
    // Items go with their folders, and the selection's change is not the user's.
    connect(&document_, &CTallyweaverDoc::foldersAboutToBeRemoved, this,
            [this](ProjectFolder* top) {
                rebuilding_ = true;
                model_->beginRemoving(*top);
            });
    connect(&document_, &CTallyweaverDoc::foldersRemoved, this, [this] {
        model_->endRemoving();
        rebuilding_ = false;
    });
    // After a removal the tree shows where the user is now: the folder the list shows.
    connect(&document_, &CTallyweaverDoc::filesRemoved, this, [this](ProjectFolder* shown) {
        selectItemQuietly(model_->indexOf(shown));
        setFocus();
    });
}

void CFolderView::initialUpdate() {}

void CFolderView::onFolderChanged(ProjectFolder* folder, QObject* origin) {
    if (origin == this || folder == nullptr) {
        viewport()->update();
        return;
    }
    rebuild();
}

void CFolderView::expandAsInProject(const QModelIndex& parent) {
    for (int row = 0; row < model_->rowCount(parent); ++row) {
        const QModelIndex item = model_->index(row, 0, parent);
        if (model_->expandedInProject(item)) {
            setExpanded(item, true);
            expandAsInProject(item);
        }
    }
}

void CFolderView::rebuild() {
    rebuilding_ = true;
    model_->rebuild();
    expandAsInProject(QModelIndex());
    // The top items are open, so the first level below where the tree starts shows.
    for (int row = 0; row < model_->rowCount(); ++row) {
        const QModelIndex top = model_->index(row, 0);
        if (model_->rowCount(top) > 0) {
            setExpanded(top, true);
        }
    }
    rebuilding_ = false;

    const QString remembered = document_.rememberedFolderPath();
    if (remembered.isEmpty()) {
        return;
    }
    selectItem(findItem(remembered));
    setFocus();
}

QModelIndex CFolderView::findItem(const QString& path) const {
    return model_->indexOf(document_.root().FindFolder(path.toStdU16String()));
}

QString CFolderView::itemPath(const QModelIndex& index) const {
    return index.isValid() ? QString::fromStdU16String(folderOf(index)->FullPath()) : QString();
}

ProjectFolder* CFolderView::folderOf(const QModelIndex& index) const {
    return model_->folderOf(index);
}

QModelIndex CFolderView::selectedItem() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.first();
}

void CFolderView::selectItem(const QModelIndex& index) {
    if (!index.isValid()) {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void CFolderView::selectItemQuietly(const QModelIndex& index) {
    const bool was = rebuilding_;
    rebuilding_ = true;
    selectItem(index);
    rebuilding_ = was;
}

void CFolderView::onSelectionChanged() {
    if (rebuilding_) {
        return;
    }
    ProjectFolder* folder = folderOf(selectedItem());
    document_.setRememberedFolderPath(QString::fromStdU16String(folder->FullPath()));
    document_.showFolder(folder, this);
}

void CFolderView::contextMenuEvent(QContextMenuEvent* event) {
    QPoint position = event->pos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        position = visualRect(currentIndex()).center();
    }
    if (!indexAt(position).isValid()) {
        return;
    }
    host_.selectionMenu()->exec(event->globalPos());
}

}  // namespace tw::ui
