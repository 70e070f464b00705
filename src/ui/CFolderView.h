#pragma once

#include <QModelIndex>
#include <QTreeView>

namespace tw {
class ProjectFolder;
}

class QStandardItem;
class QStandardItemModel;

namespace tw::ui {

class CMainFrame;
class CTallyweaverDoc;

/// The folder tree: the directories of the project's files, one level per path component.
/// Items hold only their text and image; an item's project folder is found again from its
/// path. Selecting an item makes the file list show that folder.
class CFolderView : public QTreeView {
    Q_OBJECT
  public:
    CFolderView(CMainFrame& frame, CTallyweaverDoc& document, QWidget* parent = nullptr);

    /// First update: the tree stays empty until the first rebuild.
    void initialUpdate();

    /// Builds the tree again from the project and selects the main frame's remembered folder.
    void rebuild();

    /// The item path of `index`: the texts from the top level down, joined by '\'; items with
    /// empty text add nothing. Empty for no item.
    QString itemPath(const QModelIndex& index) const;
    /// The project folder of `index` (the root for no item); null when no folder has its path.
    ProjectFolder* folderOf(const QModelIndex& index) const;
    /// The selected item; invalid when none is.
    QModelIndex selectedItem() const;
    /// The first item, depth-first over the whole tree, whose path is `path`; invalid when none.
    QModelIndex findItem(const QString& path) const;
    /// Selects `index` (nothing for an invalid one), as a click would.
    void selectItem(const QModelIndex& index);
    /// Selects `index` without the selection's usual effect on the list and the remembered
    /// folder; the caller takes care of both.
    void selectItemQuietly(const QModelIndex& index);
    /// Takes the item `index` with everything below it out of the tree, without the
    /// selection's usual effect.
    void deleteItem(const QModelIndex& index);

    QStandardItemModel& treeModel() { return *model_; }

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void onUpdate(QObject* sender, int hint, ProjectFolder* folder);
    void onSelectionChanged();
    /// Inserts the components of `path` below `parent`; expands each item when `expand`.
    QStandardItem* insertPath(QStandardItem* parent, QStringView path, bool expand);
    void fill(const ProjectFolder& folder);
    QModelIndex findPath(const QModelIndex& parent, const QString& path) const;

    CMainFrame& frame_;
    CTallyweaverDoc& document_;
    QStandardItemModel* model_;
    /// While the tree is rebuilt, selection changes are its own doing, not the user's.
    bool rebuilding_ = false;
};

}  // namespace tw::ui
