#pragma once

#include "SampleBuffer.h"

#include <string>
#include <vector>

// The game's short wave effects, each synthesised from scratch. They play
// synchronously (the game waits for them), so every one is kept short, and
// all of them peak at the same comfortable level.
class EffectSynth
{
public:
    struct Effect
    {
        std::string fileName;
        SampleBuffer sound;
    };

    static std::vector<Effect> all();

    static SampleBuffer du(); // title-bar button
    static SampleBuffer bubble(); // cell selected, window opened
    static SampleBuffer cancel();
    static SampleBuffer press(); // digit typed
    static SampleBuffer great(); // new record
    static SampleBuffer finished(); // puzzle solved
    static SampleBuffer wrong(); // wrong answer
    static SampleBuffer oohs(); // follows `wrong`
};
