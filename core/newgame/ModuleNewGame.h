#pragma once

#include <QString>

class Control;
class GameState;

// The three commands that lay a puzzle on the board: Start prepares the
// whole window for play, Next replaces the puzzle, a difficulty change
// re-blanks the running puzzle.
class ModuleNewGame
{
public:
    // Connects the difficulty options, so that selecting one (by the player
    // or from code) runs its handler.
    static void attach(GameState &form);

    static void cmdStart_Click(GameState &form);
    static void cmdNext_Click(GameState &form);
    static void optEasy_Click(GameState &form);
    static void optMedium_Click(GameState &form);
    static void optHard_Click(GameState &form);
    static void menuDo_Difficoulty_Easy_Click(GameState &form);
    static void menuDo_Difficoulty_Medium_Click(GameState &form);
    static void menuDo_Difficoulty_Hard_Click(GameState &form);

private:
    static void difficultyClick(GameState &form, Control &option, const QString &word);
    static void menuDifficultyClick(GameState &form, Control &option, Control &item);
};
