#include "Biquad.h"

#include "SampleBuffer.h"

#include <cmath>
#include <numbers>

namespace {

struct Angle
{
    double cosine;
    double alpha;
};

Angle angleFor(double hz, double q)
{
    const double w0 = 2.0 * std::numbers::pi * hz / SampleBuffer::kRate;
    return { std::cos(w0), std::sin(w0) / (2.0 * q) };
}

} // namespace

void Biquad::setLowPass(double hz, double q)
{
    const Angle a = angleFor(hz, q);
    setNormalised((1.0 - a.cosine) / 2.0, 1.0 - a.cosine, (1.0 - a.cosine) / 2.0, 1.0 + a.alpha,
        -2.0 * a.cosine, 1.0 - a.alpha);
}

void Biquad::setHighPass(double hz, double q)
{
    const Angle a = angleFor(hz, q);
    setNormalised((1.0 + a.cosine) / 2.0, -(1.0 + a.cosine), (1.0 + a.cosine) / 2.0, 1.0 + a.alpha,
        -2.0 * a.cosine, 1.0 - a.alpha);
}

void Biquad::setBandPass(double hz, double q)
{
    const Angle a = angleFor(hz, q);
    setNormalised(a.alpha, 0.0, -a.alpha, 1.0 + a.alpha, -2.0 * a.cosine, 1.0 - a.alpha);
}

void Biquad::setNormalised(double b0, double b1, double b2, double a0, double a1, double a2)
{
    m_b0 = b0 / a0;
    m_b1 = b1 / a0;
    m_b2 = b2 / a0;
    m_a1 = a1 / a0;
    m_a2 = a2 / a0;
}

double Biquad::process(double x)
{
    const double y = m_b0 * x + m_b1 * m_x1 + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
    m_x2 = m_x1;
    m_x1 = x;
    m_y2 = m_y1;
    m_y1 = y;
    return y;
}
