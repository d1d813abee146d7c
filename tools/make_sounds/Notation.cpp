#include "Notation.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        const std::size_t end = std::min(text.find(separator, begin), text.size());
        parts.push_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
    return parts;
}

std::vector<std::string_view> words(std::string_view text)
{
    std::vector<std::string_view> result;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\n' || text[i] == '\t'))
            ++i;
        const std::size_t begin = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\n' && text[i] != '\t')
            ++i;
        if (i > begin)
            result.push_back(text.substr(begin, i - begin));
    }
    return result;
}

[[noreturn]] void fail(const std::string &what, std::string_view token)
{
    throw std::invalid_argument(what + " '" + std::string(token) + "'");
}

} // namespace

int Notation::pitch(std::string_view name)
{
    std::string_view rest = name;
    if (rest.empty())
        fail("empty note", name);
    std::size_t letterEnd = 1;
    if (rest.size() > 1 && (rest[1] == '#' || rest[1] == 'b'))
        letterEnd = 2;
    int pitchClass = 0;
    // A chord symbol without a quality is just a note letter: reuse its parser.
    try {
        pitchClass = Chord::parse(rest.substr(0, letterEnd)).root();
    } catch (const std::invalid_argument &) {
        fail("bad note", name);
    }
    rest.remove_prefix(letterEnd);
    if (rest.size() != 1 || rest.front() < '0' || rest.front() > '9')
        fail("bad octave in note", name);
    const int octave = rest.front() - '0';
    // Spelling B#/Cb moves across the octave boundary; the pitch class
    // already wrapped, so correct the octave accordingly.
    int adjust = 0;
    if (name.front() == 'B' && letterEnd == 2 && name[1] == '#')
        adjust = 12;
    if (name.front() == 'C' && letterEnd == 2 && name[1] == 'b')
        adjust = -12;
    return (octave + 1) * 12 + pitchClass + adjust;
}

int Notation::length(std::string_view code)
{
    if (code.empty())
        fail("empty length", code);
    int ticks = 0;
    switch (code.front()) {
    case 'w':
        ticks = 4 * kTicksPerQuarter;
        break;
    case 'h':
        ticks = 2 * kTicksPerQuarter;
        break;
    case 'q':
        ticks = kTicksPerQuarter;
        break;
    case 'e':
        ticks = kTicksPerQuarter / 2;
        break;
    case 's':
        ticks = kTicksPerQuarter / 4;
        break;
    default:
        fail("bad length", code);
    }
    if (code.size() == 2 && code[1] == '.')
        return ticks + ticks / 2;
    if (code.size() != 1)
        fail("bad length", code);
    return ticks;
}

std::vector<Notation::Note> Notation::melody(std::string_view text, int ticksPerBar, int startTick)
{
    std::vector<Note> notes;
    int barStart = startTick;
    int barNumber = 1;
    for (const std::string_view bar : split(text, '|')) {
        int tick = barStart;
        for (const std::string_view token : words(bar)) {
            const auto colon = token.find(':');
            if (colon == std::string_view::npos)
                fail("missing length in", token);
            const int ticks = length(token.substr(colon + 1));
            const std::string_view name = token.substr(0, colon);
            if (name != "r")
                notes.push_back({ tick, ticks, pitch(name) });
            tick += ticks;
        }
        if (tick - barStart != ticksPerBar)
            fail("bar " + std::to_string(barNumber) + " does not fill its bar:", bar);
        barStart += ticksPerBar;
        ++barNumber;
    }
    return notes;
}

std::vector<Notation::ChordSpan> Notation::chart(std::string_view text, int ticksPerBar, int startTick)
{
    std::vector<ChordSpan> spans;
    int barStart = startTick;
    for (const std::string_view bar : split(text, '|')) {
        const auto symbols = words(bar);
        if (symbols.empty() || ticksPerBar % static_cast<int>(symbols.size()) != 0)
            fail("cannot share the bar between its chords:", bar);
        const int each = ticksPerBar / static_cast<int>(symbols.size());
        for (std::size_t i = 0; i < symbols.size(); ++i)
            spans.push_back({ barStart + static_cast<int>(i) * each, each, Chord::parse(symbols[i]) });
        barStart += ticksPerBar;
    }
    return spans;
}
