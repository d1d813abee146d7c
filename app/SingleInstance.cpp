#include "SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

SingleInstance::SingleInstance(const QString &folder)
    : m_path(QDir(folder.isEmpty() ? defaultFolder() : folder).filePath(lockFileName()))
{ }

SingleInstance::~SingleInstance()
{
#ifdef Q_OS_UNIX
    // The file stays: removing it could let a copy that has just opened it
    // lock a name nobody else sees any more.
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

QString SingleInstance::defaultFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

QString SingleInstance::lockFileName()
{
    return QStringLiteral("Vexa Sudoku.lock");
}

bool SingleInstance::isHeld() const
{
#ifdef Q_OS_UNIX
    return m_fd >= 0;
#else
    return m_lockFile && m_lockFile->isLocked();
#endif
}

#ifdef Q_OS_UNIX

bool SingleInstance::acquire()
{
    if (m_fd >= 0)
        return true;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // Close-on-exec: a program the game starts must not inherit the lock
    // and keep it after the game has ended.
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true;
    // flock, not fcntl: its lock belongs to this open file, ends with the
    // last descriptor of it, and two opens conflict even in one process.
    int result = 0;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        return !taken;
    }
    m_fd = fd;
    // The holder's process id is written only once the lock is held, so
    // whoever reads it knows the lock is taken and by whom.
    QFile file;
    if (file.open(fd, QIODevice::ReadWrite, QFileDevice::DontCloseHandle) && file.resize(0))
        file.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n');
    return true;
}

#else

bool SingleInstance::acquire()
{
    if (isHeld())
        return true;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_lockFile = std::make_unique<QLockFile>(m_path);
    // Only a dead holder makes a lock stale, never its age: the game may
    // run for days.
    m_lockFile->setStaleLockTime(0);
    if (m_lockFile->tryLock(0))
        return true;
    const bool taken = m_lockFile->error() == QLockFile::LockFailedError;
    m_lockFile.reset();
    return !taken;
}

#endif
