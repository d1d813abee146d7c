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
    // Those of the candidates that look like SoundFont 2 files and that
    // the synthesiser has not refused in this run, in order. From any
    // thread.
    static QStringList usable(const QStringList &candidates);
    // The first usable one, or "".
    static QString resolved();
    // The synthesiser refused this file as it is now: it is passed over
    // until it changes. From any thread.
    static void refuse(const QString &path);
};
