#include "ui/dialogs/DrawnImages.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace tw::ui {
namespace {

constexpr int kImageSize = 24;

QPixmap transparentImage() {
    QPixmap pixmap(kImageSize, kImageSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap arrowPixmap(bool pointsRight, const QColor& colour) {
    QPixmap pixmap = transparentImage();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn pointing right, mirrored for the left arrow.
    if (!pointsRight) {
        painter.translate(kImageSize, 0);
        painter.scale(-1, 1);
    }
    const QPolygonF arrow({{4.0, 9.5},
                           {12.0, 9.5},
                           {12.0, 4.5},
                           {20.5, 12.0},
                           {12.0, 19.5},
                           {12.0, 14.5},
                           {4.0, 14.5}});
    painter.setPen(QPen(colour.darker(130), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(colour);
    painter.drawPolygon(arrow);
    return pixmap;
}

}  // namespace

QIcon moveArrowIcon(bool pointsRight) {
    QIcon icon;
    icon.addPixmap(arrowPixmap(pointsRight, QColor(0x2a, 0x6a, 0xc0)), QIcon::Normal);
    icon.addPixmap(arrowPixmap(pointsRight, QColor(0xa8, 0xa8, 0xa8)), QIcon::Disabled);
    return icon;
}

QPixmap warningPixmap() {
    QPixmap pixmap = transparentImage();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x8e, 0x10, 0x10), 1.0));
    painter.setBrush(QColor(0xd3, 0x22, 0x22));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 21.0, 21.0), 3.0, 3.0);

    // The exclamation mark: a bar narrowing downwards and a round dot.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    QPainterPath bar;
    bar.moveTo(9.8, 5.0);
    bar.lineTo(14.2, 5.0);
    bar.lineTo(13.1, 14.5);
    bar.lineTo(10.9, 14.5);
    bar.closeSubpath();
    painter.drawPath(bar);
    painter.drawEllipse(QPointF(12.0, 18.0), 1.9, 1.9);
    return pixmap;
}

}  // namespace tw::ui
