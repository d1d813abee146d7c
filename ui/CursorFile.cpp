#include "CursorFile.h"

#include "AppPath.h"
#include "RegularFile.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

namespace {

// A Windows cursor file: a 6-byte header (0, type 2, image count) and a
// 16-byte entry per image whose bytes 4..7 are the hot spot. The image
// itself is left to Qt's reader, which knows the format but drops the hot
// spot.
constexpr qsizetype kHeader = 6;
constexpr qsizetype kEntry = 16;
constexpr qsizetype kLargestCursorFile = 1 << 20;

quint16 word(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

} // namespace

QCursor CursorFile::load(const QString &literal)
{
    const std::optional<QByteArray> read = RegularFile::read(AppPath::file(literal), kLargestCursorFile);
    if (!read)
        return QCursor(Qt::ArrowCursor);
    const QByteArray &bytes = *read;
    if (bytes.size() < kHeader + kEntry || word(bytes, 0) != 0 || word(bytes, 2) != 2 || word(bytes, 4) == 0)
        return QCursor(Qt::ArrowCursor);

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    // Told its format, Qt loads only the one image plugin for it.
    const QImage image = QImageReader(&buffer, "cur").read();
    if (image.isNull())
        return QCursor(Qt::ArrowCursor);
    const int x = qBound(0, int(word(bytes, kHeader + 4)), image.width() - 1);
    const int y = qBound(0, int(word(bytes, kHeader + 6)), image.height() - 1);
    return QCursor(QPixmap::fromImage(image), x, y);
}
