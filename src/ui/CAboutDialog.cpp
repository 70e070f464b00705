#include "ui/CAboutDialog.h"

#include <QFont>
#include <QPainter>
#include <QPushButton>

#include "TallyweaverVersion.h"
#include "ui/Artwork.h"

namespace tw::ui {

CAboutDialog::CAboutDialog(QWidget* parent)
    : QDialog(parent), picture_(artwork::aboutPicture()), okButton_(new QPushButton(this)) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About Tallyweaver"));
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setText(QStringLiteral("OK"));
    okButton_->setDefault(true);
    okButton_->adjustSize();
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    // The client area is exactly the picture; OK sits 5 pixels from its right edge and 4 from
    // its bottom.
    setFixedSize(picture_.size());
    okButton_->move(picture_.width() - 5 - okButton_->width(),
                    picture_.height() - 4 - okButton_->height());
}

void CAboutDialog::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(11);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    const int height = painter.fontMetrics().height();
    painter.drawText(QRect(7, 65, width() - 7, height), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Tallyweaver"));
    painter.drawText(QRect(7, 85, width() - 7, height), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Version " TW_VERSION));
}

}  // namespace tw::ui
