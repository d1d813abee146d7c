#pragma once

#include <Qt>

// The game's handlers take a mouse button as 1 left, 2 right, 4 middle
// (added up while several are held, 0 for any other) and the keys held with
// it as 1 Shift, 2 Ctrl, 4 Alt.
inline int mouseButtonCode(Qt::MouseButtons buttons)
{
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

inline int mouseShiftCode(Qt::KeyboardModifiers modifiers)
{
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}
