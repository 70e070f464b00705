#include "ui/FolderTreeModel.h"

#include <QIcon>
#include <QPainter>

#include <algorithm>
#include <string_view>

#include "engine/FileCount.h"
#include "project/ProjectFolder.h"
#include "ui/Artwork.h"

namespace tw::ui {
namespace {

/// Longest directory part, and longest name or extension, that the tree takes: what the
/// system accepts (PATH_MAX less its terminator, NAME_MAX).
constexpr std::size_t kMaxDirectoryPart = 4095;
constexpr std::size_t kMaxNamePart = 255;

/// A record makes the tree show its folder: its path has a directory part (up to and with the
/// last '/'), and neither that nor the name before the last dot nor the extension from it is
/// longer than the tree takes.
bool leadsToItsFolder(const FileCount& record) {
    const std::u16string_view path = record.path;
    const std::size_t separator = path.rfind(u'/');
    if (separator == std::u16string_view::npos) {
        return false;
    }
    const std::size_t nameStart = separator + 1;
    const std::u16string_view name = path.substr(nameStart);
    const std::size_t dot = name.rfind(u'.');
    const std::size_t stemLength = dot == std::u16string_view::npos ? name.size() : dot;
    const std::size_t extensionLength = dot == std::u16string_view::npos ? 0 : name.size() - dot;
    return nameStart <= kMaxDirectoryPart && stemLength <= kMaxNamePart &&
           extensionLength <= kMaxNamePart;
}

/// The top folder of absolute paths, the file system's root, shows the drive image.
bool isDrive(const ProjectFolder& folder) {
    return folder.name() == u"/";
}

/// The tree's image with the file list's failed mark over its lower right corner.
QIcon withFailedMark(TreeImage image) {
    QImage picture = artwork::treeImage(image);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const int mark = kSmallImageSize * 5 / 8;
        painter.drawImage(QRect(kSmallImageSize - mark, kSmallImageSize - mark, mark, mark),
                          artwork::fileStateImage(FileStateImage::Failed));
    }
    return QIcon(QPixmap::fromImage(picture));
}

const QIcon& iconFor(TreeImage image, bool failed) {
    static const QIcon icons[] = {artwork::treeIcon(TreeImage::Drive),
                                  artwork::treeIcon(TreeImage::ClosedFolder),
                                  artwork::treeIcon(TreeImage::OpenFolder)};
    static const QIcon failedIcons[] = {withFailedMark(TreeImage::Drive),
                                        withFailedMark(TreeImage::ClosedFolder),
                                        withFailedMark(TreeImage::OpenFolder)};
    return (failed ? failedIcons : icons)[static_cast<int>(image)];
}

bool anyFailed(const ProjectFolder& folder) {
    return std::any_of(folder.files().begin(), folder.files().end(),
                       [](const auto& record) { return record->failed; });
}

}  // namespace

FolderTreeModel::FolderTreeModel(ProjectFolder& root, QObject* parent)
    : QAbstractItemModel(parent), root_(root) {
    shown_.emplace(&root_, Shown{});
}

FolderTreeModel::~FolderTreeModel() = default;

void FolderTreeModel::rebuild() {
    beginResetModel();
    shown_.clear();
    top_ = nullptr;
    workOut(root_, 0);
    startAtCommonFolder();
    endResetModel();
}

void FolderTreeModel::clear() {
    beginResetModel();
    shown_.clear();
    shown_.emplace(&root_, Shown{});
    top_ = nullptr;
    endResetModel();
}

void FolderTreeModel::startAtCommonFolder() {
    Shown& rootShown = shown_.at(&root_);
    if (rootShown.children.size() != 1) {
        return;
    }
    ProjectFolder* top = rootShown.children.front();
    for (;;) {
        const Shown& shown = shown_.at(top);
        if (shown.ownFiles || shown.children.size() != 1) {
            break;
        }
        ProjectFolder* below = shown.children.front();
        shown_.erase(top);
        top = below;
    }
    shown_.at(top).row = 0;
    rootShown.children.front() = top;
    top_ = top;
}

ProjectFolder* FolderTreeModel::shownParentOf(const ProjectFolder& folder) const {
    return &folder == top_ ? &root_ : folder.parent();
}

void FolderTreeModel::updateFailed() {
    std::vector<const ProjectFolder*> changed;
    noteFailed(root_, changed);
    for (const ProjectFolder* folder : changed) {
        const QModelIndex item = indexOf(folder);
        emit dataChanged(item, item, {Qt::DecorationRole});
    }
}

bool FolderTreeModel::noteFailed(const ProjectFolder& folder,
                                 std::vector<const ProjectFolder*>& changed) {
    bool failed = anyFailed(folder);
    for (const auto& subfolder : folder.subfolders()) {
        failed = noteFailed(*subfolder, changed) || failed;
    }
    const auto found = shown_.find(&folder);
    if (found != shown_.end() && found->second.failed != failed) {
        found->second.failed = failed;
        if (&folder != &root_) {
            changed.push_back(&folder);
        }
    }
    return failed;
}

FolderTreeModel::Outcome FolderTreeModel::workOut(ProjectFolder& folder, int row) {
    Shown shown;
    shown.row = row;
    const bool ownFileShows =
        std::any_of(folder.files().begin(), folder.files().end(),
                    [](const auto& record) { return leadsToItsFolder(*record); });
    Outcome outcome{ownFileShows, ownFileShows && folder.expanded(), anyFailed(folder)};
    for (const auto& subfolder : folder.subfolders()) {
        const Outcome below = workOut(*subfolder, static_cast<int>(shown.children.size()));
        outcome.failed = outcome.failed || below.failed;
        if (below.shows) {
            shown.children.push_back(subfolder.get());
            outcome.shows = true;
            outcome.opens = outcome.opens || below.opens;
        }
    }
    shown.expandedInProject = outcome.opens;
    shown.ownFiles = !folder.files().empty();
    shown.failed = outcome.failed;
    if (outcome.shows || &folder == &root_) {
        shown_.emplace(&folder, std::move(shown));
    }
    return outcome;
}

void FolderTreeModel::forget(const ProjectFolder& folder) {
    const auto found = shown_.find(&folder);
    if (found == shown_.end()) {
        return;
    }
    const std::vector<ProjectFolder*> children = std::move(found->second.children);
    shown_.erase(found);
    for (const ProjectFolder* child : children) {
        forget(*child);
    }
}

const FolderTreeModel::Shown* FolderTreeModel::shownOf(const ProjectFolder* folder) const {
    const auto found = shown_.find(folder);
    return found != shown_.end() ? &found->second : nullptr;
}

ProjectFolder* FolderTreeModel::folderOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<ProjectFolder*>(index.internalPointer()) : &root_;
}

QModelIndex FolderTreeModel::indexOf(const ProjectFolder* folder) const {
    const Shown* shown = folder != &root_ ? shownOf(folder) : nullptr;
    return shown != nullptr ? createIndex(shown->row, 0, folder) : QModelIndex();
}

bool FolderTreeModel::expandedInProject(const QModelIndex& index) const {
    const Shown* shown = shownOf(folderOf(index));
    return shown != nullptr && shown->expandedInProject;
}

void FolderTreeModel::setShownOpen(const QModelIndex& index, bool open) {
    const auto found = shown_.find(folderOf(index));
    if (!index.isValid() || found == shown_.end() || found->second.open == open) {
        return;
    }
    found->second.open = open;
    emit dataChanged(index, index, {Qt::DecorationRole});
}

ProjectFolder& FolderTreeModel::removeFolder(const QModelIndex& index) {
    ProjectFolder& folder = *folderOf(index);
    beginRemoving(root_.RemovalTop(folder));
    ProjectFolder& stays = root_.RemoveFolderAndEmptyParents(folder);
    endRemoving();
    return stays;
}

void FolderTreeModel::beginRemoving(ProjectFolder& top) {
    ProjectFolder* removed = &top;
    if (&top != &root_ && shownOf(&top) == nullptr) {
        // A folder above the top item has no item of its own; when the top item's folder goes
        // with it, the top item goes.
        for (const ProjectFolder* above = top_; above != nullptr; above = above->parent()) {
            if (above == &top) {
                removed = top_;
                break;
            }
        }
    }
    const Shown* topShown = removed != &root_ ? shownOf(removed) : nullptr;
    if (topShown == nullptr) {
        // Nothing that goes has an item.
        return;
    }
    ProjectFolder* kept = shownParentOf(*removed);
    const int row = topShown->row;
    beginRemoveRows(indexOf(kept), row, row);
    removingRows_ = true;
    if (removed == top_) {
        top_ = nullptr;
    }
    forget(*removed);
    std::vector<ProjectFolder*>& siblings = shown_.at(kept).children;
    siblings.erase(siblings.begin() + row);
    for (std::size_t after = static_cast<std::size_t>(row); after < siblings.size(); ++after) {
        shown_.at(siblings[after]).row = static_cast<int>(after);
    }
}

void FolderTreeModel::endRemoving() {
    if (removingRows_) {
        removingRows_ = false;
        endRemoveRows();
    }
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return QModelIndex();
    }
    ProjectFolder* child = shownOf(folderOf(parent))->children[static_cast<std::size_t>(row)];
    return createIndex(row, column, child);
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) {
        return QModelIndex();
    }
    return indexOf(shownParentOf(*folderOf(child)));
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return 0;
    }
    const Shown* shown = shownOf(folderOf(parent));
    return shown != nullptr ? static_cast<int>(shown->children.size()) : 0;
}

int FolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return QVariant();
    }
    const ProjectFolder& folder = *folderOf(index);
    switch (role) {
        case Qt::DisplayRole:
            // The top item says where the tree starts.
            return QString::fromStdU16String(&folder == top_ ? folder.FullPath() : folder.name());
        case Qt::DecorationRole: {
            const Shown* shown = shownOf(&folder);
            const bool failed = shown != nullptr && shown->failed;
            if (isDrive(folder)) {
                return iconFor(TreeImage::Drive, failed);
            }
            return iconFor(
                shown != nullptr && shown->open ? TreeImage::OpenFolder : TreeImage::ClosedFolder,
                failed);
        }
        default:
            return QVariant();
    }
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace tw::ui
