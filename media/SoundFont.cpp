#include "SoundFont.h"

#include "AppPath.h"
#include "RegularFile.h"

#include <QFileInfo>
#include <QSet>
#include <mutex>

namespace {

QString g_preferred;
std::mutex g_refusedLock;
// A refused file is known by its name, size and time, so that a fixed
// one is tried again.
QSet<QString> g_refused;

QString identity(const QString &path)
{
    const QFileInfo info(path);
    return info.absoluteFilePath() + QLatin1Char('\n') + QString::number(info.size()) + QLatin1Char('\n')
        + QString::number(info.lastModified().toMSecsSinceEpoch());
}

bool isSoundFont(const QString &path)
{
    const std::optional<QByteArray> head = RegularFile::read(path, 12);
    return head && head->size() == 12 && head->startsWith("RIFF") && head->mid(8, 4) == "sfbk";
}

} // namespace

void SoundFont::setPreferred(const QString &path)
{
    g_preferred = path;
}

QString SoundFont::preferred()
{
    return g_preferred;
}

QStringList SoundFont::candidates()
{
    QStringList list;
    if (!g_preferred.isEmpty())
        list << g_preferred;
    list << AppPath::file(QStringLiteral("bkmusic/TimGM6mb.sf2"));
    list << QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2");
    return list;
}

QStringList SoundFont::usable(const QStringList &candidates)
{
    QStringList list;
    for (const QString &path : candidates) {
        if (!isSoundFont(path))
            continue;
        std::lock_guard lock(g_refusedLock);
        if (!g_refused.contains(identity(path)))
            list << path;
    }
    return list;
}

QString SoundFont::resolved()
{
    const QStringList list = usable(candidates());
    return list.isEmpty() ? QString() : list.first();
}

void SoundFont::refuse(const QString &path)
{
    const QString id = identity(path);
    std::lock_guard lock(g_refusedLock);
    g_refused.insert(id);
}
