#include "ScreenGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <limits>

QRect ScreenGeometry::under(const QRect &frame)
{
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->geometry();
    return pick(screens, frame);
}

QRect ScreenGeometry::pick(const QList<QRect> &screens, const QRect &frame)
{
    const QPoint middle = frame.center();
    for (const QRect &screen : screens) {
        if (screen.contains(middle))
            return screen;
    }
    QRect best;
    qint64 bestOverlap = 0;
    for (const QRect &screen : screens) {
        const QRect common = screen.intersected(frame);
        const qint64 overlap = qint64(common.width()) * common.height();
        if (overlap > bestOverlap) {
            best = screen;
            bestOverlap = overlap;
        }
    }
    if (bestOverlap > 0)
        return best;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (const QRect &screen : screens) {
        const int dx = qMax(0, qMax(screen.left() - middle.x(), middle.x() - screen.right()));
        const int dy = qMax(0, qMax(screen.top() - middle.y(), middle.y() - screen.bottom()));
        const qint64 distance = qint64(dx) * dx + qint64(dy) * dy;
        if (distance < bestDistance) {
            best = screen;
            bestDistance = distance;
        }
    }
    return best;
}

QPoint ScreenGeometry::keptOn(const QRect &screen, const QRect &frame)
{
    int left = qMin(frame.left(), screen.left() + screen.width() - frame.width());
    int top = qMin(frame.top(), screen.top() + screen.height() - frame.height());
    left = qMax(left, screen.left());
    top = qMax(top, screen.top());
    return QPoint(left, top);
}
