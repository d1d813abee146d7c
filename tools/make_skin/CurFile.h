// Writes a Windows cursor (.CUR) file with a single 32-bit image. Qt can read
// such files but not write them, and the hot spot lives only in this format.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>

class CurFile
{
public:
    // `image` must be at most 256 x 256; its alpha channel is kept and also
    // turned into the AND mask that older readers use.
    static QByteArray encode(const QImage &image, QPoint hotSpot);
    static bool write(const QString &path, const QImage &image, QPoint hotSpot, QString *error);
};
