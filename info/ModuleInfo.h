#pragma once

class GameState;
class QWidget;

// The main window's commands that tell about the program: about,
// copyright, help, the update page and the update check. `mainWindow` is
// the window they open over (null: placed by the window system).
class ModuleInfo
{
public:
    static void menuAbout_AboutMe_Click(GameState &form, QWidget *mainWindow);
    static void menuAbout_Copyright_Click(GameState &form, QWidget *mainWindow);
    static void menuAbout_Help_Click(GameState &form, QWidget *mainWindow);
    static void menuAbout_UpdateInfo_Click(GameState &form, QWidget *mainWindow);
    static void menuGame_SoftUpdata_Click(GameState &form, QWidget *mainWindow);
};
