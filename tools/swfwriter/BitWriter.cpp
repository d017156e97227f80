#include "BitWriter.h"

#include <algorithm>
#include <cassert>

namespace swfwriter
{

void BitWriter::u8(std::uint8_t value)
{
    align();
    m_data.push_back(value);
}

void BitWriter::u16(std::uint16_t value)
{
    u8(static_cast<std::uint8_t>(value & 0xff));
    u8(static_cast<std::uint8_t>(value >> 8));
}

void BitWriter::u32(std::uint32_t value)
{
    u16(static_cast<std::uint16_t>(value & 0xffff));
    u16(static_cast<std::uint16_t>(value >> 16));
}

void BitWriter::bytes(const std::vector<std::uint8_t>& data)
{
    align();
    m_data.insert(m_data.end(), data.begin(), data.end());
}

void BitWriter::string(std::string_view text)
{
    assert(text.find('\0') == std::string_view::npos);
    align();
    m_data.insert(m_data.end(), text.begin(), text.end());
    m_data.push_back(0);
}

void BitWriter::ubits(int count, std::uint32_t value)
{
    assert(count >= 0 && count <= 32);
    assert(count == 32 || value < (std::uint64_t{1} << count));
    for (int bit = count - 1; bit >= 0; --bit) {
        m_pending = static_cast<std::uint8_t>((m_pending << 1) | ((value >> bit) & 1));
        if (++m_pendingBits == 8) {
            m_data.push_back(m_pending);
            m_pending = 0;
            m_pendingBits = 0;
        }
    }
}

void BitWriter::sbits(int count, std::int32_t value)
{
    assert(count >= signedBits(value));
    const auto raw = static_cast<std::uint32_t>(value);
    ubits(count, count == 32 ? raw : raw & ((std::uint32_t{1} << count) - 1));
}

void BitWriter::align()
{
    if (m_pendingBits > 0)
        ubits(8 - m_pendingBits, 0);
}

const std::vector<std::uint8_t>& BitWriter::data() const
{
    assert(m_pendingBits == 0);
    return m_data;
}

int BitWriter::unsignedBits(std::uint32_t value)
{
    int bits = 0;
    while (value != 0) {
        ++bits;
        value >>= 1;
    }
    return bits;
}

int BitWriter::signedBits(std::int32_t value)
{
    // One bit for the sign plus the magnitude bits of the value (or of its complement).
    const auto magnitude = static_cast<std::uint32_t>(value < 0 ? ~value : value);
    return unsignedBits(magnitude) + 1;
}

} // namespace swfwriter
