#pragma once

#include <QAbstractItemModel>

#include <unordered_map>
#include <vector>

namespace tw {
class ProjectFolder;
}

namespace tw::ui {

/// The folder tree's model, over the project's own folders: an index's internal pointer is its
/// `ProjectFolder`, and the items keep the project's order.
///
/// The tree shows the directories of the project's files, so not every folder has an item: a
/// folder shows when a record in it or below it has a directory part and parts of a length the
/// tree takes (a directory part of at most 4,095 characters, a name before the last dot and an
/// extension of at most 255 each). Which folders show is worked out from the project at each
/// `rebuild` and kept until the next one.
///
/// The tree starts at the deepest folder that holds all of the project's files: a top folder
/// that holds no file of its own and leads to one folder only gives way to that folder, and so
/// on down. The folder where this stops is the one top item, named by its full path
/// ("/home/me/proj/src"); the folders above it have no item. Files in two top folders (two
/// drives, relative and absolute paths) keep both top folders.
///
/// A folder with a failed file in it or below it shows the failed image, as the file list
/// does for the file; `updateFailed` reads the records again after a count.
///
/// Folders leave the project either through
/// `removeFolder`, which takes their items out with them, or all at once (emptied, replaced by
/// a loaded project), before which `clear` lets go of them.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    explicit FolderTreeModel(ProjectFolder& root, QObject* parent = nullptr);
    ~FolderTreeModel() override;

    /// Works out again which folders show, from the project as it is now.
    void rebuild();
    /// Shows no folder until the next `rebuild`.
    void clear();
    /// Reads again which folders hold a failed file, and tells the view of those that changed.
    void updateFailed();

    /// The folder of `index`; the root for no index.
    ProjectFolder* folderOf(const QModelIndex& index) const;
    /// The item of `folder`; invalid for the root, for null and for a folder that does not show.
    QModelIndex indexOf(const ProjectFolder* folder) const;
    /// The project opens the item at a rebuild: the folder of a file below it, or its own, has
    /// its `expanded` flag set.
    bool expandedInProject(const QModelIndex& index) const;
    /// The view shows `index` expanded (the open folder image) or collapsed (the closed one).
    void setShownOpen(const QModelIndex& index, bool open);

    /// Removes the folder of `index` from the project with everything below it and every
    /// folder that this leaves empty, and their items with them. Returns the nearest folder
    /// that stays (the root at most).
    ProjectFolder& removeFolder(const QModelIndex& index);
    /// The same in two halves, for folders that another hand removes: `top` and everything
    /// below it are about to leave the project (`ProjectFolder::RemovalTop`), and have left.
    void beginRemoving(ProjectFolder& top);
    void endRemoving();

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    /// What the model keeps of a folder that shows (and of the root).
    struct Shown {
        int row = 0;                           ///< among the shown subfolders of its parent
        std::vector<ProjectFolder*> children;  ///< its shown subfolders, in the project's order
        bool expandedInProject = false;
        bool open = false;
        bool ownFiles = false;  ///< it holds a file of its own, shown or not
        bool failed = false;    ///< a file in it or below it failed to count
    };
    /// Whether a folder shows, whether the project opens it, whether a file below failed.
    struct Outcome {
        bool shows = false;
        bool opens = false;
        bool failed = false;
    };
    /// Works out `folder` and everything below it, `folder` being its parent's `row`-th shown
    /// subfolder if it shows.
    Outcome workOut(ProjectFolder& folder, int row);
    /// Makes the deepest folder common to every shown folder the one top item, when there is
    /// one top folder.
    void startAtCommonFolder();
    /// The folder whose item holds `folder`'s item: the root for the top items.
    ProjectFolder* shownParentOf(const ProjectFolder& folder) const;
    /// Whether the subtree of `folder` holds a failed record, noting it for each shown folder
    /// and adding to `changed` those whose note changed.
    bool noteFailed(const ProjectFolder& folder, std::vector<const ProjectFolder*>& changed);
    /// Drops what the model keeps of `folder` and the folders below it.
    void forget(const ProjectFolder& folder);
    const Shown* shownOf(const ProjectFolder* folder) const;

    ProjectFolder& root_;
    /// The one top item's folder when the tree starts below the project's top folders; null
    /// when the top folders themselves are the top items.
    ProjectFolder* top_ = nullptr;
    std::unordered_map<const ProjectFolder*, Shown> shown_;
    /// Between `beginRemoving` and `endRemoving`: rows are being removed.
    bool removingRows_ = false;
};

}  // namespace tw::ui
