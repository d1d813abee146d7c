#include "SoundFont.h"

#include "AppPath.h"
#include "RegularFile.h"

namespace {

QString g_preferred;

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

QString SoundFont::resolved()
{
    for (const QString &path : candidates()) {
        if (isSoundFont(path))
            return path;
    }
    return {};
}
