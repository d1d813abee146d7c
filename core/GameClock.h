#pragma once

class GameState;

// The game clock in labelTime: how long the current game has lasted, from
// timeStart, plus the time a continued game had taken when it was saved.
class GameClock
{
public:
    // Counts a game from now and shows where it starts ("00:00:00", or the
    // saved time of a continued game) at once: Start and Continue.
    static void start(GameState &form);

    // Counts from now again without touching the timer: the next puzzle, a
    // new difficulty, clearing the board.
    static void restart(GameState &form);

    // Shows the whole seconds passed since timeStart; each tick calls it.
    static void show(GameState &form);
};
