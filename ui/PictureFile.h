#pragma once

#include <QImage>
#include <QString>

// The pictures the game shows (skins, the splash, logos, the watermark):
// files without an extension, read by their content, and only when they
// are regular files.
class PictureFile
{
public:
    // The picture, or a null image when the file is missing, is no regular
    // file or holds no picture.
    static QImage read(const QString &path);
};
