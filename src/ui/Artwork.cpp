#include "ui/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace tw::ui::artwork {
namespace {

constexpr double kPi = std::numbers::pi;

const QColor kOutline(60, 60, 70);
const QColor kPaper(252, 252, 250);
const QColor kFolderBack(214, 160, 40);
const QColor kFolderFront(246, 200, 80);
const QColor kGreen(40, 160, 60);
const QColor kRed(200, 40, 40);
const QColor kBlue(40, 100, 190);

QImage blankImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

/// A painter with antialiasing, drawing on `image` in a coordinate system of `units` per side,
/// so every picture is drawn once whatever its pixel size.
class Canvas {
  public:
    Canvas(QImage& image, double units) : painter_(&image) {
        painter_.setRenderHint(QPainter::Antialiasing);
        painter_.scale(image.width() / units, image.height() / units);
    }
    QPainter& operator*() { return painter_; }
    QPainter* operator->() { return &painter_; }

  private:
    QPainter painter_;
};

QPen outlinePen(double width = 1.0) {
    QPen pen(kOutline, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

/// A sheet of paper with a folded corner, in a 24-unit square.
void drawPage(QPainter& p, double left = 5, double top = 2, double width = 14, double height = 20) {
    const double fold = 5;
    QPainterPath sheet;
    sheet.moveTo(left, top);
    sheet.lineTo(left + width - fold, top);
    sheet.lineTo(left + width, top + fold);
    sheet.lineTo(left + width, top + height);
    sheet.lineTo(left, top + height);
    sheet.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(kPaper);
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(left + width - fold, top);
    corner.lineTo(left + width - fold, top + fold);
    corner.lineTo(left + width, top + fold);
    p.setBrush(QColor(220, 220, 215));
    p.drawPath(corner);
}

/// A closed folder, in a 24-unit square.
void drawFolder(QPainter& p, bool open) {
    p.setPen(outlinePen());
    QPainterPath back;
    back.moveTo(2, 6);
    back.lineTo(9, 6);
    back.lineTo(11, 8);
    back.lineTo(21, 8);
    back.lineTo(21, 20);
    back.lineTo(2, 20);
    back.closeSubpath();
    p.setBrush(kFolderBack);
    p.drawPath(back);
    if (open) {
        QPolygonF front;
        front << QPointF(5, 11) << QPointF(23, 11) << QPointF(20, 20) << QPointF(2, 20);
        p.setBrush(kFolderFront);
        p.drawPolygon(front);
    } else {
        p.setBrush(kFolderFront);
        p.drawRect(QRectF(2, 10, 19, 10));
    }
}

/// A round green badge with a white plus, for the two Add commands.
void drawPlusBadge(QPainter& p) {
    p.setPen(QPen(QColor(20, 100, 30), 1));
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(17.5, 17.5), 6, 6);
    QPen plus(Qt::white, 2.2);
    plus.setCapStyle(Qt::RoundCap);
    p.setPen(plus);
    p.drawLine(QPointF(17.5, 14), QPointF(17.5, 21));
    p.drawLine(QPointF(14, 17.5), QPointF(21, 17.5));
}

void drawCross(QPainter& p, const QRectF& box, double width) {
    QPen pen(kRed, width);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
}

void drawGear(QPainter& p) {
    p.save();
    p.translate(12, 12);
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const double angle = i * kPi / teeth;
        const double next = (i + 1) * kPi / teeth;
        const double radius = (i % 2 == 0) ? 10.5 : 8.0;
        const QPointF a(radius * std::cos(angle), radius * std::sin(angle));
        const QPointF b(radius * std::cos(next), radius * std::sin(next));
        if (i == 0) {
            gear.moveTo(a);
        } else {
            gear.lineTo(a);
        }
        gear.lineTo(b);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(0, 0), 3.5, 3.5);
    p.setPen(outlinePen());
    p.setBrush(QColor(150, 155, 165));
    p.drawPath(gear.subtracted(hole));
    p.restore();
}

/// Four upright strokes crossed by a fifth, the tally that gives the program its name, in a
/// 24-unit square.
void drawTally(QPainter& p, const QColor& colour, double width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    for (int i = 0; i < 4; ++i) {
        const double x = 6 + i * 4;
        p.drawLine(QPointF(x, 5), QPointF(x, 19));
    }
    p.drawLine(QPointF(3, 16), QPointF(21, 8));
}

void paintToolbar(QPainter& p, ToolbarImage image) {
    switch (image) {
        case ToolbarImage::NewProject: {
            drawPage(p);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(250, 200, 30));
            QPolygonF star;
            for (int i = 0; i < 10; ++i) {
                const double radius = (i % 2 == 0) ? 5 : 2;
                const double angle = -kPi / 2 + i * kPi / 5;
                star << QPointF(18 + radius * std::cos(angle), 6 + radius * std::sin(angle));
            }
            p.drawPolygon(star);
            break;
        }
        case ToolbarImage::OpenProject:
            drawFolder(p, true);
            break;
        case ToolbarImage::SaveProject:
            p.setPen(outlinePen());
            p.setBrush(kBlue);
            p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
            p.setBrush(kPaper);
            p.drawRect(QRectF(6, 3, 12, 7));
            p.setBrush(QColor(80, 80, 90));
            p.drawRect(QRectF(8, 14, 8, 7));
            p.setBrush(QColor(190, 190, 195));
            p.drawRect(QRectF(13, 15.5, 2, 4));
            break;
        case ToolbarImage::AddFiles:
            drawPage(p, 3, 1, 13, 19);
            drawPlusBadge(p);
            break;
        case ToolbarImage::AddFolders:
            p.save();
            p.translate(-1, -2);
            drawFolder(p, false);
            p.restore();
            drawPlusBadge(p);
            break;
        case ToolbarImage::RemoveSelected:
            drawCross(p, QRectF(6, 6, 12, 12), 3.5);
            break;
        case ToolbarImage::Count: {
            p.setPen(QPen(QColor(20, 100, 30), 1));
            p.setBrush(kGreen);
            p.drawEllipse(QPointF(12, 12), 10, 10);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            QPolygonF play;
            play << QPointF(9, 6.5) << QPointF(18, 12) << QPointF(9, 17.5);
            p.drawPolygon(play);
            break;
        }
        case ToolbarImage::Stop: {
            QPolygonF octagon;
            for (int i = 0; i < 8; ++i) {
                const double angle = kPi / 8 + i * kPi / 4;
                octagon << QPointF(12 + 10 * std::cos(angle), 12 + 10 * std::sin(angle));
            }
            p.setPen(QPen(QColor(120, 20, 20), 1));
            p.setBrush(kRed);
            p.drawPolygon(octagon);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(6, 10.5, 12, 3));
            break;
        }
        case ToolbarImage::Reset: {
            QPen pen(kBlue, 3);
            pen.setCapStyle(Qt::RoundCap);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(4, 4, 16, 16), 100 * 16, 280 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(kBlue);
            QPolygonF head;
            head << QPointF(7.5, 1) << QPointF(14.5, 4.5) << QPointF(8, 9.5);
            p.drawPolygon(head);
            break;
        }
        case ToolbarImage::Settings:
            drawGear(p);
            break;
        case ToolbarImage::GenerateReport:
            drawPage(p);
            p.setPen(Qt::NoPen);
            p.setBrush(kBlue);
            p.drawRect(QRectF(7.5, 14, 2.5, 5));
            p.setBrush(kGreen);
            p.drawRect(QRectF(11, 10, 2.5, 9));
            p.setBrush(kRed);
            p.drawRect(QRectF(14.5, 12, 2.5, 7));
            p.setPen(outlinePen(0.8));
            p.drawLine(QPointF(7, 19.5), QPointF(17.5, 19.5));
            break;
        case ToolbarImage::About: {
            p.setPen(QPen(QColor(20, 60, 130), 1));
            p.setBrush(kBlue);
            p.drawEllipse(QPointF(12, 12), 10, 10);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(12, 7), 1.8, 1.8);
            p.drawRoundedRect(QRectF(10.5, 10, 3, 8.5), 1, 1);
            break;
        }
    }
}

/// The disabled look of an image: its brightness as a pale grey, half transparent.
QImage disabledLook(const QImage& normal) {
    QImage pale = normal.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < pale.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(pale.scanLine(y));
        for (int x = 0; x < pale.width(); ++x) {
            const QRgb pixel = line[x];
            const int grey = 120 + qGray(pixel) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(pixel) * 3 / 5);
        }
    }
    return pale.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

QImage toolbarImage(ToolbarImage image, bool disabled) {
    QImage result = blankImage(kToolbarImageSize);
    {
        Canvas canvas(result, 24);
        paintToolbar(*canvas, image);
    }
    return disabled ? disabledLook(result) : result;
}

QIcon toolbarIcon(ToolbarImage image) {
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(toolbarImage(image, false)), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(toolbarImage(image, true)), QIcon::Disabled);
    return icon;
}

QImage treeImage(TreeImage image) {
    QImage result = blankImage(kSmallImageSize);
    Canvas canvas(result, 24);
    QPainter& p = *canvas;
    switch (image) {
        case TreeImage::Drive:
            p.setPen(outlinePen(1.5));
            p.setBrush(QColor(200, 202, 208));
            p.drawRoundedRect(QRectF(2, 7, 20, 11), 2, 2);
            p.setPen(Qt::NoPen);
            p.setBrush(kGreen);
            p.drawEllipse(QPointF(17.5, 12.5), 2, 2);
            p.setBrush(QColor(120, 122, 130));
            p.drawRect(QRectF(5, 11.5, 8, 2));
            break;
        case TreeImage::ClosedFolder:
            drawFolder(p, false);
            break;
        case TreeImage::OpenFolder:
            drawFolder(p, true);
            break;
    }
    return result;
}

QIcon treeIcon(TreeImage image) {
    return QIcon(QPixmap::fromImage(treeImage(image)));
}

QImage fileStateImage(FileStateImage image) {
    QImage result = blankImage(kSmallImageSize);
    Canvas canvas(result, 24);
    QPainter& p = *canvas;
    switch (image) {
        case FileStateImage::Counted: {
            QPen pen(kGreen, 4);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            p.setPen(pen);
            QPolygonF tick;
            tick << QPointF(4, 13) << QPointF(10, 19) << QPointF(20, 5);
            p.drawPolyline(tick);
            break;
        }
        case FileStateImage::NotCounted:
            p.setPen(QPen(QColor(150, 110, 0), 1.2));
            p.setBrush(QColor(250, 210, 40));
            p.drawRoundedRect(QRectF(3, 9, 18, 6), 1.5, 1.5);
            break;
        case FileStateImage::Failed:
            drawCross(p, QRectF(5, 5, 14, 14), 4);
            break;
    }
    return result;
}

QIcon fileStateIcon(FileStateImage image) {
    return QIcon(QPixmap::fromImage(fileStateImage(image)));
}

QImage aboutPicture() {
    QImage result(400, 160, QImage::Format_RGB32);
    QPainter p(&result);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 400, 160);
    sky.setColorAt(0.0, QColor(10, 30, 90));
    sky.setColorAt(0.6, QColor(30, 90, 180));
    sky.setColorAt(1.0, QColor(90, 160, 230));
    p.fillRect(result.rect(), sky);

    // Threads woven across the picture, behind the emblem.
    for (int i = 0; i < 6; ++i) {
        QPainterPath thread;
        const double y = 20 + i * 24;
        thread.moveTo(0, y);
        thread.cubicTo(120, y - 30, 220, y + 30, 400, y - 10);
        p.setPen(QPen(QColor(255, 255, 255, 28), 3));
        p.setBrush(Qt::NoBrush);
        p.drawPath(thread);
    }

    // The emblem: the tally in a light disc on the right.
    const QPointF centre(320, 80);
    QRadialGradient glow(centre, 62);
    glow.setColorAt(0.0, QColor(255, 255, 255, 235));
    glow.setColorAt(0.8, QColor(220, 235, 255, 220));
    glow.setColorAt(1.0, QColor(160, 200, 250, 200));
    p.setPen(QPen(QColor(255, 255, 255, 180), 3));
    p.setBrush(glow);
    p.drawEllipse(centre, 58, 58);
    p.save();
    p.translate(centre.x() - 48, centre.y() - 48);
    p.scale(4, 4);
    drawTally(p, QColor(20, 60, 140), 2);
    p.restore();
    return result;
}

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        QImage tile = blankImage(size);
        {
            Canvas canvas(tile, 24);
            QPainter& p = *canvas;
            p.setPen(Qt::NoPen);
            p.setBrush(kBlue);
            p.drawRoundedRect(QRectF(1, 1, 22, 22), 4, 4);
            drawTally(p, Qt::white, 2);
        }
        icon.addPixmap(QPixmap::fromImage(tile));
    }
    return icon;
}

}  // namespace tw::ui::artwork
