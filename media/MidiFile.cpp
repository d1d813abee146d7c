#include "MidiFile.h"

#include <QtEndian>

bool MidiFile::isStandard(const QByteArray &bytes)
{
    if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "RMID")
        return true;
    if (!bytes.startsWith("MThd") || bytes.size() < 8)
        return false;
    const quint32 headerLength = qFromBigEndian<quint32>(bytes.constData() + 4);
    if (headerLength < 6 || headerLength > 1024 || bytes.size() < qsizetype(8 + headerLength + 4))
        return false;
    return bytes.mid(8 + headerLength, 4) == "MTrk";
}
