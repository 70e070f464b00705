#pragma once

#include <QWidget>

class QSplitter;

namespace tw::ui {

class CFileView;
class CFolderView;
class CTallyweaverDoc;
class ViewHost;

/// The view of the Folders and Files mode: the folder tree on the left and the file list on
/// the right, the tree taking its share of the width (a third until the user drags the
/// divider) after every resize.
class CSplitterView : public QWidget {
    Q_OBJECT
  public:
    CSplitterView(ViewHost& host, CTallyweaverDoc& document, QWidget* parent = nullptr);

    /// The first time only: the file list's initial update, then the tree's.
    void initialUpdate();

    CFolderView& folderView() { return *folderView_; }
    CFileView& fileView() { return *fileView_; }
    QSplitter& splitter() { return *splitter_; }

    /// The tree's share of the width.
    double treeFraction() const { return treeFraction_; }
    void setTreeFraction(double fraction);

  signals:
    /// The user dragged the divider: the tree's share is now `fraction`.
    void treeFractionChosen(double fraction);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void placeDivider();

    QSplitter* splitter_;
    double treeFraction_ = 1.0 / 3.0;
    CFolderView* folderView_;
    CFileView* fileView_;
    bool initialUpdateDone_ = false;
};

}  // namespace tw::ui
