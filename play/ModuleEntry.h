#pragma once

#include <QChar>

class GameState;

// Choosing a cell with the mouse and typing its digit into the entry box
// laid over it. The box decides on the first key typed; while it is open
// the player cannot save, skip the puzzle or change the difficulty.
class ModuleEntry
{
public:
    static constexpr int kEscape = 27;
    static constexpr int kF1 = 112;

    // The box's Change runs on every change of its text, typed or set.
    static void attach(GameState &form);

    // Buttons: 1 left, 2 right, 4 middle.
    static void L_MouseDown(GameState &form, int index, int button);
    static void txtEnter_MouseDown(GameState &form, int button);
    // A character typed into the box decides what the cell becomes: Esc,
    // "0" and "." empty it, a digit "1".."9" goes into the box and from
    // there into the cell, any other key is swallowed.
    static void txtEnter_KeyPress(GameState &form, QChar key);
    static void txtEnter_Change(GameState &form);
    static void Form_KeyUp(GameState &form, int keyCode);

private:
    static void closeBox(GameState &form);
};
