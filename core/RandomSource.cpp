#include "RandomSource.h"

#include "Clock.h"

#include <chrono>
#include <cstring>

namespace {
constexpr quint32 kMask = 0xFFFFFF;
quint32 g_state = 0x50000;
std::optional<quint32> g_fixedClockSeed;
} // namespace

double RandomSource::next()
{
    g_state = (g_state * 0x43FD43FDu + 0xC39EC3u) & kMask;
    return g_state / 16777216.0;
}

void RandomSource::randomize(double seed)
{
    quint64 bits = 0;
    std::memcpy(&bits, &seed, sizeof bits);
    const auto high = static_cast<quint32>(bits >> 32);
    const quint32 mixed = ((high & 0xFFFF) ^ (high >> 16)) << 8;
    g_state = (g_state & 0xFF) | (mixed & 0xFFFF00);
}

void RandomSource::randomizeFromClock()
{
    if (g_fixedClockSeed) {
        g_state = *g_fixedClockSeed & kMask;
        return;
    }
    // The time of day alone repeats within a clock tick; the steady clock's
    // nanoseconds make two seedings in the same second differ.
    const auto ticks = static_cast<quint64>(std::chrono::steady_clock::now().time_since_epoch().count());
    const auto msecs = static_cast<quint64>(Clock::timeOfDay().msecsSinceStartOfDay());
    quint64 h = (msecs * 0x9E3779B97F4A7C15ull) ^ ticks;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    g_state = static_cast<quint32>(h) & kMask;
}

void RandomSource::setState(quint32 state)
{
    g_state = state & kMask;
}

quint32 RandomSource::state()
{
    return g_state;
}

void RandomSource::setFixedClockSeed(std::optional<quint32> seed)
{
    g_fixedClockSeed = seed;
}
