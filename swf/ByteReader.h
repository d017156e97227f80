#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace swf
{

// A movie that breaks the format: a length, count or offset that points outside its data, or a
// value no writer produces. Loading stops at the first one.
class MalformedMovie final : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads the format's little-endian fields and its bit fields from a byte range, checking every
// read against the end: running past it throws MalformedMovie instead of reading beyond.
class ByteReader final
{
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes)
        : m_bytes(bytes)
    {
    }

    [[nodiscard]] std::uint8_t u8();
    [[nodiscard]] std::uint16_t u16();
    [[nodiscard]] std::uint32_t u32();
    [[nodiscard]] std::int16_t s16() { return static_cast<std::int16_t>(u16()); }
    // 8.8 fixed point.
    [[nodiscard]] double fixed8() { return s16() / 256.0; }
    // 16.16 fixed point.
    [[nodiscard]] double fixed16() { return static_cast<std::int32_t>(u32()) / 65536.0; }
    [[nodiscard]] float f32();
    [[nodiscard]] double f64();
    // A NUL-terminated string; its bytes as they are (the movie's own encoding).
    [[nodiscard]] std::string string();
    [[nodiscard]] std::span<const std::uint8_t> bytes(std::size_t count);
    void skip(std::size_t count) { (void)bytes(count); }

    // Bit fields, most significant bit first; a byte read after them starts on the next byte.
    [[nodiscard]] std::uint32_t bits(unsigned count);
    [[nodiscard]] std::int32_t signedBits(unsigned count);
    [[nodiscard]] double fixedBits(unsigned count) { return signedBits(count) / 65536.0; }
    [[nodiscard]] bool flag() { return bits(1) != 0; }
    void alignToByte() { m_bitCount = 0; }

    [[nodiscard]] std::size_t position() const { return m_position; }
    [[nodiscard]] std::size_t remaining() const { return m_bytes.size() - m_position; }
    [[nodiscard]] bool atEnd() const { return remaining() == 0; }
    [[nodiscard]] std::span<const std::uint8_t> rest() const { return m_bytes.subspan(m_position); }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
    std::uint8_t m_bitBuffer = 0;
    unsigned m_bitCount = 0;
};

} // namespace swf
