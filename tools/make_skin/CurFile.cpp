#include "CurFile.h"

#include <QDataStream>
#include <QFile>
#include <QIODevice>

namespace {

constexpr quint16 kTypeCursor = 2;
constexpr quint32 kDirSize = 6;
constexpr quint32 kEntrySize = 16;
constexpr quint32 kInfoHeaderSize = 40;

} // namespace

QByteArray CurFile::encode(const QImage &image, QPoint hotSpot)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width();
    const int h = argb.height();
    // AND mask rows are padded to whole 32-bit words.
    const int maskStride = ((w + 31) / 32) * 4;
    const quint32 pixelBytes = quint32(w) * quint32(h) * 4;
    const quint32 maskBytes = quint32(maskStride) * quint32(h);
    const quint32 resourceSize = kInfoHeaderSize + pixelBytes + maskBytes;

    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);

    // ICONDIR
    s << quint16(0) << kTypeCursor << quint16(1);
    // ICONDIRENTRY; 0 in a size byte means 256. For cursors the two
    // fields that icons use for planes and bit count hold the hot spot.
    s << quint8(w == 256 ? 0 : w) << quint8(h == 256 ? 0 : h) << quint8(0) << quint8(0);
    s << quint16(hotSpot.x()) << quint16(hotSpot.y());
    s << resourceSize << quint32(kDirSize + kEntrySize);

    // BITMAPINFOHEADER; the height counts the colour image and the mask.
    s << kInfoHeaderSize << qint32(w) << qint32(2 * h) << quint16(1) << quint16(32);
    s << quint32(0) << (pixelBytes + maskBytes) << qint32(0) << qint32(0) << quint32(0) << quint32(0);

    // Colour rows, bottom-up, as straight (not premultiplied) BGRA.
    for (int y = h - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb px = line[x];
            s << quint8(qBlue(px)) << quint8(qGreen(px)) << quint8(qRed(px)) << quint8(qAlpha(px));
        }
    }
    // AND mask, bottom-up: a set bit lets the screen show through.
    for (int y = h - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) == 0)
                row[x / 8] = char(quint8(row[x / 8]) | (0x80 >> (x % 8)));
        }
        s.writeRawData(row.constData(), row.size());
    }
    return out;
}

bool CurFile::write(const QString &path, const QImage &image, QPoint hotSpot, QString *error)
{
    if (image.width() > 256 || image.height() > 256 || image.isNull()) {
        *error = QStringLiteral("cursor image must be 1 to 256 pixels square");
        return false;
    }
    if (!QRect(QPoint(0, 0), image.size()).contains(hotSpot)) {
        *error = QStringLiteral("hot spot lies outside the cursor image");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray bytes = encode(image, hotSpot);
    if (file.write(bytes) != bytes.size()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
