#pragma once

class GameState;

// Continue: lays the saved game out again, with its puzzle's solution from
// the bank, and goes on timing it from the saved time.
class ModuleContinue
{
public:
    // The Continue button and the menu item "继续(&C)". A saved-game file
    // that is missing or damaged changes nothing; a bank that cannot give
    // the saved puzzle leaves the board and the commands as they were.
    static void cmdContinue_Click(GameState &form);
};
