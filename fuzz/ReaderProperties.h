#pragma once

#include <QByteArray>
#include <QString>

// What the readers of the game's files must hold to for any bytes at all.
// Each check hands back what went wrong, or an empty text: a fuzz target
// aborts on a non-empty one, and the regression test replays the seeds and
// every input a fuzzer ever broke on through the same checks.
class ReaderProperties
{
public:
    // The settings file as the window's load reads it.
    static QString setting(const QByteArray &bytes);
    // The statistics file as the grade window and a finished game read it.
    static QString grade(const QByteArray &bytes);
    // The saved game as Continue reads it.
    static QString save(const QByteArray &bytes);
    // Any text as a connection string (parsing and key look-ups), and as
    // the program folder, which must come back out of the bank's
    // connection string unchanged.
    static QString connectionString(const QByteArray &bytes);
};
