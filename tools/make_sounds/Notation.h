#pragma once

#include "Chord.h"

#include <string_view>
#include <vector>

// Reads the compact text the tunes are written in.
//
// A melody is a list of NOTE:LENGTH tokens with '|' between bars, e.g.
// "F#5:q. E5:e D5:q A4:q | B4:h r:h". NOTE is a letter, an optional '#' or
// 'b' and an octave (C4 is middle C, MIDI 60), or 'r' for a rest. LENGTH is
// w, h, q, e or s (whole .. sixteenth), a trailing '.' adds half again.
// Every bar must add up to exactly one bar, which catches slips while
// composing.
//
// A chord chart is a list of chord symbols with '|' between bars; a bar
// holding several chords shares its beats evenly between them.
class Notation
{
public:
    static constexpr int kTicksPerQuarter = 480;

    struct Note
    {
        int start; // ticks
        int length; // ticks
        int pitch; // MIDI note number
    };

    struct ChordSpan
    {
        int start;
        int length;
        Chord chord;
    };

    // All of these throw std::invalid_argument naming the faulty token.
    static int pitch(std::string_view name);
    static int length(std::string_view code);
    static std::vector<Note> melody(std::string_view text, int ticksPerBar, int startTick);
    static std::vector<ChordSpan> chart(std::string_view text, int ticksPerBar, int startTick);
};
