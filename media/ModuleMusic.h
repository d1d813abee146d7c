#pragma once

class Control;
class GameState;

// Background music: one of three tunes looping while a game is played,
// started and stopped from the menu or the title-bar pictures.
class ModuleMusic
{
public:
    static void menuSetting_PlayMusic_StartPlay_Click(GameState &form);
    static void menuSetting_PlayMusic_StopPlay_Click(GameState &form);
    static void menuSetting_PlayMusic_osmira_Click(GameState &form);
    static void menuSetting_PlayMusic_HappyGM_Click(GameState &form);
    static void menuSetting_PlayMusic_Waltz_Click(GameState &form);
    // The device's completion event: a tune that reached its end starts over.
    static void MMControl1_Done(GameState &form);
    static void picMusicPlay_MouseUp(GameState &form, int button);
    static void picMusicStop_MouseUp(GameState &form, int button);

private:
    static void playTune(GameState &form, Control &item, const char *literal);
};
