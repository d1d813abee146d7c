#pragma once

#include <QRect>
#include <QtGlobal>

// Positions and sizes are designed in twips; at 96 dpi 15 twips make one
// pixel. Rounding to the nearest pixel keeps the board's overlapping cells
// one pixel apart inside a box and two pixels apart between boxes.
constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPx(int twips)
{
    return twips >= 0 ? (twips * 2 + kTwipsPerPixel) / (2 * kTwipsPerPixel)
                      : -((-twips * 2 + kTwipsPerPixel) / (2 * kTwipsPerPixel));
}

constexpr int pxToTwips(int px)
{
    return px * kTwipsPerPixel;
}

// A rectangle given as Left, Top, Width, Height in twips, each value turned
// into pixels on its own, the way the window design places its controls.
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPx(left), twipsToPx(top), twipsToPx(width), twipsToPx(height));
}
