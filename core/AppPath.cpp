#include "AppPath.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString g_folder;
}

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
}

void AppPath::reset()
{
    g_folder.clear();
}

QString AppPath::file(const QString &literal)
{
    QString rel = toNative(literal);
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    return folder() + QLatin1Char('/') + rel;
}

QString AppPath::toNative(const QString &path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}
