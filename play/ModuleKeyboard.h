#pragma once

class GameState;

// Playing without a mouse: the arrow keys move the entry box to the next
// editable cell in their direction, exactly as a left click on that cell
// would. At the board's edge the box stays where it is.
class ModuleKeyboard
{
public:
    // dx, dy: one of (-1, 0), (1, 0), (0, -1), (0, 1).
    static void arrowKey(GameState &form, int dx, int dy);
    // The cell an arrow selects, or -1 when there is none in that direction.
    static int target(const GameState &form, int dx, int dy);
};
