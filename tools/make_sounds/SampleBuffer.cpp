#include "SampleBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <stdexcept>

namespace {

void putU16(std::vector<char> &out, std::uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void putU32(std::vector<char> &out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void putTag(std::vector<char> &out, const char *tag)
{
    out.insert(out.end(), tag, tag + 4);
}

double raisedCosine(double x)
{
    return 0.5 - 0.5 * std::cos(std::numbers::pi * x);
}

} // namespace

SampleBuffer::SampleBuffer(double seconds)
    : m_samples(static_cast<std::size_t>(std::lround(std::max(0.0, seconds) * kRate)), 0.0)
{ }

void SampleBuffer::mix(const SampleBuffer &other, double atSeconds, double gain)
{
    const long offset = std::lround(atSeconds * kRate);
    for (int i = 0; i < other.size(); ++i) {
        const long target = offset + i;
        if (target < 0)
            continue;
        if (target >= size())
            break;
        m_samples[static_cast<std::size_t>(target)] += gain * other[i];
    }
}

void SampleBuffer::fadeIn(double seconds)
{
    const int length = std::min(size(), static_cast<int>(std::lround(seconds * kRate)));
    for (int i = 0; i < length; ++i)
        m_samples[static_cast<std::size_t>(i)] *= raisedCosine(static_cast<double>(i) / length);
}

void SampleBuffer::fadeOut(double seconds)
{
    const int length = std::min(size(), static_cast<int>(std::lround(seconds * kRate)));
    for (int i = 0; i < length; ++i) {
        // The very last sample lands on exact silence.
        const double x = static_cast<double>(i + 1) / length;
        m_samples[static_cast<std::size_t>(size() - length + i)] *= raisedCosine(1.0 - x);
    }
}

double SampleBuffer::peak() const
{
    double result = 0.0;
    for (const double sample : m_samples)
        result = std::max(result, std::abs(sample));
    return result;
}

void SampleBuffer::normalise(double peakDb)
{
    const double current = peak();
    if (current <= 0.0)
        return;
    const double gain = std::pow(10.0, peakDb / 20.0) / current;
    for (double &sample : m_samples)
        sample *= gain;
}

void SampleBuffer::writeWav(const std::string &path) const
{
    const auto dataBytes = static_cast<std::uint32_t>(m_samples.size() * 2);
    std::vector<char> bytes;
    bytes.reserve(44 + dataBytes);
    putTag(bytes, "RIFF");
    putU32(bytes, 36 + dataBytes);
    putTag(bytes, "WAVE");
    putTag(bytes, "fmt ");
    putU32(bytes, 16);
    putU16(bytes, 1); // PCM
    putU16(bytes, 1); // mono
    putU32(bytes, kRate);
    putU32(bytes, kRate * 2); // bytes per second
    putU16(bytes, 2); // bytes per frame
    putU16(bytes, 16);
    putTag(bytes, "data");
    putU32(bytes, dataBytes);
    for (const double sample : m_samples) {
        const long value = std::clamp(std::lround(sample * 32767.0), -32768L, 32767L);
        putU16(bytes, static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
    }

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path);
}
