#pragma once

#include <array>

class Control;
class GameState;

// The background music's menu as more than one handler switches
// it: the three tune items, StartPlay or StopPlay, and the music every new
// or continued game starts with.
class MusicMenu
{
public:
    // Osmira, HappyGM, Waltz: the tune items in menu order.
    static std::array<Control *, 3> tunes(GameState &form);
    // Checks `tune` and unchecks the other two.
    static void checkTune(GameState &form, const Control &tune);
    // A tune can be picked only while music plays.
    static void enableTunes(GameState &form, bool enabled);
    // StopPlay offered while a tune plays, StartPlay otherwise.
    static void showPlaying(GameState &form, bool playing);
    // At Start and Continue: the submenu offered as the
    // music control stands, Osmira checked and played from its beginning.
    static void startForGame(GameState &form);
};
