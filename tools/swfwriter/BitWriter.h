#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace swfwriter
{

// Appends SWF's mixed byte and bit fields to a buffer: bytes are little-endian, bit fields are
// packed most significant bit first, and every byte-level write first pads the pending bits.
class BitWriter final
{
public:
    void u8(std::uint8_t value);
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void bytes(const std::vector<std::uint8_t>& data);
    // Null-terminated, as SWF stores every string.
    void string(std::string_view text);

    void ubits(int count, std::uint32_t value);
    void sbits(int count, std::int32_t value);
    // Pads the current byte with zero bits.
    void align();

    [[nodiscard]] std::size_t size() const { return m_data.size(); }
    // The written bytes; call align() first when bit fields were written last.
    [[nodiscard]] const std::vector<std::uint8_t>& data() const;

    // Smallest field widths that hold the values (at least 1 for signed fields, for their sign).
    [[nodiscard]] static int unsignedBits(std::uint32_t value);
    [[nodiscard]] static int signedBits(std::int32_t value);
    template <typename... Values>
    [[nodiscard]] static int signedBits(std::int32_t first, Values... rest)
    {
        int bits = signedBits(first);
        ((bits = std::max(bits, signedBits(rest))), ...);
        return bits;
    }

private:
    std::vector<std::uint8_t> m_data;
    std::uint8_t m_pending = 0;
    int m_pendingBits = 0;
};

} // namespace swfwriter
