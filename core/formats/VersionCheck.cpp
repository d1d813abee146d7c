#include "VersionCheck.h"

#include "RegularFile.h"

#include <QStringDecoder>

QString VersionCheck::localVersion()
{
    return QStringLiteral("%1.%2.%3").arg(VEXA_VERSION_MAJOR).arg(VEXA_VERSION_MINOR).arg(VEXA_VERSION_PATCH);
}

QString VersionCheck::firstLine(const QByteArray &bytes)
{
    qsizetype end = 0;
    while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n')
        ++end;
    const QByteArray line = bytes.left(end);
    QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return QString::fromLatin1(line);
    // With a line end after it, a lead byte left without its second byte
    // shows as a replacement character instead of vanishing: stateless
    // decoding drops an unfinished character at the very end.
    QString text = decoder.decode(line + '\n');
    text.chop(1);
    return text;
}

std::optional<QString> VersionCheck::readFirstLine(const QString &path)
{
    const std::optional<QByteArray> bytes = RegularFile::read(path, kMaxReadBytes);
    if (!bytes)
        return std::nullopt;
    return firstLine(*bytes);
}

bool VersionCheck::isNewer(const QString &published, const QString &local)
{
    return QString::compare(published, local, Qt::CaseSensitive) > 0;
}
