#pragma once

#include "Difficulty.h"
#include "GameState.h"

class AdoRecordset;

// The three commands that lay a puzzle on the board: Start prepares the
// whole window for play, Next replaces the puzzle, a difficulty change
// re-blanks the running puzzle.
class ModuleNewGame
{
public:
    // Connects the difficulty options, so that selecting one (by the player
    // or from code) runs its handler.
    static void attach(GameState &form);

    // The solved grid of the bank's open record, read
    // whole before any of it is used, so that a broken record changes
    // nothing: a field that is no digit 1..9 throws an AdoError.
    using Solution = decltype(GameState::SolutionNumber);
    static Solution solutionOf(const AdoRecordset &rs, const QString &id);

    static void cmdStart_Click(GameState &form);
    static void cmdNext_Click(GameState &form);

    // A level's option clicked, or its menu item chosen: the handlers of
    // the difficulty options and of their menu items, one for each control
    // array, with the row of the Difficulty table whose control it was.
    // The options run opt_Click through the table, the menu items through
    // FormMain's slot.
    static void opt_Click(GameState &form, const Difficulty::Level &level);
    static void menuDo_Difficoulty_Click(GameState &form, const Difficulty::Level &level);
};
