#include "ByteReader.h"

#include <bit>
#include <cstring>

namespace swf
{

std::span<const std::uint8_t> ByteReader::bytes(std::size_t count)
{
    alignToByte();
    if (count > remaining())
        throw MalformedMovie("data ends in the middle of a record");
    const auto taken = m_bytes.subspan(m_position, count);
    m_position += count;
    return taken;
}

std::uint8_t ByteReader::u8()
{
    return bytes(1)[0];
}

std::uint16_t ByteReader::u16()
{
    const auto b = bytes(2);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

std::uint32_t ByteReader::u32()
{
    const auto b = bytes(4);
    return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16
           | std::uint32_t{b[3]} << 24;
}

float ByteReader::f32()
{
    return std::bit_cast<float>(u32());
}

double ByteReader::f64()
{
    // Action doubles store their high word first, each word little-endian.
    const std::uint64_t high = u32();
    const std::uint64_t low = u32();
    return std::bit_cast<double>(high << 32 | low);
}

std::string ByteReader::string()
{
    alignToByte();
    const auto rest = m_bytes.subspan(m_position);
    const auto* const end =
        static_cast<const std::uint8_t*>(std::memchr(rest.data(), 0, rest.size()));
    if (!end)
        throw MalformedMovie("a string has no end");
    const auto length = static_cast<std::size_t>(end - rest.data());
    std::string text(reinterpret_cast<const char*>(rest.data()), length);
    m_position += length + 1;
    return text;
}

std::uint32_t ByteReader::bits(unsigned count)
{
    if (count > 32)
        throw MalformedMovie("a bit field is wider than 32 bits");
    std::uint32_t value = 0;
    for (unsigned i = 0; i < count; ++i) {
        if (m_bitCount == 0) {
            if (atEnd())
                throw MalformedMovie("data ends in the middle of a bit field");
            m_bitBuffer = m_bytes[m_position++];
            m_bitCount = 8;
        }
        --m_bitCount;
        value = value << 1 | ((m_bitBuffer >> m_bitCount) & 1u);
    }
    return value;
}

std::int32_t ByteReader::signedBits(unsigned count)
{
    const std::uint32_t value = bits(count);
    if (count == 0 || count == 32)
        return static_cast<std::int32_t>(value);
    const std::uint32_t sign = 1u << (count - 1);
    return static_cast<std::int32_t>((value ^ sign) - sign);
}

} // namespace swf
