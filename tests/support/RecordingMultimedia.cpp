#include "RecordingMultimedia.h"

#include "AppPath.h"

#include <QFileInfo>

void RecordingMultimedia::setCommand(const QString &command)
{
    QString file = FileName;
    const QString folder = AppPath::folder() + QLatin1Char('/');
    if (file.startsWith(folder))
        file = file.mid(folder.size());
    history << command + QLatin1Char(' ') + file;
    if (command == QLatin1String("open")) {
        m_open = true;
        m_mode = kModeStopped;
    } else if (command == QLatin1String("play")) {
        if (m_open)
            m_mode = kModePlaying;
    } else if (command == QLatin1String("stop")) {
        if (m_open)
            m_mode = kModeStopped;
    } else if (command == QLatin1String("close")) {
        m_open = false;
        m_mode = kModeNotOpen;
    }
}

QStringList RecordingMultimedia::effects() const
{
    QStringList out;
    for (const QString &entry : history)
        if (entry.startsWith(QLatin1String("sound ")))
            out << QFileInfo(entry.mid(6)).fileName();
    return out;
}
