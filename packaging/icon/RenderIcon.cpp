// Draws the program's icon from its SVG picture as a square PNG, at build time:
//   tw_render_icon INPUT.svg SIZE OUTPUT.png
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: tw_render_icon INPUT.svg SIZE OUTPUT.png\n", stderr);
        return 2;
    }
    const int size = std::atoi(argv[2]);
    QSvgRenderer picture(QString::fromLocal8Bit(argv[1]));
    if (!picture.isValid() || size <= 0 || size > 4096) {
        std::fprintf(stderr, "tw_render_icon: cannot draw %s at %s pixels\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        picture.render(&painter);
    }
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "tw_render_icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
