#include "VersionProperties.h"

#include "VersionCheck.h"

#include <algorithm>

QString VersionProperties::versionFile(const QByteArray &fileBytes)
{
    // readFirstLine never looks further than this.
    const QByteArray bytes = fileBytes.left(VersionCheck::kMaxReadBytes);
    const QString line = VersionCheck::firstLine(bytes);
    if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')))
        return QStringLiteral("the first line holds a line end");

    const auto end = std::find_if(bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; });
    const QByteArray raw = bytes.left(end - bytes.begin());
    if (VersionCheck::firstLine(raw) != line)
        return QStringLiteral("the first line depends on what follows it");
    if (VersionCheck::firstLine(raw + "\r\n" + bytes) != line)
        return QStringLiteral("the first line runs past its line end");
    if (raw.isEmpty() != line.isEmpty())
        return QStringLiteral("%1 bytes give %2 characters").arg(raw.size()).arg(line.size());
    const bool ascii
        = std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii && line != QString::fromLatin1(raw))
        return QStringLiteral("an ASCII version did not decode to itself");

    // The comparison is plain text order: never both ways, never with
    // itself, and a longer text with the same start is newer.
    const QString local = VersionCheck::localVersion();
    if (VersionCheck::isNewer(line, line))
        return QStringLiteral("a version is newer than itself");
    if (VersionCheck::isNewer(line, local) && VersionCheck::isNewer(local, line))
        return QStringLiteral("\"%1\" and \"%2\" are each newer than the other").arg(line, local);
    if (VersionCheck::isNewer(line, local) != (line > local))
        return QStringLiteral("\"%1\" against \"%2\" is not plain text order").arg(line, local);
    if (!VersionCheck::isNewer(line + QLatin1Char('0'), line))
        return QStringLiteral("\"%1\" with a character more is not newer").arg(line);
    return QString();
}
