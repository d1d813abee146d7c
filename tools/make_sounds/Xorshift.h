#pragma once

#include <cstdint>

// The generator's only source of randomness (noise, sparkle timing, velocity
// nuances). The standard distributions may differ between library versions,
// so numbers are derived here by hand: the same seed gives the same bytes on
// every machine.
class Xorshift
{
public:
    explicit Xorshift(std::uint64_t seed);

    std::uint64_t next();
    // Uniform in [0, 1).
    double uniform();
    double range(double low, double high);
    // Uniform integer in [0, count).
    int below(int count);

private:
    std::uint64_t m_state;
};
