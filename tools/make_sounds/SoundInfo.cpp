#include "SoundInfo.h"

#include "ByteReader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct MidiFacts
{
    int format = 0;
    int tracks = 0;
    int division = 0;
    int notes = 0;
    std::uint32_t endTick = 0;
    double seconds = 0.0;
};

MidiFacts readMidi(const Bytes &bytes)
{
    ByteReader header(bytes, 0, bytes.size());
    if (header.bigEndian(4) != 0x4D546864 || header.bigEndian(4) != 6)
        throw std::runtime_error("not a Standard MIDI File");
    MidiFacts facts;
    facts.format = static_cast<int>(header.bigEndian(2));
    facts.tracks = static_cast<int>(header.bigEndian(2));
    facts.division = static_cast<int>(header.bigEndian(2));
    if (facts.division <= 0 || facts.division >= 0x8000)
        throw std::runtime_error("only metrical time divisions are supported");

    std::map<std::uint32_t, std::uint32_t> tempoAt { { 0, 500000 } };
    std::size_t position = header.position();
    for (int t = 0; t < facts.tracks; ++t) {
        ByteReader chunkHeader(bytes, position, bytes.size());
        const std::uint32_t tag = chunkHeader.bigEndian(4);
        const std::uint32_t size = chunkHeader.bigEndian(4);
        const std::size_t begin = chunkHeader.position();
        if (size > bytes.size() - begin)
            throw std::runtime_error("truncated track");
        position = begin + size;
        if (tag != 0x4D54726B) {
            --t; // an unknown chunk: skip it
            continue;
        }
        ByteReader track(bytes, begin, position);
        std::uint32_t tick = 0;
        std::uint8_t status = 0;
        while (!track.atEnd()) {
            tick += track.variableLength();
            std::uint8_t first = track.byte();
            if (first & 0x80) {
                status = first;
                if (status < 0xF0)
                    first = track.byte();
            } else if (status == 0 || status >= 0xF0) {
                throw std::runtime_error("data byte without a status");
            }
            if (status == 0xFF) {
                const std::uint8_t type = track.byte();
                const std::uint32_t length = track.variableLength();
                if (type == 0x51 && length == 3)
                    tempoAt[tick] = track.bigEndian(3);
                else
                    track.skip(length);
                if (type == 0x2F)
                    break;
                status = 0;
            } else if (status == 0xF0 || status == 0xF7) {
                track.skip(track.variableLength());
                status = 0;
            } else {
                const int kind = status & 0xF0;
                if (kind != 0xC0 && kind != 0xD0) {
                    const std::uint8_t second = track.byte();
                    if (kind == 0x90 && second > 0)
                        ++facts.notes;
                }
            }
        }
        facts.endTick = std::max(facts.endTick, tick);
    }

    double micros = 0.0;
    std::uint32_t lastTick = 0;
    std::uint32_t lastTempo = 500000;
    for (const auto &[tick, tempo] : tempoAt) {
        if (tick >= facts.endTick)
            break;
        micros += static_cast<double>(tick - lastTick) * lastTempo / facts.division;
        lastTick = tick;
        lastTempo = tempo;
    }
    micros += static_cast<double>(facts.endTick - lastTick) * lastTempo / facts.division;
    facts.seconds = micros / 1e6;
    return facts;
}

std::string describeWave(const Bytes &bytes)
{
    ByteReader reader(bytes, 0, bytes.size());
    if (reader.bigEndian(4) != 0x52494646)
        throw std::runtime_error("not a RIFF file");
    reader.littleEndian(4);
    if (reader.bigEndian(4) != 0x57415645)
        throw std::runtime_error("not a WAVE file");
    int channels = 0;
    int rate = 0;
    int bits = 0;
    while (!reader.atEnd()) {
        const std::uint32_t tag = reader.bigEndian(4);
        const std::uint32_t size = reader.littleEndian(4);
        if (tag == 0x666D7420) { // "fmt "
            const std::size_t begin = reader.position();
            if (reader.littleEndian(2) != 1)
                throw std::runtime_error("not PCM");
            channels = static_cast<int>(reader.littleEndian(2));
            rate = static_cast<int>(reader.littleEndian(4));
            reader.littleEndian(4);
            reader.littleEndian(2);
            bits = static_cast<int>(reader.littleEndian(2));
            reader.skip(size - (reader.position() - begin));
        } else if (tag == 0x64617461) { // "data"
            if (bits != 16 || channels <= 0 || rate <= 0)
                throw std::runtime_error("only 16-bit PCM is described");
            const std::uint32_t frames = size / (2 * static_cast<std::uint32_t>(channels));
            int peak = 0;
            double energy = 0.0;
            for (std::uint32_t i = 0; i < size / 2; ++i) {
                const auto value = static_cast<std::int16_t>(reader.littleEndian(2));
                peak = std::max(peak, std::abs(static_cast<int>(value)));
                energy += static_cast<double>(value) * value;
            }
            const double rms = std::sqrt(energy / std::max<std::uint32_t>(1, size / 2)) / 32768.0;
            std::ostringstream out;
            out.setf(std::ios::fixed);
            out.precision(3);
            out << "WAVE " << rate << " Hz, " << channels << " channel(s), 16-bit, "
                << static_cast<double>(frames) / rate << " s, peak ";
            out.precision(1);
            out << 20.0 * std::log10(std::max(1, peak) / 32768.0) << " dBFS, rms "
                << 20.0 * std::log10(std::max(1e-9, rms)) << " dBFS";
            return out.str();
        } else {
            reader.skip(size + (size & 1));
        }
    }
    throw std::runtime_error("no sample data");
}

} // namespace

double SoundInfo::midiSeconds(const std::string &path)
{
    return readMidi(readFile(path)).seconds;
}

std::string SoundInfo::describe(const std::string &path)
{
    const Bytes bytes = readFile(path);
    if (bytes.size() >= 4 && bytes[0] == 'M' && bytes[1] == 'T' && bytes[2] == 'h' && bytes[3] == 'd') {
        const MidiFacts facts = readMidi(bytes);
        std::ostringstream out;
        out.setf(std::ios::fixed);
        out.precision(2);
        out << "MIDI format " << facts.format << ", " << facts.tracks << " tracks, " << facts.division
            << " ticks/quarter, " << facts.notes << " notes, " << facts.seconds << " s";
        return out.str();
    }
    if (bytes.size() >= 4 && bytes[0] == 'R' && bytes[1] == 'I' && bytes[2] == 'F' && bytes[3] == 'F')
        return describeWave(bytes);
    throw std::runtime_error("neither a MIDI nor a wave file");
}
