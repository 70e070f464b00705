#include "ui/CSplitterView.h"

#include <QResizeEvent>
#include <QSplitter>

#include <algorithm>

#include "ui/CFileView.h"
#include "ui/CFolderView.h"

namespace tw::ui {

CSplitterView::CSplitterView(CMainFrame& frame, CTallyweaverDoc& document, QWidget* parent)
    : QWidget(parent), splitter_(new QSplitter(Qt::Horizontal, this)) {
    setObjectName(QStringLiteral("splitterView"));
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->setChildrenCollapsible(false);
    // The list is made first, so it hears of every change before the tree does: the tree's
    // rebuild then selects the remembered folder, and the list ends showing that folder.
    fileView_ = new CFileView(frame, document, splitter_);
    folderView_ = new CFolderView(frame, document, splitter_);
    splitter_->addWidget(folderView_);
    splitter_->addWidget(fileView_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
}

void CSplitterView::initialUpdate() {
    if (initialUpdateDone_) {
        return;
    }
    initialUpdateDone_ = true;
    fileView_->initialUpdate();
    folderView_->initialUpdate();
}

void CSplitterView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int width = event->size().width();
    splitter_->setGeometry(0, 0, width, event->size().height());
    const int treeWidth = std::max(0, width / 3);
    splitter_->setSizes({treeWidth, std::max(0, width - treeWidth - splitter_->handleWidth())});
}

}  // namespace tw::ui
