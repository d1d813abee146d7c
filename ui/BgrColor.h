#pragma once

#include "Rgb.h"

#include <QColor>

// The game keeps its colours as 0x00BBGGRR integers; Qt paints with QColor.
inline QColor toQColor(int bgr)
{
    return QColor(redOf(bgr), greenOf(bgr), blueOf(bgr));
}
