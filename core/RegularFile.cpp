#include "RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

bool RegularFile::isRegular(const QString &path)
{
    // QFileInfo follows links, and calls a FIFO, a device or a socket no file.
    return QFileInfo(path).isFile();
}

bool RegularFile::open(QFile &file)
{
#ifdef Q_OS_UNIX
    // Opened without waiting and asked what it is only then, so that a FIFO
    // put in place after a check cannot block the open either.
    const int fd = ::open(
        QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    // A regular file never blocks; the flag goes so that the file behaves
    // as if opened the ordinary way.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    return isRegular(file.fileName()) && file.open(QIODevice::ReadOnly);
#endif
}

std::optional<QByteArray> RegularFile::read(const QString &path, qint64 maxBytes)
{
    QFile file(path);
    if (!open(file))
        return std::nullopt;
    // No more than the file holds: a buffer of the whole allowance would be
    // taken first and shrunk after.
    const QByteArray bytes = file.read(std::min(maxBytes, file.size()));
    // A read error is not an empty file.
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}
