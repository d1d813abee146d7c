#include "HandCursor.h"

#include "SkinStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QPainterPath roundedBox(double left, double top, double right, double bottom, double radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(left, top, right - left, bottom - top), radius, radius);
    return path;
}

} // namespace

QImage HandCursor::image()
{
    QImage image = SkinStyle::canvas(kSize, kSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Pixel centres sit on half coordinates; the finger's tip is the hot
    // spot's row.
    const QPoint hot = hotSpot();
    const double tipX = hot.x() + 0.5;
    const double tipY = hot.y() + 0.5;

    QPainterPath hand;
    // The pointing finger, three curled fingers, the palm and the thumb.
    hand.addPath(roundedBox(tipX - 2.5, tipY - 0.5, tipX + 2.5, tipY + 17.0, 2.5));
    hand.addPath(roundedBox(tipX + 2.0, tipY + 10.0, tipX + 7.0, tipY + 20.0, 2.5));
    hand.addPath(roundedBox(tipX + 6.5, tipY + 11.0, tipX + 11.5, tipY + 21.0, 2.5));
    hand.addPath(roundedBox(tipX + 11.0, tipY + 12.5, tipX + 15.5, tipY + 22.0, 2.3));
    hand.addPath(roundedBox(tipX - 2.5, tipY + 14.0, tipX + 15.5, tipY + 29.0, 4.5));
    QPainterPath thumb;
    thumb.moveTo(tipX - 2.0, tipY + 24.0);
    thumb.lineTo(tipX - 7.0, tipY + 17.5);
    thumb.quadTo(tipX - 8.0, tipY + 15.0, tipX - 5.5, tipY + 14.5);
    thumb.lineTo(tipX - 1.0, tipY + 18.0);
    thumb.closeSubpath();
    hand.addPath(thumb);
    hand = hand.simplified();

    // A dark halo keeps the light glove visible on the light window.
    p.strokePath(hand, QPen(QColor(0, 0, 0, 90), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient glove(0, tipY, kSize, kSize);
    glove.setColorAt(0.0, QColor(255, 255, 255));
    glove.setColorAt(1.0, QColor(226, 226, 222));
    p.fillPath(hand, glove);
    // The knuckle lines of the curled fingers, and a cuff in the skin's
    // orange so the pointer reads as part of the set.
    p.setPen(QPen(QColor(120, 120, 118), 0.8));
    for (const double x : { tipX + 2.25, tipX + 6.75, tipX + 11.25 })
        p.drawLine(QPointF(x, tipY + 13.0), QPointF(x, tipY + 18.0));
    p.fillRect(QRectF(tipX - 2.0, tipY + 26.0, 17.0, 3.0), SkinStyle::accent());
    p.strokePath(hand, QPen(SkinStyle::edge(), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.end();

    // The hot spot pixel is the fingertip's outline: solid, so a click lands
    // on something visible.
    image.setPixelColor(hot, SkinStyle::edge());
    return image;
}
