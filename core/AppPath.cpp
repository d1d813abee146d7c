#include "AppPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <optional>

namespace {
QString g_folder;
QString g_userDataFolder;
QString g_cacheFolder;
// Whether the program folder took a file when last asked; a folder does not
// turn writable or read-only while the game runs, and the probe writes to
// the disk.
std::optional<bool> g_folderWritable;

bool takesFiles(const QString &folder)
{
    // Permission bits alone would call a read-only mount writable, and a
    // folder that root writes into anyway read-only: a file is really made.
    QTemporaryFile probe(folder + QStringLiteral("/.vexa-probe-XXXXXX"));
    return probe.open();
}
} // namespace

QString AppPath::folder()
{
    if (!g_folder.isEmpty())
        return g_folder;
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

void AppPath::setFolder(const QString &folder)
{
    g_folder = QDir::cleanPath(folder);
    g_folderWritable.reset();
}

void AppPath::reset()
{
    g_folder.clear();
    g_userDataFolder.clear();
    g_cacheFolder.clear();
    g_folderWritable.reset();
}

QString AppPath::file(const QString &literal)
{
    return join(folder(), literal);
}

QString AppPath::dataFolder()
{
    const QString program = folder();
    if (!g_folderWritable)
        g_folderWritable = takesFiles(program);
    if (*g_folderWritable)
        return program;
    const QString own = userDataFolder();
    // A failure shows when the first file is written there, with the
    // reason the system gives.
    QDir().mkpath(own);
    return own;
}

QString AppPath::dataFile(const QString &literal)
{
    return join(dataFolder(), literal);
}

QString AppPath::dataFileToRead(const QString &literal)
{
    const QString own = dataFile(literal);
    if (dataFolder() == folder() || QFileInfo::exists(own))
        return own;
    const QString beside = file(literal);
    return QFileInfo::exists(beside) ? beside : own;
}

QString AppPath::userDataFolder()
{
    if (!g_userDataFolder.isEmpty())
        return g_userDataFolder;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/vexa-sudoku");
}

void AppPath::setUserDataFolder(const QString &folder)
{
    g_userDataFolder = QDir::cleanPath(folder);
}

QString AppPath::cacheFolder()
{
    if (!g_cacheFolder.isEmpty())
        return g_cacheFolder;
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/vexa-sudoku");
}

void AppPath::setCacheFolder(const QString &folder)
{
    g_cacheFolder = QDir::cleanPath(folder);
}

QString AppPath::toNative(const QString &path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

QString AppPath::join(const QString &folder, const QString &literal)
{
    QString rel = toNative(literal);
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    return folder + QLatin1Char('/') + rel;
}
