#pragma once

class GameState;

// Turns a solved grid on the board into a puzzle by emptying cells at
// random; how many draws depends on the difficulty alone
// (Difficulty::drawsFor).
class ModuleEmptySetting
{
public:
    static void EmptySetting(GameState &form);
};
