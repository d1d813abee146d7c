#include "PictureFile.h"

#include "RegularFile.h"

#include <QFile>
#include <QImageReader>

QImage PictureFile::read(const QString &path)
{
    QFile file(path);
    if (!RegularFile::open(file))
        return {};
    QImageReader reader(&file);
    // Named by their content, not by a suffix. Qt would ask every image
    // plugin whether it knows the bytes (loading each, and JPEG's library
    // with it) before it tries the formats it has built in, so those are
    // recognised here first.
    const QByteArray head = file.peek(8);
    if (head.startsWith("\x89PNG\r\n\x1a\n"))
        reader.setFormat("png");
    else if (head.startsWith("BM"))
        reader.setFormat("bmp");
    else
        reader.setDecideFormatFromContent(true);
    return reader.read();
}
