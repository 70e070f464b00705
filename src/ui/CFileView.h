#pragma once

#include <QTableView>

#include <string>
#include <vector>

namespace tw {
class ProjectFolder;
}

namespace tw::ui {

class CMainFrame;
class CTallyweaverDoc;
class FileListModel;

/// The file list: one row per file with its type, size, encoding and counts, then the summary
/// rows. In Folders and Files mode it lists the folder chosen in the folder tree, in Files
/// Only mode every file of the project. Summary rows never take part in the selection.
class CFileView : public QTableView {
    Q_OBJECT
  public:
    CFileView(CMainFrame& frame, CTallyweaverDoc& document, QWidget* parent = nullptr);

    /// First update: fits the columns to their titles.
    void initialUpdate();

    FileListModel& listModel() { return *model_; }
    const FileListModel& listModel() const { return *model_; }

    /// The selected file rows, in row order.
    std::vector<int> selectedFileRows() const;
    /// The list has at least one selected row.
    bool hasSelectedRows() const;

    /// Lists `folder` (Folders and Files) or the whole project (Files Only) again.
    void rebuild(ProjectFolder& folder);

  signals:
    /// The selection of rows changed.
    void selectionChangedByUser();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void onUpdate(QObject* sender, int hint, ProjectFolder* folder);
    /// Each column as wide as the larger of its title and its texts.
    void fitColumns();

    CMainFrame& frame_;
    CTallyweaverDoc& document_;
    FileListModel* model_;
    /// The program sets the widths: a change of width is not the user's choice.
    bool fitting_ = false;
};

}  // namespace tw::ui
