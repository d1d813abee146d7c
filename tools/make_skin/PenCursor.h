// The pen cursor shown over the board: a pencil lying diagonally with its
// point at the bottom-left, where the hot spot is.
#pragma once

#include <QImage>
#include <QPoint>

class PenCursor
{
public:
    static constexpr int kSize = 32;

    static QImage image();
    static QPoint hotSpot() { return QPoint(1, 30); }
};
