#include "MidiSong.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace {

enum Rank { Setup = 0, NoteOff = 1, NoteOn = 2 };

void putVariableLength(std::vector<std::uint8_t> &out, std::uint32_t value)
{
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

void putBigEndian(std::vector<std::uint8_t> &out, std::uint32_t value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

std::vector<std::uint8_t> metaText(std::uint8_t type, const std::string &text)
{
    std::vector<std::uint8_t> data { 0xFF, type };
    putVariableLength(data, static_cast<std::uint32_t>(text.size()));
    data.insert(data.end(), text.begin(), text.end());
    return data;
}

std::uint8_t clamp7(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}

} // namespace

MidiSong::MidiSong(std::string title, int beatsPerMinute, int beatsPerBar, int keySharps, bool minor)
    : m_title(std::move(title))
    , m_beatsPerMinute(beatsPerMinute)
    , m_beatsPerBar(beatsPerBar)
    , m_keySharps(keySharps)
    , m_minor(minor)
{
    Track conductor { m_title, -1, {}, {} };
    conductor.events.push_back({ 0, Setup, metaText(0x03, m_title) });
    // General MIDI System On, so a synthesiser left in another mode resets
    // to the instrument map these tunes are written for.
    conductor.events.push_back({ 0, Setup, { 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7 } });
    // Metre: numerator, denominator as a power of two (quarter = 2), MIDI
    // clocks per click, 32nd notes per quarter.
    conductor.events.push_back(
        { 0, Setup, { 0xFF, 0x58, 0x04, static_cast<std::uint8_t>(m_beatsPerBar), 0x02, 0x18, 0x08 } });
    const auto microsPerQuarter = static_cast<std::uint32_t>(60'000'000 / m_beatsPerMinute);
    std::vector<std::uint8_t> tempo { 0xFF, 0x51, 0x03 };
    putBigEndian(tempo, microsPerQuarter, 3);
    conductor.events.push_back({ 0, Setup, tempo });
    conductor.events.push_back({ 0, Setup,
        { 0xFF, 0x59, 0x02, static_cast<std::uint8_t>(static_cast<std::int8_t>(m_keySharps)),
            static_cast<std::uint8_t>(m_minor ? 1 : 0) } });
    m_tracks.push_back(std::move(conductor));
}

int MidiSong::addTrack(const std::string &name, int channel, int program, int volume, int pan, int reverb)
{
    const auto status = [channel](int kind) { return static_cast<std::uint8_t>(kind | (channel & 0x0F)); };
    Track track { name, channel, {}, {} };
    track.events.push_back({ 0, Setup, metaText(0x03, name) });
    track.events.push_back({ 0, Setup, { status(0xC0), clamp7(program) } });
    track.events.push_back({ 0, Setup, { status(0xB0), 7, clamp7(volume) } });
    track.events.push_back({ 0, Setup, { status(0xB0), 10, clamp7(pan) } });
    track.events.push_back({ 0, Setup, { status(0xB0), 91, clamp7(reverb) } });
    m_tracks.push_back(std::move(track));
    return static_cast<int>(m_tracks.size()) - 1;
}

void MidiSong::addNote(int track, int start, int length, int pitch, int velocity)
{
    Track &target = m_tracks.at(static_cast<std::size_t>(track));
    if (target.channel < 0 || length <= 0)
        throw std::invalid_argument("a note needs an instrument track and a length");
    target.notes.push_back({ start, length, pitch, velocity });
}

std::vector<std::uint8_t> MidiSong::chunk(const Track &track) const
{
    std::vector<Event> events = track.events;
    const auto channel = static_cast<std::uint8_t>(track.channel & 0x0F);
    std::vector<Note> notes = track.notes;
    std::stable_sort(
        notes.begin(), notes.end(), [](const Note &a, const Note &b) { return a.start < b.start; });
    // One key cannot be held twice on a channel: a pitch struck again while
    // it still sounds is released first, or the earlier note-off would cut
    // the new one short.
    std::vector<int> sounding(128, -1);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const int key = clamp7(notes[i].pitch);
        const int previous = sounding[static_cast<std::size_t>(key)];
        if (previous >= 0) {
            Note &earlier = notes[static_cast<std::size_t>(previous)];
            if (earlier.start + earlier.length > notes[i].start)
                earlier.length = notes[i].start - earlier.start;
        }
        sounding[static_cast<std::size_t>(key)] = static_cast<int>(i);
    }
    for (const Note &note : notes) {
        if (note.length <= 0 || note.start >= m_length)
            continue;
        // A note still sounding when the song ends is released right there.
        const int end = std::min(note.start + note.length, m_length);
        events.push_back({ note.start, NoteOn,
            { static_cast<std::uint8_t>(0x90 | channel), clamp7(note.pitch),
                clamp7(std::max(1, note.velocity)) } });
        events.push_back(
            { end, NoteOff, { static_cast<std::uint8_t>(0x80 | channel), clamp7(note.pitch), 64 } });
    }
    std::stable_sort(events.begin(), events.end(),
        [](const Event &a, const Event &b) { return a.tick != b.tick ? a.tick < b.tick : a.rank < b.rank; });

    std::vector<std::uint8_t> body;
    int previous = 0;
    for (const Event &event : events) {
        putVariableLength(body, static_cast<std::uint32_t>(event.tick - previous));
        previous = event.tick;
        body.insert(body.end(), event.data.begin(), event.data.end());
    }
    putVariableLength(body, static_cast<std::uint32_t>(m_length - previous));
    body.insert(body.end(), { 0xFF, 0x2F, 0x00 });

    std::vector<std::uint8_t> out { 'M', 'T', 'r', 'k' };
    putBigEndian(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<std::uint8_t> MidiSong::bytes() const
{
    if (m_length <= 0)
        throw std::logic_error("the song's length is not set");
    std::vector<std::uint8_t> out { 'M', 'T', 'h', 'd' };
    putBigEndian(out, 6, 4);
    putBigEndian(out, 1, 2); // format 1: simultaneous tracks
    putBigEndian(out, static_cast<std::uint32_t>(m_tracks.size()), 2);
    putBigEndian(out, kTicksPerQuarter, 2);
    for (const Track &track : m_tracks) {
        const auto data = chunk(track);
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

void MidiSong::write(const std::string &path) const
{
    const auto data = bytes();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path);
}
