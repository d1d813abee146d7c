#pragma once

#include "MidiSong.h"

// The game's three background tunes, composed here note by note. Each
// follows a chord chart, has a melody in phrases (A A' B A) and ends on
// its tonic with every track closing on the same tick, so it loops.
class TuneComposer
{
public:
    // Calm and flowing: piano over harp arpeggios and soft strings, D major.
    static MidiSong osmira();
    // Cheerful and bouncy: marimba and vibraphone, pizzicato, bass, light
    // drums, F major.
    static MidiSong happygm();
    // A 3/4 waltz: oom-pah-pah piano under a flute and clarinet, E-flat major.
    static MidiSong waltz();
};
