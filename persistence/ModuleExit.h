#pragma once

class GameState;

// Leaving the program: the automatic save, releasing the puzzle bank,
// storing the preferences, adding this run's length to the total playing
// time and closing the music.
class ModuleExit
{
public:
    static void Form_Unload(GameState &form);

    // Writes the menu's check marks to the settings file.
    static void keepPreferences(GameState &form);
    // Adds the time since GameTimeStart to the total playing time and writes
    // the statistics file; a total that cannot be read or kept is reported.
    static void addRunTime(GameState &form);
};
