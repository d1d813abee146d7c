#pragma once

// A second-order filter section (direct form I, coefficients after Robert
// Bristow-Johnson's audio EQ cookbook). Setting new coefficients keeps the
// state, so a filter can sweep while it runs without clicking.
class Biquad
{
public:
    void setLowPass(double hz, double q);
    void setHighPass(double hz, double q);
    // Band-pass with 0 dB gain at the centre, as used for vowel formants.
    void setBandPass(double hz, double q);

    double process(double x);

private:
    void setNormalised(double b0, double b1, double b2, double a0, double a1, double a2);

    double m_b0 = 1.0, m_b1 = 0.0, m_b2 = 0.0, m_a1 = 0.0, m_a2 = 0.0;
    double m_x1 = 0.0, m_x2 = 0.0, m_y1 = 0.0, m_y2 = 0.0;
};
