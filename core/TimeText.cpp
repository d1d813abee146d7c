#include "TimeText.h"

#include <QRegularExpression>

QString TimeText::zero()
{
    return QStringLiteral("00:00:00");
}

QString TimeText::format(qint64 msecsOfDay)
{
    qint64 ms = msecsOfDay % kMsecsPerDay;
    if (ms < 0)
        ms += kMsecsPerDay;
    const qint64 seconds = ms / 1000;
    const auto twoDigits = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return twoDigits(seconds / 3600) + QLatin1Char(':') + twoDigits(seconds / 60 % 60) + QLatin1Char(':')
        + twoDigits(seconds % 60);
}

std::optional<qint64> TimeText::parse(const QString &text)
{
    // ASCII digits only: QChar::isDigit would let other scripts' digits in.
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int h = m.captured(1).toInt();
    const int min = m.captured(2).toInt();
    const int s = m.hasCaptured(3) ? m.captured(3).toInt() : 0;
    if (h > 23 || min > 59 || s > 59)
        return std::nullopt;
    return ((h * 60LL + min) * 60 + s) * 1000;
}

qint64 TimeText::elapsedMsecs(const QDateTime &from, const QDateTime &to)
{
    if (!from.isValid() || !to.isValid())
        return 0;
    return std::max<qint64>(0, from.msecsTo(to));
}
