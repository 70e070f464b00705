#include "ui/CFolderView.h"

#include <QContextMenuEvent>
#include <QHash>
#include <QHeaderView>
#include <QMenu>
#include <QStandardItemModel>

#include "project/ProjectFolder.h"
#include "ui/Artwork.h"
#include "ui/CMainFrame.h"
#include "ui/CTallyweaverDoc.h"
#include "ui/CommandIds.h"

namespace tw::ui {
namespace {

/// Longest directory part, and longest file name or extension, that a tree path is made from:
/// what the system accepts (PATH_MAX less its terminator, NAME_MAX). A file with a longer part
/// adds nothing to the tree.
constexpr qsizetype kMaxDirectoryPart = 4095;
constexpr qsizetype kMaxNamePart = 255;

/// The top item of absolute paths, the file system's root, shows the drive image.
bool isDriveText(QStringView text) {
    return text == QLatin1String("/");
}

/// The directory part of a record path ("/usr/src/" for /usr/src/a.cpp, "src/" for
/// src/a.cpp); empty when the path has no directory or one of its parts is too long.
QString directoryOf(const std::u16string& recordPath) {
    const QString path = QString::fromStdU16String(recordPath);
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const QStringView name = QStringView(path).mid(nameStart);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype stemLength = dot < 0 ? name.size() : dot;
    const qsizetype extensionLength = dot < 0 ? 0 : name.size() - dot;
    if (nameStart > kMaxDirectoryPart || stemLength > kMaxNamePart ||
        extensionLength > kMaxNamePart) {
        return QString();
    }
    return path.left(nameStart);
}

QIcon iconFor(TreeImage image) {
    static const QIcon icons[] = {artwork::treeIcon(TreeImage::Drive),
                                  artwork::treeIcon(TreeImage::ClosedFolder),
                                  artwork::treeIcon(TreeImage::OpenFolder)};
    return icons[static_cast<int>(image)];
}

}  // namespace

CFolderView::CFolderView(CMainFrame& frame, CTallyweaverDoc& document, QWidget* parent)
    : QTreeView(parent), frame_(frame), document_(document), model_(new QStandardItemModel(this)) {
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
    // A folder item shows an open folder while it is expanded; drives keep their image.
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (QStandardItem* item = model_->itemFromIndex(index);
            item && !isDriveText(item->text())) {
            item->setIcon(iconFor(TreeImage::OpenFolder));
        }
    });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (QStandardItem* item = model_->itemFromIndex(index);
            item && !isDriveText(item->text())) {
            item->setIcon(iconFor(TreeImage::ClosedFolder));
        }
    });
    connect(&document_, &CTallyweaverDoc::viewsUpdate, this, &CFolderView::onUpdate);
}

void CFolderView::initialUpdate() {}

void CFolderView::onUpdate(QObject* sender, int hint, ProjectFolder* folder) {
    if (sender == this || hint != HINT_SHOW_FOLDER || folder == nullptr) {
        viewport()->update();
        return;
    }
    rebuild();
}

QStandardItem* CFolderView::insertPath(QStandardItem* parent, QStringView path, bool expand) {
    // Doubled separators name no folder, as in the project tree.
    while (!path.isEmpty() && path.front() == QLatin1Char('/') &&
           parent != model_->invisibleRootItem()) {
        path = path.mid(1);
    }
    if (path.isEmpty()) {
        return parent;
    }
    // An absolute path's first component is the root, "/", itself.
    qsizetype separator = path.front() == QLatin1Char('/') ? 0 : path.indexOf(QLatin1Char('/'));
    const QStringView component = separator < 0    ? path
                                  : separator == 0 ? path.left(1)
                                                   : path.left(separator);
    QStandardItem* item = nullptr;
    for (int row = 0; row < parent->rowCount(); ++row) {
        if (parent->child(row)->text() == component) {
            item = parent->child(row);
            break;
        }
    }
    if (item == nullptr) {
        item = new QStandardItem(
            iconFor(isDriveText(component) ? TreeImage::Drive : TreeImage::ClosedFolder),
            component.toString());
        item->setEditable(false);
        parent->appendRow(item);
    }
    QStandardItem* result =
        separator < 0 ? item : insertPath(item, path.mid(separator + 1), expand);
    if (expand) {
        setExpanded(item->index(), true);
    }
    return result;
}

void CFolderView::fill(const ProjectFolder& folder) {
    // The files of one folder share their directory; inserting it again would change nothing.
    QString previous;
    bool first = true;
    for (const auto& record : folder.files()) {
        const QString directory = directoryOf(record->path);
        if (!first && directory == previous) {
            continue;
        }
        first = false;
        previous = directory;
        if (!directory.isEmpty()) {
            insertPath(model_->invisibleRootItem(), directory, folder.expanded());
        }
    }
    for (const auto& subfolder : folder.subfolders()) {
        fill(*subfolder);
    }
}

void CFolderView::rebuild() {
    rebuilding_ = true;
    model_->clear();
    fill(document_.root());
    rebuilding_ = false;

    const QString remembered = frame_.rememberedFolderPath();
    if (remembered.isEmpty()) {
        return;
    }
    // Every top-level item is searched, the items themselves included: on this platform each
    // top-level directory is an item of its own, and a folder found under none of them would
    // leave the list showing a folder the tree does not select.
    const QModelIndex found = findPath(QModelIndex(), remembered);
    selectItem(found);
    setFocus();
}

QModelIndex CFolderView::findPath(const QModelIndex& parent, const QString& path) const {
    for (int row = 0; row < model_->rowCount(parent); ++row) {
        const QModelIndex child = model_->index(row, 0, parent);
        if (itemPath(child) == path) {
            return child;
        }
        const QModelIndex below = findPath(child, path);
        if (below.isValid()) {
            return below;
        }
    }
    return QModelIndex();
}

QModelIndex CFolderView::findItem(const QString& path) const {
    return findPath(QModelIndex(), path);
}

QString CFolderView::itemPath(const QModelIndex& index) const {
    QString path;
    for (QModelIndex at = index; at.isValid(); at = at.parent()) {
        const QString text = at.data(Qt::DisplayRole).toString();
        if (at == index) {
            path = text;
        } else if (!text.isEmpty()) {
            path = text.endsWith(QLatin1Char('/')) ? text + path : text + QLatin1Char('/') + path;
        }
    }
    return path;
}

ProjectFolder* CFolderView::folderOf(const QModelIndex& index) const {
    if (!index.isValid()) {
        return &document_.root();
    }
    return document_.root().FindFolder(itemPath(index).toStdU16String());
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

void CFolderView::deleteItem(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    const bool was = rebuilding_;
    rebuilding_ = true;
    model_->removeRow(index.row(), index.parent());
    rebuilding_ = was;
}

void CFolderView::onSelectionChanged() {
    if (rebuilding_) {
        return;
    }
    ProjectFolder* folder = folderOf(selectedItem());
    if (folder == nullptr) {
        frame_.setRememberedFolderPath(QString());
        frame_.updateCommandStates();
        return;
    }
    const std::u16string fullPath = folder->FullPath();
    frame_.setRememberedFolderPath(QString::fromStdU16String(fullPath));
    document_.updateAllViews(this, HINT_SHOW_FOLDER, folder);
    frame_.updateCommandStates();
}

void CFolderView::contextMenuEvent(QContextMenuEvent* event) {
    QPoint position = event->pos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        position = visualRect(currentIndex()).center();
    }
    if (!indexAt(position).isValid()) {
        return;
    }
    frame_.selectionMenu()->exec(event->globalPos());
}

}  // namespace tw::ui
