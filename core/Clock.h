#pragma once

#include <QDateTime>
#include <QTime>

// The one source of the date and the time of day. Tests fix it or move it
// forward; the program reads the system clock.
class Clock
{
public:
    static QDateTime now();
    static QTime timeOfDay();
    // Seconds since midnight with their fraction, as a timer value.
    static double secondsSinceMidnight();

    static void setFixed(const QDateTime &when);
    static void advance(qint64 msecs);
    static void reset();
    static bool isFixed();
};
