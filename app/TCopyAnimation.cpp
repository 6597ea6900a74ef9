#include "app/TCopyAnimation.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

TCopyAnimation::TCopyAnimation(QWidget* parent) : QWidget(parent)
{
    frameTimer_.setInterval(60);
    connect(&frameTimer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % FrameCount;
        update();
    });
}

void TCopyAnimation::SetActive(bool active)
{
    if (active == Active())
        return;
    if (active) {
        frame_ = 0;
        frameTimer_.start();
        update();
        emit started();
    } else {
        frameTimer_.stop();
    }
}

namespace {

void drawFolder(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top() + 6);
    path.lineTo(r.left() + r.width() * 0.35, r.top() + 6);
    path.lineTo(r.left() + r.width() * 0.42, r.top());
    path.lineTo(r.right(), r.top());
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(QColor(128, 96, 0), 1));
    p.setBrush(QColor(250, 210, 90));
    p.drawPath(path);
}

} // namespace

void TCopyAnimation::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = width(), h = height();
    const QRectF left(4, h - 34, 48, 30), right(w - 52, h - 34, 48, 30);
    drawFolder(p, left);
    drawFolder(p, right);

    // The sheet follows an arc from the left folder to the right one.
    const qreal t = qreal(frame_) / (FrameCount - 1);
    const qreal x = left.center().x() + t * (right.center().x() - left.center().x());
    const qreal y = left.top() - std::sin(t * M_PI) * (h - 40);
    p.save();
    p.translate(x, y);
    p.rotate(-20 + 40 * t);
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(-9, -12, 18, 24));
    p.setPen(QPen(QColor(90, 90, 160), 1));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(-6, -7 + i * 5), QPointF(6, -7 + i * 5));
    p.restore();
}
