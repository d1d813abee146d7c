#pragma once

class GameState;

// The main window's designed layout and its load: missing data files are
// created, settings and statistics read, every control put into the state
// without a game, and the preferences applied.
class ModuleFormLoad
{
public:
    // Places and pictures as the window is designed, before it loads.
    static void applyDesign(GameState &form);
    static void Form_Load(GameState &form);
};
