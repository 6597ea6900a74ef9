#include "daoui/VoDaoGridGlyphs.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>

namespace vodao {
namespace {

// '#' dark pixels, '+' mid-grey pixels, anything else the transparent silver.
QPixmap glyph(std::initializer_list<const char*> rows)
{
    const int height = int(rows.size());
    const int width = int(strlen(*rows.begin()));
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kGlyphTransparent);
    QPainter painter(&image);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < width && row[x]; ++x) {
            if (row[x] == '#')
                painter.setPen(QColor(0, 0, 0));
            else if (row[x] == '+')
                painter.setPen(QColor(128, 128, 128));
            else
                continue;
            painter.drawPoint(x, y);
        }
        ++y;
    }
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(kGlyphTransparent, Qt::MaskInColor));
    return pixmap;
}

} // namespace

const QPixmap& MenuGlyph()
{
    static const QPixmap picture = glyph({
        ".......",
        "#######",
        ".......",
        "#######",
        ".......",
        "#######",
        ".......",
        ".......",
        "#######",
        ".#####.",
        "..###..",
    });
    return picture;
}

const QPixmap& AscGlyph()
{
    static const QPixmap picture = glyph({
        "..........",
        "....##....",
        "...####...",
        "..######..",
        ".########.",
        "....##....",
        "....##....",
        "....##....",
        "....##....",
        "..........",
    });
    return picture;
}

const QPixmap& DescGlyph()
{
    static const QPixmap picture = glyph({
        "..........",
        "....##....",
        "....##....",
        "....##....",
        "....##....",
        ".########.",
        "..######..",
        "...####...",
        "....##....",
        "..........",
    });
    return picture;
}

} // namespace vodao
