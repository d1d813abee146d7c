#pragma once

#include <string>

// Reads back what the generator wrote, so its output can be checked without
// other tools: the length of a MIDI file (following its tempo map) or of a
// wave file, and a few facts about each.
class SoundInfo
{
public:
    // A one-line summary. Throws std::runtime_error for a file it cannot
    // read or does not understand.
    static std::string describe(const std::string &path);

    static double midiSeconds(const std::string &path);
};
