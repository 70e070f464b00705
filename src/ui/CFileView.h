#pragma once

#include <QTableView>

class QMenu;

#include <string>
#include <vector>

namespace tw {
class ProjectFolder;
}

namespace tw::ui {

class CTallyweaverDoc;
class FileListModel;
class FileListSortModel;
class ViewHost;

/// The file list: one row per file with its type, size, encoding and counts, then the summary
/// rows. In Folders and Files mode it lists the folder chosen in the folder tree, in Files
/// Only mode every file of the project. Summary rows never take part in the selection.
class CFileView : public QTableView {
    Q_OBJECT
  public:
    CFileView(ViewHost& host, CTallyweaverDoc& document, QWidget* parent = nullptr);

    /// First update: shows the columns the user chose and fits them to their titles.
    void initialUpdate();

    /// The header's menu: a check mark for each column in the order shown, which shows or
    /// hides it and remembers the choice by the column's id. The caller owns the menu.
    QMenu* makeColumnMenu();

    FileListModel& listModel() { return *model_; }
    const FileListModel& listModel() const { return *model_; }

    /// The selected file rows, as rows of `listModel` (the project's order), in that order.
    /// The view's own order, which the user may sort by a column, is not theirs.
    std::vector<int> selectedFileRows() const;
    /// The project paths of the files of the selected rows, in the project's order.
    std::vector<std::u16string> selectedFilePaths() const;
    /// The list has at least one selected row.
    bool hasSelectedRows() const;

    /// Lists `folder` (Folders and Files) or the whole project (Files Only) again.
    void rebuild(ProjectFolder& folder);
    /// Shows the counts the records have now, keeping the rows as they are; during a count
    /// run the records are read under the run's lock.
    void refreshCounts();

    /// What the list says below its rows while the project holds no file: how to add some,
    /// with the shortcuts of the window's commands. Empty once the project holds a file.
    QString emptyHint() const;

  signals:
    /// The selection of rows changed.
    void selectionChangedByUser();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void onFolderChanged(ProjectFolder* folder, QObject* origin);
    /// Each column as wide as the larger of its title and its texts.
    void fitColumns();
    /// Shows or hides each column as the user chose, or by its own rule.
    void applyShownColumns();
    void setColumnShown(int column, bool shown);
    /// The row of `listModel` that the view's `index` shows; -1 for none.
    int modelRowOf(const QModelIndex& index) const;

    ViewHost& host_;
    CTallyweaverDoc& document_;
    FileListModel* model_;
    FileListSortModel* sorted_;
    /// The folder the rows were last taken from; null before that and once the project's
    /// folders are replaced.
    ProjectFolder* shownFolder_ = nullptr;
    /// The program sets the widths: a change of width is not the user's choice.
    bool fitting_ = false;
};

}  // namespace tw::ui
