#include "Records.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace swfwriter
{

namespace
{

// 16.16 fixed point, as the matrix stores its scale and skew factors.
std::int32_t fixed16(double value)
{
    return static_cast<std::int32_t>(std::lround(value * 65536));
}

// 8.8 fixed point for colour multipliers, clamped so that they fit the record's 15-bit fields.
std::int32_t fixed8(double value)
{
    return static_cast<std::int32_t>(std::lround(std::clamp(value, -63.0, 63.0) * 256));
}

} // namespace

std::int32_t twips(double pixels)
{
    return static_cast<std::int32_t>(std::lround(pixels * 20));
}

void writeTag(BitWriter& out, TagCode code, const std::vector<std::uint8_t>& body)
{
    const auto tag = static_cast<std::uint16_t>(static_cast<std::uint16_t>(code) << 6);
    if (body.size() < 0x3f) {
        out.u16(static_cast<std::uint16_t>(tag | body.size()));
    } else {
        if (body.size() > 0x7fffffff)
            throw std::length_error("SWF tag body too large");
        out.u16(static_cast<std::uint16_t>(tag | 0x3f));
        out.u32(static_cast<std::uint32_t>(body.size()));
    }
    out.bytes(body);
}

void writeRect(BitWriter& out, std::int32_t xMin, std::int32_t xMax, std::int32_t yMin,
               std::int32_t yMax)
{
    const int bits = BitWriter::signedBits(xMin, xMax, yMin, yMax);
    out.ubits(5, static_cast<std::uint32_t>(bits));
    out.sbits(bits, xMin);
    out.sbits(bits, xMax);
    out.sbits(bits, yMin);
    out.sbits(bits, yMax);
    out.align();
}

void writeMatrix(BitWriter& out, const Matrix& matrix)
{
    const std::int32_t scaleX = fixed16(matrix.scaleX);
    const std::int32_t scaleY = fixed16(matrix.scaleY);
    const bool hasScale = scaleX != 65536 || scaleY != 65536;
    out.ubits(1, hasScale ? 1 : 0);
    if (hasScale) {
        const int bits = BitWriter::signedBits(scaleX, scaleY);
        out.ubits(5, static_cast<std::uint32_t>(bits));
        out.sbits(bits, scaleX);
        out.sbits(bits, scaleY);
    }
    const std::int32_t skew0 = fixed16(matrix.skew0);
    const std::int32_t skew1 = fixed16(matrix.skew1);
    const bool hasRotate = skew0 != 0 || skew1 != 0;
    out.ubits(1, hasRotate ? 1 : 0);
    if (hasRotate) {
        const int bits = BitWriter::signedBits(skew0, skew1);
        out.ubits(5, static_cast<std::uint32_t>(bits));
        out.sbits(bits, skew0);
        out.sbits(bits, skew1);
    }
    const std::int32_t x = twips(matrix.translateX);
    const std::int32_t y = twips(matrix.translateY);
    // Zero translation may use zero bits: the record then carries no translate fields.
    const int bits = (x == 0 && y == 0) ? 0 : BitWriter::signedBits(x, y);
    out.ubits(5, static_cast<std::uint32_t>(bits));
    if (bits > 0) {
        out.sbits(bits, x);
        out.sbits(bits, y);
    }
    out.align();
}

void writeColorTransform(BitWriter& out, const ColorTransform& transform)
{
    const std::int32_t multiply[] = {fixed8(transform.multiplyR), fixed8(transform.multiplyG),
                                     fixed8(transform.multiplyB), fixed8(transform.multiplyA)};
    const std::int32_t add[] = {
        std::clamp(transform.addR, -255, 255), std::clamp(transform.addG, -255, 255),
        std::clamp(transform.addB, -255, 255), std::clamp(transform.addA, -255, 255)};
    bool hasMultiply = false;
    bool hasAdd = false;
    int bits = 1;
    for (int i = 0; i < 4; ++i) {
        hasMultiply = hasMultiply || multiply[i] != 256;
        hasAdd = hasAdd || add[i] != 0;
    }
    for (int i = 0; i < 4; ++i) {
        if (hasMultiply)
            bits = std::max(bits, BitWriter::signedBits(multiply[i]));
        if (hasAdd)
            bits = std::max(bits, BitWriter::signedBits(add[i]));
    }
    out.ubits(1, hasAdd ? 1 : 0);
    out.ubits(1, hasMultiply ? 1 : 0);
    out.ubits(4, static_cast<std::uint32_t>(bits));
    if (hasMultiply)
        for (const std::int32_t value : multiply)
            out.sbits(bits, value);
    if (hasAdd)
        for (const std::int32_t value : add)
            out.sbits(bits, value);
    out.align();
}

void writeRgb(BitWriter& out, Rgba colour)
{
    out.u8(colour.r);
    out.u8(colour.g);
    out.u8(colour.b);
}

void writeRgba(BitWriter& out, Rgba colour)
{
    writeRgb(out, colour);
    out.u8(colour.a);
}

std::vector<std::uint8_t> deflated(const std::vector<std::uint8_t>& data)
{
    uLongf packedSize = compressBound(static_cast<uLong>(data.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, data.data(), static_cast<uLong>(data.size()),
                  Z_BEST_COMPRESSION)
        != Z_OK)
        throw std::runtime_error("zlib could not compress");
    packed.resize(packedSize);
    return packed;
}

} // namespace swfwriter
