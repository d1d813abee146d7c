#pragma once

#include <QString>

// Sound is optional equipment: what goes wrong with it is told on the log,
// once per kind of trouble for the whole process, since a game that clicks
// on every move would otherwise repeat the same complaint thousands of
// times. Safe from any thread.
class SoundWarning
{
public:
    enum Kind {
        AudioInit,
        SoundFont,
        TuneLoad,
        TuneRender,
        TuneCache,
        NothingOpen,
        EffectLoad,
        UnknownCommand,
        Count
    };

    static void once(Kind kind, const QString &text);
};
