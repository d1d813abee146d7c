#pragma once

#include <QCursor>
#include <QString>

// The game's own mouse pointers, read from cursor files in the program
// folder (the pen over the board, the hand over the buttons).
class CursorFile
{
public:
    // The pointer in the file named by a literal such as "\\ico\\pen", with
    // the hot spot the file gives; the arrow when the file is missing or
    // is no cursor Qt can read.
    static QCursor load(const QString &literal);
};
