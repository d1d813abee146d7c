#include "Xorshift.h"

Xorshift::Xorshift(std::uint64_t seed)
    : m_state(seed ? seed : 0x9E3779B97F4A7C15ull)
{
    // A few rounds so that small, similar seeds do not start out correlated.
    for (int i = 0; i < 8; ++i)
        next();
}

std::uint64_t Xorshift::next()
{
    m_state ^= m_state >> 12;
    m_state ^= m_state << 25;
    m_state ^= m_state >> 27;
    return m_state * 0x2545F4914F6CDD1Dull;
}

double Xorshift::uniform()
{
    return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
}

double Xorshift::range(double low, double high)
{
    return low + (high - low) * uniform();
}

int Xorshift::below(int count)
{
    return count > 0 ? static_cast<int>(next() % static_cast<std::uint64_t>(count)) : 0;
}
