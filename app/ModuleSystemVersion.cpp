#include "ModuleSystemVersion.h"

#include <QRegularExpression>
#include <QSysInfo>

OsVersionInfo ModuleSystemVersion::GetSystemVersion()
{
    // The kernel release reads the same way on every system Qt runs on, so
    // no call of the system itself is needed here.
    return fromRelease(QSysInfo::kernelVersion());
}

OsVersionInfo ModuleSystemVersion::fromRelease(const QString &release)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?(.*)$"));
    OsVersionInfo info;
    info.dwPlatformId = kPlatformWin32NT;
    const QRegularExpressionMatch match = pattern.match(release);
    if (match.hasMatch()) {
        // A number too large for the record counts as unknown, like a
        // missing one.
        info.dwMajorVersion = match.captured(1).toUInt();
        info.dwMinorVersion = match.captured(2).toUInt();
        info.dwBuildNumber = match.captured(3).toUInt();
        QString rest = match.captured(4).trimmed();
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
