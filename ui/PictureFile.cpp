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
    reader.setDecideFormatFromContent(true);
    return reader.read();
}
