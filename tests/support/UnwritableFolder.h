#pragma once

#include <QFileDevice>
#include <QString>

// Makes an existing folder refuse new files while the object lives, the way
// a system-wide install looks to a player: its write bits go, and when the
// test runs as root the calling thread also gives up the capability that
// lets root write past them. Reading stays possible.
class UnwritableFolder
{
public:
    explicit UnwritableFolder(const QString &path);
    ~UnwritableFolder();
    UnwritableFolder(const UnwritableFolder &) = delete;
    UnwritableFolder &operator=(const UnwritableFolder &) = delete;

    // True when a file really cannot be made there; a test that needs the
    // folder unwritable skips when it is not.
    bool holds() const;

private:
    QString m_path;
    QFileDevice::Permissions m_before;
    bool m_droppedOverride = false;
};
