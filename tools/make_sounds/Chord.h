#pragma once

#include <string_view>
#include <vector>

// A chord named the way a lead sheet names it: "D", "Bm7", "Gmaj7",
// "Asus4", "F#m7", "Bb7", "C/E". Knows its tones and where to place them.
class Chord
{
public:
    // Throws std::invalid_argument for a symbol it does not know.
    static Chord parse(std::string_view symbol);

    int root() const { return m_root; } // pitch class, C = 0
    int bass() const { return m_bass; }
    // Semitones above the root, ascending, root (0) first.
    const std::vector<int> &intervals() const { return m_intervals; }

    // The bass note as the lowest such pitch at or above `low`.
    int bassFrom(int low) const;
    // Every chord tone in [low, high], ascending: a close voicing whose
    // notes stay put when the next chord shares them.
    std::vector<int> tonesBetween(int low, int high) const;

    // The lowest pitch of pitch class `pitchClass` at or above `low`.
    static int placeAtOrAbove(int pitchClass, int low);

private:
    int m_root = 0;
    int m_bass = 0;
    std::vector<int> m_intervals;
};
