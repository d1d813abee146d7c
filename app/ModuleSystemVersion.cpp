#include "ModuleSystemVersion.h"

#include <QSysInfo>

OsVersionInfo ModuleSystemVersion::GetSystemVersion()
{
    // The kernel release reads the same way on every system Qt runs on, so
    // no call of the system itself is needed here.
    return fromRelease(QSysInfo::kernelVersion());
}

OsVersionInfo ModuleSystemVersion::fromRelease(const QString &release)
{
    OsVersionInfo info;
    info.dwPlatformId = kPlatformWin32NT;
    // "6.1.0-13-amd64": up to three numbers joined by dots, then the rest.
    // Read by hand: the splash shows it, and a regular expression would
    // load its engine for this alone.
    qsizetype at = 0;
    while (at < release.size() && release.at(at).isSpace())
        ++at;
    // A number too large for the record counts as unknown, like a missing
    // one.
    const auto number = [&release, &at](quint32 *value) {
        const qsizetype from = at;
        while (at < release.size() && release.at(at).isDigit())
            ++at;
        *value = release.mid(from, at - from).toUInt();
        return at > from;
    };
    const auto dotAndDigit = [&release, &at] {
        return at + 1 < release.size() && release.at(at) == QLatin1Char('.') && release.at(at + 1).isDigit();
    };
    if (number(&info.dwMajorVersion)) {
        for (quint32 *next : { &info.dwMinorVersion, &info.dwBuildNumber }) {
            if (dotAndDigit()) {
                ++at;
                number(next);
            }
        }
        QString rest = release.mid(at).trimmed();
        while (!rest.isEmpty() && !rest.front().isLetterOrNumber())
            rest.remove(0, 1);
        info.szCSDVersion = rest;
    }
    info.name = nameFor(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
    return info;
}

QString ModuleSystemVersion::nameFor(quint32 platformId, quint32 major, quint32 minor)
{
    switch (platformId) {
    case kPlatformWin32Windows:
        if (minor == 0)
            return QStringLiteral("Windows 95");
        if (minor == 10)
            return QStringLiteral("Windows 98");
        if (minor == 90)
            return QStringLiteral("Windows Mellinnium");
        return QString();
    case kPlatformWin32NT:
        if (major == 3)
            return QStringLiteral("Windows NT 3.51");
        if (major == 4)
            return QStringLiteral("Windows NT 4.0");
        if (major == 5 && minor == 0)
            return QStringLiteral("Windows 2000");
        if (major == 5 && minor == 1)
            return QStringLiteral("Windows XP");
        if (major == 5 && minor == 2)
            return QStringLiteral("Windows Server 2003");
        return QString();
    default:
        return QStringLiteral("Failed");
    }
}
