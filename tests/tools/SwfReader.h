#pragma once

// A small SWF reader of the tests' own, written from the file format rather than from the
// writer, so that the two can disagree when the writer is wrong.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace swftest
{

class BitReader final
{
public:
    BitReader(const std::uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    std::uint32_t ubits(int count)
    {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            if (m_byte >= m_size)
                throw std::out_of_range("bit field runs past the data");
            const int bit = (m_data[m_byte] >> (7 - m_bit)) & 1;
            value = (value << 1) | static_cast<std::uint32_t>(bit);
            if (++m_bit == 8) {
                m_bit = 0;
                ++m_byte;
            }
        }
        return value;
    }
    std::int32_t sbits(int count)
    {
        if (count == 0)
            return 0;
        const std::uint32_t raw = ubits(count);
        const std::uint32_t sign = std::uint32_t{1} << (count - 1);
        return static_cast<std::int32_t>(raw ^ sign) - static_cast<std::int32_t>(sign);
    }
    void align()
    {
        if (m_bit != 0) {
            m_bit = 0;
            ++m_byte;
        }
    }
    std::uint8_t u8()
    {
        align();
        if (m_byte >= m_size)
            throw std::out_of_range("byte past the data");
        return m_data[m_byte++];
    }
    std::uint16_t u16()
    {
        const std::uint16_t low = u8();
        return static_cast<std::uint16_t>(low | (u8() << 8));
    }
    std::uint32_t u32()
    {
        const std::uint32_t low = u16();
        return low | (static_cast<std::uint32_t>(u16()) << 16);
    }
    std::string string()
    {
        std::string text;
        for (std::uint8_t c = u8(); c != 0; c = u8())
            text += static_cast<char>(c);
        return text;
    }
    [[nodiscard]] std::size_t position() const { return m_byte; }
    [[nodiscard]] bool atBitBoundary() const { return m_bit == 0; }
    [[nodiscard]] std::size_t size() const { return m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_byte = 0;
    int m_bit = 0;
};

struct Rect {
    std::int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

inline Rect readRect(BitReader& in)
{
    const int bits = static_cast<int>(in.ubits(5));
    Rect r;
    r.xMin = in.sbits(bits);
    r.xMax = in.sbits(bits);
    r.yMin = in.sbits(bits);
    r.yMax = in.sbits(bits);
    in.align();
    return r;
}

struct Matrix {
    double scaleX = 1, scaleY = 1, skew0 = 0, skew1 = 0;
    std::int32_t translateX = 0, translateY = 0; // twips
};

inline Matrix readMatrix(BitReader& in)
{
    Matrix m;
    if (in.ubits(1)) {
        const int bits = static_cast<int>(in.ubits(5));
        m.scaleX = in.sbits(bits) / 65536.0;
        m.scaleY = in.sbits(bits) / 65536.0;
    }
    if (in.ubits(1)) {
        const int bits = static_cast<int>(in.ubits(5));
        m.skew0 = in.sbits(bits) / 65536.0;
        m.skew1 = in.sbits(bits) / 65536.0;
    }
    const int bits = static_cast<int>(in.ubits(5));
    m.translateX = in.sbits(bits);
    m.translateY = in.sbits(bits);
    in.align();
    return m;
}

struct Tag {
    std::uint16_t code = 0;
    bool longHeader = false;
    std::vector<std::uint8_t> body;
};

struct Swf {
    char signature[3] = {};
    int version = 0;
    std::uint32_t fileLength = 0;
    Rect stage;
    double frameRate = 0;
    int frameCount = 0;
    std::vector<std::uint8_t> plain; // everything after the 8-byte header, decompressed
    std::vector<Tag> tags;
};

// Reads the tag list of a tag stream up to and including its End tag; throws when a length
// runs past the data or the End tag is missing.
inline std::vector<Tag> readTags(BitReader& in)
{
    std::vector<Tag> tags;
    while (true) {
        const std::uint16_t header = in.u16();
        Tag tag;
        tag.code = static_cast<std::uint16_t>(header >> 6);
        std::uint32_t length = header & 0x3f;
        if (length == 0x3f) {
            tag.longHeader = true;
            length = in.u32();
        }
        for (std::uint32_t i = 0; i < length; ++i)
            tag.body.push_back(in.u8());
        tags.push_back(std::move(tag));
        if (tags.back().code == 0)
            return tags;
    }
}

// Parses a whole file; throws for anything malformed.
Swf readSwf(const std::vector<std::uint8_t>& file);

std::vector<std::uint8_t> readFile(const std::string& path);

} // namespace swftest
