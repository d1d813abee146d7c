#pragma once

class GameState;

// Starting over: erase the player's digits on the same puzzle, or reset
// the whole window to its start state.
class ModuleClear
{
public:
    static void menuGame_Clear_Click(GameState &form);
    static void menuGame_Reload_Click(GameState &form);
};
