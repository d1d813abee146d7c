#pragma once

class GameState;

// The completion check: compares the board with the solved grid, marks
// wrong cells red, or announces a right board, keeps the statistics and
// moves on.
class ModuleCheck
{
public:
    static void cmdFinished_Click(GameState &form);
    static void menuDo_Finished_Click(GameState &form);

private:
    static void correctBoard(GameState &form);
};
