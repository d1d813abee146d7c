#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QFile;

// The one way the game opens a file to read it: only when the name leads
// (directly or through links) to a regular file. Anything else counts as a
// file that cannot be opened: opening a FIFO for reading waits for a writer
// that may never come, and a device may never end.
class RegularFile
{
public:
    // Whether `path` names a regular file now; for names handed on to a
    // library that opens them itself.
    static bool isRegular(const QString &path);
    // Opens `file`, whose name is set, for reading, without ever waiting on
    // it; false, with the file closed, when it is no regular file or cannot
    // be opened.
    static bool open(QFile &file);
    // The file's first `maxBytes` bytes, or nothing when it is no regular
    // file or cannot be read.
    static std::optional<QByteArray> read(const QString &path, qint64 maxBytes);
};
