#pragma once

#include <QList>
#include <QRect>

// The monitor a window is on, for keeping the window on it. On a desktop of
// several monitors that is the one holding the window's middle; a window
// whose middle lies off every monitor belongs to the one it overlaps most,
// else to the nearest.
class ScreenGeometry
{
public:
    // The geometry, in pixels of the whole desktop, of the monitor under a
    // window with the frame `frame`.
    static QRect under(const QRect &frame);

    // The same choice among the monitors `screens`; an empty rectangle
    // when there are none.
    static QRect pick(const QList<QRect> &screens, const QRect &frame);

    // Where a window with the frame `frame` goes so that it lies wholly on
    // `screen`: moved no further than needed, and with its top-left corner
    // on the screen when it is larger than the screen. Any one unit.
    static QPoint keptOn(const QRect &screen, const QRect &frame);
};
