#pragma once

class GameState;

// The drawn title bar and the window's background: dragging the window,
// cancelling a pending entry with the right button, and clearing the
// board's hover tint when the mouse leaves the cells.
class ModuleTitleBar
{
public:
    // Buttons as 1 left, 2 right, 4 middle.
    static void picTitle_MouseDown(GameState &form, int button);
    static void Form_MouseDown(GameState &form, int button);
    static void Form_MouseMove(GameState &form, int button);
};
