#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QImage programIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(QColor(0, 0, 96), 1.2));
    p.setBrush(QColor(30, 80, 170));
    p.drawRoundedRect(QRectF(5, 3, 20, 26), 2, 2);
    p.setBrush(QColor(245, 240, 225));
    p.drawRect(QRectF(8, 25, 17, 3));
    p.setPen(QPen(QColor(20, 160, 60), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath check;
    check.moveTo(14, 17);
    check.lineTo(19, 22);
    check.lineTo(29, 9);
    p.setBrush(Qt::NoBrush);
    p.drawPath(check);
    p.end();
    return image;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
    return icon;
}
