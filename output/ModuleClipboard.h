#pragma once

#include <QString>

class GameState;

// Hands the puzzle to other programs as a string of digits.
class ModuleClipboard
{
public:
    // The 81 cells row by row: a given cell's digit, "0" for every other
    // cell, so the string is the puzzle as it was set, whatever the player
    // has entered.
    static QString puzzleText(const GameState &form);

    // The main window's Copy to Clipboard command.
    static void menuGame_CopyToClipboard_Click(GameState &form);
};
