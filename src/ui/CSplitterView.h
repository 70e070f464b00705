#pragma once

#include <QWidget>

class QSplitter;

namespace tw::ui {

class CFileView;
class CFolderView;
class CMainFrame;
class CTallyweaverDoc;

/// The view of the Folders and Files mode: the folder tree on the left and the file list on
/// the right, the tree taking a third of the width after every resize.
class CSplitterView : public QWidget {
    Q_OBJECT
  public:
    CSplitterView(CMainFrame& frame, CTallyweaverDoc& document, QWidget* parent = nullptr);

    /// The first time only: the file list's initial update, then the tree's.
    void initialUpdate();

    CFolderView& folderView() { return *folderView_; }
    CFileView& fileView() { return *fileView_; }
    QSplitter& splitter() { return *splitter_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QSplitter* splitter_;
    CFolderView* folderView_;
    CFileView* fileView_;
    bool initialUpdateDone_ = false;
};

}  // namespace tw::ui
