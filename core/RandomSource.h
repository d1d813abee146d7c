#pragma once

#include <QtGlobal>
#include <optional>

// The game's one source of random numbers: a 24-bit linear congruential
// generator with the classic BASIC semantics. `next()` gives values in
// [0, 1); `randomize(n)` mixes a number into the running state without
// restarting a fixed sequence; `randomizeFromClock()` seeds from the clock
// at sub-second resolution. Tests fix what the clock seeding produces.
class RandomSource
{
public:
    static double next();
    static void randomize(double seed);
    static void randomizeFromClock();

    static void setState(quint32 state);
    static quint32 state();
    // While set, seeding from the clock sets exactly this state.
    static void setFixedClockSeed(std::optional<quint32> seed);
};
