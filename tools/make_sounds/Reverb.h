#pragma once

#include <vector>

// A small Schroeder room: four damped feedback combs in parallel, then two
// all-passes in series. Just enough air around the chimes and voices that
// they do not sound like test tones.
class Reverb
{
public:
    // `decay` is the comb feedback (0.6 small room .. 0.85 hall), `damping`
    // how quickly the highs die away in the tail (0 .. 1).
    Reverb(double decay, double damping);

    // Returns the wet signal only; the caller decides the mix.
    double process(double x);

private:
    struct Line
    {
        std::vector<double> buffer;
        std::size_t position = 0;
        double filterState = 0.0;
    };

    std::vector<Line> m_combs;
    std::vector<Line> m_allPasses;
    double m_decay;
    double m_damping;
};
