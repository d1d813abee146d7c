#pragma once

#include <QString>

class GameState;

// Turns a solved grid on the board into a puzzle by emptying cells at
// random; how many draws depends on the difficulty alone.
class ModuleEmptySetting
{
public:
    static void EmptySetting(GameState &form);
    // Draws for a difficulty word ("easy", "medium", "hard", compared
    // case-sensitively); any other word draws nothing.
    static int drawsFor(const QString &difficulty);
};
