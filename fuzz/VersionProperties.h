#pragma once

#include <QByteArray>
#include <QString>

// What the update check's reading of the published version file must hold
// to for any bytes; kept apart from ReaderProperties because the version
// reader lives in the info library, not in the core.
class VersionProperties
{
public:
    static QString versionFile(const QByteArray &bytes);
};
