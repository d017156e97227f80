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

// Colours as read, RGB ones with alpha 255.
struct Colour {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Colour&) const = default;
};

inline Colour readColour(BitReader& in, bool withAlpha)
{
    Colour c;
    c.r = in.u8();
    c.g = in.u8();
    c.b = in.u8();
    if (withAlpha)
        c.a = in.u8();
    return c;
}

struct GradientStop {
    std::uint8_t ratio = 0;
    Colour colour;
};

struct FillStyle {
    std::uint8_t type = 0;
    Colour colour;
    Matrix matrix;
    int spread = 0;
    int interpolation = 0;
    std::vector<GradientStop> stops;
    double focalPoint = 0;
    std::uint16_t bitmap = 0;
};

struct LineStyle {
    std::uint16_t width = 0;
    int startCap = 0;
    int join = 0;
    bool hasFill = false;
    bool noClose = false;
    int endCap = 0;
    double miterLimit = 0; // 0 when the record carries none
    Colour colour;
    FillStyle fill;
};

// A shape's edges as the pen walks them, in twips.
struct Outline {
    int moves = 0;
    int styleChanges = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> points; // after each move and edge
    int edges = 0;
};

// Shape versions: 1, 2, 3 (RGBA colours) and 4 (LINESTYLE2 and focal gradients).
FillStyle readFillStyle(BitReader& in, int shapeVersion);
LineStyle readLineStyle(BitReader& in, int shapeVersion);
// Counted style arrays (0xff escapes to a 16-bit count).
std::vector<FillStyle> readFillStyles(BitReader& in, int shapeVersion);
std::vector<LineStyle> readLineStyles(BitReader& in, int shapeVersion);
// The SHAPE record from its fill and line bit counts to the end mark, which it aligns past;
// throws for new-style records, which the writer never produces.
Outline readOutline(BitReader& in);

// Parses a whole file; throws for anything malformed.
Swf readSwf(const std::vector<std::uint8_t>& file);

// The body of the first tag with the code; throws when there is none.
const std::vector<std::uint8_t>& tagBody(const Swf& swf, std::uint16_t code);
// The bodies of every tag with the code, in file order.
std::vector<std::vector<std::uint8_t>> tagBodies(const Swf& swf, std::uint16_t code);

std::vector<std::uint8_t> readFile(const std::string& path);

} // namespace swftest
