#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Walks a byte range of a file, refusing to read past its end: the files
// being checked may be damaged, and a check must not crash on them.
class ByteReader
{
public:
    ByteReader(const std::vector<std::uint8_t> &bytes, std::size_t begin, std::size_t end);

    bool atEnd() const { return m_position >= m_end; }
    std::size_t position() const { return m_position; }

    // Each throws std::runtime_error at the end of the range.
    std::uint8_t byte();
    std::uint32_t bigEndian(int count);
    std::uint32_t littleEndian(int count);
    // MIDI's variable-length quantity: seven bits a byte, high bit "more".
    std::uint32_t variableLength();
    void skip(std::size_t count);

private:
    const std::vector<std::uint8_t> &m_bytes;
    std::size_t m_position;
    std::size_t m_end;
};
