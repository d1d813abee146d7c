#include "TimeText.h"

#include <QStringList>

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
    // Read by hand rather than by a regular expression: the statistics are
    // read at start, and a pattern would load the regular expression
    // engine for it. ASCII digits only: QChar::isDigit would let other
    // scripts' digits in.
    const QStringList fields = text.trimmed().split(QLatin1Char(':'));
    if (fields.size() < 2 || fields.size() > 3)
        return std::nullopt;
    int values[3] = { 0, 0, 0 };
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString &field = fields.at(i);
        const bool widthOk = i == 0 ? field.size() == 1 || field.size() == 2 : field.size() == 2;
        if (!widthOk)
            return std::nullopt;
        for (const QChar c : field) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
            values[i] = values[i] * 10 + (c.unicode() - '0');
        }
    }
    const int h = values[0];
    const int min = values[1];
    const int s = values[2];
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
