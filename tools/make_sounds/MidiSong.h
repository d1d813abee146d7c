#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A Standard MIDI File (format 1) under construction: a conductor track
// with the title, tempo, metre and key, then one track per instrument.
// Every track ends at the same tick so the tune loops without a gap.
class MidiSong
{
public:
    static constexpr int kTicksPerQuarter = 480;
    static constexpr int kDrumChannel = 9;

    // `keySharps` is the key signature (negative for flats).
    MidiSong(std::string title, int beatsPerMinute, int beatsPerBar, int keySharps, bool minor);

    int ticksPerBar() const { return m_beatsPerBar * kTicksPerQuarter; }
    int beatsPerMinute() const { return m_beatsPerMinute; }

    // Returns the track's index for addNote. `channel` counts from 0 (9 is
    // the General MIDI drum kit); `pan` 0 = left .. 64 = centre .. 127.
    int addTrack(const std::string &name, int channel, int program, int volume, int pan, int reverb);

    // Notes are clipped to the song's length when it is written.
    void addNote(int track, int start, int length, int pitch, int velocity);

    // Where every track ends; must be set before writing.
    void setLength(int ticks) { m_length = ticks; }
    int length() const { return m_length; }

    std::vector<std::uint8_t> bytes() const;
    // Throws std::runtime_error when the file cannot be written.
    void write(const std::string &path) const;

private:
    struct Event
    {
        int tick;
        // Orders events that share a tick: set-up first, then note-offs,
        // then note-ons, so a repeated pitch is released before it restarts.
        int rank;
        std::vector<std::uint8_t> data;
    };

    struct Note
    {
        int start;
        int length;
        int pitch;
        int velocity;
    };

    struct Track
    {
        std::string name;
        int channel;
        std::vector<Event> events;
        std::vector<Note> notes;
    };

    std::vector<std::uint8_t> chunk(const Track &track) const;

    std::string m_title;
    int m_beatsPerMinute;
    int m_beatsPerBar;
    int m_keySharps;
    bool m_minor;
    int m_length = 0;
    std::vector<Track> m_tracks;
};
