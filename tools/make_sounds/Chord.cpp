#include "Chord.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

int letterClass(char letter)
{
    switch (letter) {
    case 'C':
        return 0;
    case 'D':
        return 2;
    case 'E':
        return 4;
    case 'F':
        return 5;
    case 'G':
        return 7;
    case 'A':
        return 9;
    case 'B':
        return 11;
    default:
        return -1;
    }
}

// Reads a note letter with an optional '#' or 'b' from the front of `text`.
int takePitchClass(std::string_view &text)
{
    if (text.empty())
        return -1;
    int pitchClass = letterClass(text.front());
    if (pitchClass < 0)
        return -1;
    text.remove_prefix(1);
    if (!text.empty() && (text.front() == '#' || text.front() == 'b')) {
        pitchClass += text.front() == '#' ? 1 : -1;
        text.remove_prefix(1);
    }
    return (pitchClass + 12) % 12;
}

} // namespace

Chord Chord::parse(std::string_view symbol)
{
    static const std::array<std::pair<std::string_view, std::vector<int>>, 12> qualities { {
        { "", { 0, 4, 7 } },
        { "m", { 0, 3, 7 } },
        { "7", { 0, 4, 7, 10 } },
        { "maj7", { 0, 4, 7, 11 } },
        { "m7", { 0, 3, 7, 10 } },
        { "6", { 0, 4, 7, 9 } },
        { "m6", { 0, 3, 7, 9 } },
        { "sus4", { 0, 5, 7 } },
        { "sus2", { 0, 2, 7 } },
        { "dim", { 0, 3, 6 } },
        { "add9", { 0, 2, 4, 7 } },
        { "9", { 0, 2, 4, 7, 10 } },
    } };

    std::string_view rest = symbol;
    Chord chord;
    chord.m_root = takePitchClass(rest);
    if (chord.m_root < 0)
        throw std::invalid_argument("bad chord root in '" + std::string(symbol) + "'");
    chord.m_bass = chord.m_root;
    const auto slash = rest.find('/');
    std::string_view quality = rest.substr(0, slash);
    if (slash != std::string_view::npos) {
        std::string_view bassText = rest.substr(slash + 1);
        chord.m_bass = takePitchClass(bassText);
        if (chord.m_bass < 0 || !bassText.empty())
            throw std::invalid_argument("bad bass note in '" + std::string(symbol) + "'");
    }
    const auto found = std::find_if(
        qualities.begin(), qualities.end(), [&](const auto &entry) { return entry.first == quality; });
    if (found == qualities.end())
        throw std::invalid_argument("unknown chord quality in '" + std::string(symbol) + "'");
    chord.m_intervals = found->second;
    return chord;
}

int Chord::placeAtOrAbove(int pitchClass, int low)
{
    return low + ((pitchClass - low) % 12 + 12) % 12;
}

int Chord::bassFrom(int low) const
{
    return placeAtOrAbove(m_bass, low);
}

std::vector<int> Chord::tonesBetween(int low, int high) const
{
    std::vector<int> tones;
    for (const int interval : m_intervals) {
        for (int pitch = placeAtOrAbove((m_root + interval) % 12, low); pitch <= high; pitch += 12)
            tones.push_back(pitch);
    }
    std::sort(tones.begin(), tones.end());
    return tones;
}
