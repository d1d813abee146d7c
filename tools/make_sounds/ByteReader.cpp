#include "ByteReader.h"

#include <algorithm>
#include <stdexcept>

ByteReader::ByteReader(const std::vector<std::uint8_t> &bytes, std::size_t begin, std::size_t end)
    : m_bytes(bytes)
    , m_position(begin)
    , m_end(std::min(end, bytes.size()))
{ }

std::uint8_t ByteReader::byte()
{
    if (atEnd())
        throw std::runtime_error("truncated data");
    return m_bytes[m_position++];
}

std::uint32_t ByteReader::bigEndian(int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | byte();
    return value;
}

std::uint32_t ByteReader::littleEndian(int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value |= static_cast<std::uint32_t>(byte()) << (8 * i);
    return value;
}

std::uint32_t ByteReader::variableLength()
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t b = byte();
        value = (value << 7) | (b & 0x7F);
        if (!(b & 0x80))
            return value;
    }
    throw std::runtime_error("bad variable-length number");
}

void ByteReader::skip(std::size_t count)
{
    if (count > m_end - m_position)
        throw std::runtime_error("truncated data");
    m_position += count;
}
