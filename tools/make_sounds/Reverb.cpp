#include "Reverb.h"

#include <array>

Reverb::Reverb(double decay, double damping)
    : m_decay(decay)
    , m_damping(damping)
{
    // Mutually prime lengths (in samples at 44.1 kHz) so the combs do not
    // reinforce each other into a metallic ring.
    constexpr std::array combLengths { 1117, 1189, 1277, 1361 };
    constexpr std::array allPassLengths { 557, 443 };
    for (const int length : combLengths)
        m_combs.push_back(Line { std::vector<double>(static_cast<std::size_t>(length), 0.0) });
    for (const int length : allPassLengths)
        m_allPasses.push_back(Line { std::vector<double>(static_cast<std::size_t>(length), 0.0) });
}

double Reverb::process(double x)
{
    double sum = 0.0;
    for (Line &comb : m_combs) {
        const double delayed = comb.buffer[comb.position];
        comb.filterState = delayed * (1.0 - m_damping) + comb.filterState * m_damping;
        comb.buffer[comb.position] = x + comb.filterState * m_decay;
        comb.position = (comb.position + 1) % comb.buffer.size();
        sum += delayed;
    }
    double y = sum * 0.25;
    for (Line &allPass : m_allPasses) {
        const double delayed = allPass.buffer[allPass.position];
        const double input = y + 0.5 * delayed;
        allPass.buffer[allPass.position] = input;
        allPass.position = (allPass.position + 1) % allPass.buffer.size();
        y = delayed - 0.5 * input;
    }
    return y;
}
