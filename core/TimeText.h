#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// The game shows and stores times as "hh:mm:ss" texts of a time of day:
// spans longer than a day wrap after 23:59:59. Two such texts compare
// correctly as plain strings, which the fastest-time record relies on.
class TimeText
{
public:
    static constexpr qint64 kMsecsPerDay = 24LL * 60 * 60 * 1000;

    // "00:00:00" at rest; as a fastest time it means there is no record.
    static QString zero();

    // The time of day reached after the given milliseconds, negative ones
    // counting back from midnight; fractions of a second are cut.
    static QString format(qint64 msecsOfDay);

    // Milliseconds since midnight of "h:mm:ss", "hh:mm:ss" or "hh:mm",
    // blanks around allowed; nothing for any other text.
    static std::optional<qint64> parse(const QString &text);

    // Time passed from one moment to a later one, across midnight too;
    // never negative.
    static qint64 elapsedMsecs(const QDateTime &from, const QDateTime &to);
};
