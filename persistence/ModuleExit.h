#pragma once

class GameState;

// Leaving the program: the automatic save, releasing the puzzle bank,
// storing the preferences, adding this run's length to the total playing
// time and closing the music.
class ModuleExit
{
public:
    static void Form_Unload(GameState &form);
};
