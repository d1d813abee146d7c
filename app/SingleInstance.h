#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

class QLockFile;

// Lets only one copy of the game run for a user. The lock belongs to the
// running process and the system drops it when the process ends, however
// it ends, so a crashed copy never keeps the next one out.
class SingleInstance
{
public:
    // The lock lies in `folder`; an empty one means the user's runtime
    // folder.
    explicit SingleInstance(const QString &folder = QString());
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when no other copy holds the lock; this object then holds it
    // until it ends. A lock that cannot be made at all does not keep the
    // player out either.
    bool acquire();
    bool isHeld() const;
    QString lockFilePath() const { return m_path; }

    // The user's runtime folder, or the temporary folder without one.
    static QString defaultFolder();
    static QString lockFileName();

private:
    QString m_path;
#ifdef Q_OS_UNIX
    int m_fd = -1;
#else
    std::unique_ptr<QLockFile> m_lockFile;
#endif
};
