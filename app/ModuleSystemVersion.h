#pragma once

#include <QString>
#include <QtGlobal>

// What the game knows about the system it runs on, laid out as the
// version record it has always read.
struct OsVersionInfo
{
    quint32 dwOSVersionInfoSize = 148;
    quint32 dwMajorVersion = 0;
    quint32 dwMinorVersion = 0;
    quint32 dwBuildNumber = 0;
    quint32 dwPlatformId = 0;
    QString szCSDVersion;
    QString name;
};

// The system's version and its name. Only three old systems change what
// the game does: they cannot fade a window, so the splash shows at once.
class ModuleSystemVersion
{
public:
    static constexpr quint32 kPlatformWin32Windows = 1;
    static constexpr quint32 kPlatformWin32NT = 2;

    static OsVersionInfo GetSystemVersion();
    // The record for a kernel release such as "6.1.0-18-amd64" or
    // "10.0.19045": its numbers as major, minor and build, the rest as the
    // service note, on the NT-like platform every supported system is.
    static OsVersionInfo fromRelease(const QString &release);
    // "" for a system of a known platform that has no name of its own,
    // "Failed" for an unknown platform.
    static QString nameFor(quint32 platformId, quint32 major, quint32 minor);
};
