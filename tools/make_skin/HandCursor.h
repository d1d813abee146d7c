// The pointer shown over the command buttons and the title-bar icons: a
// gloved hand pointing up, the hot spot at the tip of its finger.
#pragma once

#include <QImage>
#include <QPoint>

class HandCursor
{
public:
    static constexpr int kSize = 32;

    static QImage image();
    static QPoint hotSpot() { return QPoint(12, 1); }
};
