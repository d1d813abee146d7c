#pragma once

#include "SudokuGrid.h"

#include <QList>
#include <QString>

// Writes a puzzle bank: an SQLCipher file with the table Problem (ID,
// Finished, l(0)..l(80)). Used by the bank tool and by tests that need
// banks of their own.
class BankBuilder
{
public:
    struct Entry
    {
        QString id;
        QString finished = QStringLiteral("false");
        SudokuGrid::Cells cells {};
    };

    // Replaces `path` whole: written beside it, then renamed over it.
    // Throws AdoError.
    static void write(const QString &path, const QString &password, const QList<Entry> &entries);

    // Reads the plain-text source of the bank: "[ID]" lines, each followed
    // by the 81 digits of its grid; "#" starts a comment line. Every grid
    // must be a valid solution and every ID unique. Throws AdoError naming
    // the fault.
    static QList<Entry> parseSource(const QString &text);
};
