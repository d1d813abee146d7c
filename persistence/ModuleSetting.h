#pragma once

class GameState;

// The display and behaviour preferences: each menu item's check mark is
// the live value, toggled by its handler, which then applies it.
class ModuleSetting
{
public:
    static void menuSetting_ExitAutoSave_Click(GameState &form);
    static void menuSetting_FontBold_Click(GameState &form);
    static void menuSetting_PieceColor_Click(GameState &form);
    static void menuSetting_ShowBorder_Click(GameState &form);
    static void menuSetting_PutOnFront_Click(GameState &form);
    // The pin on the title bar: a left press sounds, a left release toggles.
    static void picPutOnFront_MouseDown(GameState &form, int button);
    static void picPutOnFront_MouseUp(GameState &form, int button);
    // The window's activation keeps it on top while the preference is on.
    static void Form_Activate(GameState &form);
};
