#pragma once

#include <QString>
#include <QStringList>

// The General MIDI soundfont that the tunes are rendered with.
class SoundFont
{
public:
    // A soundfont to prefer over the usual places (empty: none).
    static void setPreferred(const QString &path);
    static QString preferred();
    // Where one is looked for, in order: the preferred one, then
    // <program folder>/bkmusic/TimGM6mb.sf2, then Debian's
    // /usr/share/sounds/sf2/TimGM6mb.sf2.
    static QStringList candidates();
    // The first candidate that is a readable SoundFont 2 file, or "".
    static QString resolved();
};
