#pragma once

#include <QByteArray>

// Standard MIDI files, as the sequencer takes them.
class MidiFile
{
public:
    // A standard MIDI file (bare or in a RIFF RMID wrapper) with a track in
    // it. A synthesiser takes any bytes and only finds out when it plays
    // them, so this is checked before a file is played as a tune.
    static bool isStandard(const QByteArray &bytes);
};
