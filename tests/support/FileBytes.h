#pragma once

#include <QByteArray>
#include <QString>

// A file's whole content, as the tests put it in place and read it back.
class FileBytes
{
public:
    // Empty when the file cannot be read.
    static QByteArray read(const QString &path);
    // Replaces the file with exactly these bytes; false when that failed.
    static bool write(const QString &path, const QByteArray &bytes);
};
