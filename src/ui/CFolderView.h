#pragma once

#include <QModelIndex>
#include <QTreeView>

namespace tw {
class ProjectFolder;
}

namespace tw::ui {

class CTallyweaverDoc;
class FolderTreeModel;
class ViewHost;

/// The folder tree: the directories of the project's files, one level per path component from
/// the deepest folder common to them, each item standing for its project folder
/// (`FolderTreeModel`). Selecting an item makes the
/// file list show that folder.
class CFolderView : public QTreeView {
    Q_OBJECT
  public:
    CFolderView(ViewHost& host, CTallyweaverDoc& document, QWidget* parent = nullptr);

    /// First update: the tree stays empty until the first rebuild.
    void initialUpdate();

    /// Shows the project again, opened where its `expanded` flags say, and selects the
    /// document's remembered folder.
    void rebuild();

    /// The path of `index`'s folder; empty for no item.
    QString itemPath(const QModelIndex& index) const;
    /// The project folder of `index`; the root for no item.
    ProjectFolder* folderOf(const QModelIndex& index) const;
    /// The selected item; invalid when none is.
    QModelIndex selectedItem() const;
    /// The item of the folder whose path is `path`; invalid when no shown folder has it.
    QModelIndex findItem(const QString& path) const;
    /// Selects `index` (nothing for an invalid one), as a click would.
    void selectItem(const QModelIndex& index);
    /// Selects `index` without the selection's usual effect on the list and the remembered
    /// folder; the caller takes care of both.
    void selectItemQuietly(const QModelIndex& index);

    FolderTreeModel& treeModel() { return *model_; }

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void onFolderChanged(ProjectFolder* folder, QObject* origin);
    void onSelectionChanged();
    /// Expands the items below `parent` that the project opens.
    void expandAsInProject(const QModelIndex& parent);

    ViewHost& host_;
    CTallyweaverDoc& document_;
    FolderTreeModel* model_;
    /// While the tree changes under the program's own hand, selection changes are not the
    /// user's.
    bool rebuilding_ = false;
};

}  // namespace tw::ui
