#pragma once

class GameState;

// The window's commands (a skinned button with the menu item that mirrors
// it, or menu items alone) as more than one handler switches them.
class GameCommands
{
public:
    // A puzzle is on the board (Start, Continue): Start and
    // Continue are withdrawn; Save and the menu items that act on the
    // board (clear, print, picture, clipboard) are offered.
    static void offerForGame(GameState &form);
    // No game runs (the window's load, a right board):
    // Save, Next and Finish are withdrawn.
    static void withdrawPlay(GameState &form);

    // Every cell holds a digit.
    static bool boardFull(const GameState &form);
    // Finish is offered exactly when the board is full: after every change
    // of a digit and after Continue.
    static void offerFinish(GameState &form);
};
