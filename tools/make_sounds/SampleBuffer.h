#pragma once

#include <string>
#include <vector>

// A mono sound at the game's sample rate, in floating point until it is
// written out as 16-bit PCM.
class SampleBuffer
{
public:
    static constexpr int kRate = 44100;

    explicit SampleBuffer(double seconds);

    int size() const { return static_cast<int>(m_samples.size()); }
    double seconds() const { return static_cast<double>(m_samples.size()) / kRate; }
    double &operator[](int index) { return m_samples[static_cast<std::size_t>(index)]; }
    double operator[](int index) const { return m_samples[static_cast<std::size_t>(index)]; }

    // Adds `other` scaled by `gain`, starting `atSeconds` in; whatever would
    // run past the end is dropped.
    void mix(const SampleBuffer &other, double atSeconds, double gain);

    // Raised-cosine ramps: the start and the end must meet silence smoothly
    // or the player hears a click.
    void fadeIn(double seconds);
    void fadeOut(double seconds);

    double peak() const;
    // Scales the whole sound so that its loudest sample sits at `peakDb` dBFS.
    void normalise(double peakDb);

    // 16-bit PCM, mono, RIFF/WAVE. Throws std::runtime_error when the file
    // cannot be written.
    void writeWav(const std::string &path) const;

private:
    std::vector<double> m_samples;
};
