#include "Clock.h"

namespace {
QDateTime g_fixed;
}

QDateTime Clock::now()
{
    return g_fixed.isValid() ? g_fixed : QDateTime::currentDateTime();
}

QTime Clock::timeOfDay()
{
    return now().time();
}

double Clock::secondsSinceMidnight()
{
    return now().time().msecsSinceStartOfDay() / 1000.0;
}

void Clock::setFixed(const QDateTime &when)
{
    g_fixed = when;
}

void Clock::advance(qint64 msecs)
{
    if (g_fixed.isValid())
        g_fixed = g_fixed.addMSecs(msecs);
}

void Clock::reset()
{
    g_fixed = QDateTime();
}

bool Clock::isFixed()
{
    return g_fixed.isValid();
}
