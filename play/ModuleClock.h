#pragma once

class GameState;

// The game clock shown in labelTime and the timer that keeps the main
// window on the screen.
class ModuleClock
{
public:
    // Once a second: the time played so far, plus the time a continued
    // game had already taken when it was saved.
    static void Timer1_Timer(GameState &form);

    // Pulls the window back inside the monitor it is on when it has been
    // moved partly off it.
    static void Timer2_Timer(GameState &form);

    static void labelTime_MouseDown(GameState &form);
};
