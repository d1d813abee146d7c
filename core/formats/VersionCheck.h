#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Whether the maker has published a newer version. The published version
// is the first line of a small text file; it is compared with this
// program's version as plain text, character by character, the way the
// version file has always been read: "1.0.65" is newer than "1.0.64", but
// so is "1.0.64 " (longer with the same start), and "1.0.100" is older.
class VersionCheck
{
public:
    // The most of the file that is ever looked at.
    static constexpr qint64 kMaxReadBytes = 64 * 1024;

    // This program's version, major.minor.revision.
    static QString localVersion();

    // The text before the first line end (CR LF, LF or CR alone); every
    // other character stays, blanks included. Read as the game's text
    // files are, in code page 936 (GBK).
    static QString firstLine(const QByteArray &bytes);
    // The first line of a file; nothing if the file cannot be read.
    static std::optional<QString> readFirstLine(const QString &path);

    static bool isNewer(const QString &published, const QString &local);
};
