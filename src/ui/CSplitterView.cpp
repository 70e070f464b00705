#include "ui/CSplitterView.h"

#include <QResizeEvent>
#include <QSplitter>

#include <algorithm>
#include <cmath>

#include "ui/CFileView.h"
#include "ui/CFolderView.h"

namespace tw::ui {

CSplitterView::CSplitterView(ViewHost& host, CTallyweaverDoc& document, QWidget* parent)
    : QWidget(parent), splitter_(new QSplitter(Qt::Horizontal, this)) {
    setObjectName(QStringLiteral("splitterView"));
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->setChildrenCollapsible(false);
    // The list is made first, so it hears of every change before the tree does: the tree's
    // rebuild then selects the remembered folder, and the list ends showing that folder.
    fileView_ = new CFileView(host, document, splitter_);
    folderView_ = new CFolderView(host, document, splitter_);
    splitter_->addWidget(folderView_);
    splitter_->addWidget(fileView_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    // Tab goes from the tree to the list, Shift+Tab back.
    setTabOrder(folderView_, fileView_);
    // Only a drag by the user moves the divider for good; the program's own placing does not.
    connect(splitter_, &QSplitter::splitterMoved, this, [this](int position) {
        const int width = splitter_->width();
        if (width > 0) {
            treeFraction_ = std::clamp(static_cast<double>(position) / width, 0.05, 0.95);
            emit treeFractionChosen(treeFraction_);
        }
    });
}

void CSplitterView::setTreeFraction(double fraction) {
    treeFraction_ = std::clamp(fraction, 0.05, 0.95);
    placeDivider();
}

void CSplitterView::placeDivider() {
    const int width = splitter_->width();
    // Rounded down, with room for the error of a share such as a third.
    const int treeWidth = std::max(0, static_cast<int>(std::floor(width * treeFraction_ + 1e-9)));
    splitter_->setSizes({treeWidth, std::max(0, width - treeWidth - splitter_->handleWidth())});
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
    placeDivider();
}

}  // namespace tw::ui
