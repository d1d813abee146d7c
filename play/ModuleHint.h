#pragma once

class GameState;

// The cross hint (the row and column under the mouse tinted) and the two
// hint preferences.
class ModuleHint
{
public:
    static void L_MouseMove(GameState &form, int index, int button);
    static void menuSetting_ShowNumberHint_Click(GameState &form);
    static void menuSetting_ShowCrossHint_Click(GameState &form);
    // The board without any hover tint: all white, then the box shading.
    static void clearHighlight(GameState &form);
};
