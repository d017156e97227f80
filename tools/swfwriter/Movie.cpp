#include "Movie.h"

#include "Button.h"
#include "Records.h"
#include "Shape.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace swfwriter
{

Movie::Movie(double width, double height, double frameRate, Rgba background)
    : m_width(width)
    , m_height(height)
    , m_frameRate(frameRate)
    , m_background(background)
{
}

CharacterId Movie::nextId()
{
    if (m_lastId == 0xffff)
        throw std::length_error("too many characters in one movie");
    return ++m_lastId;
}

CharacterId Movie::define(const Shape& shape)
{
    const CharacterId id = nextId();
    const bool withAlpha = shape.needsAlpha();
    BitWriter body;
    body.u16(id);
    const auto [xMin, xMax, yMin, yMax] = shape.bounds();
    writeRect(body, xMin, xMax, yMin, yMax);
    shape.write(body, withAlpha);
    writeTag(m_definitions, withAlpha ? TagCode::DefineShape3 : TagCode::DefineShape, body.data());
    return id;
}

CharacterId Movie::define(const Timeline& sprite)
{
    const CharacterId id = nextId();
    BitWriter body;
    body.u16(id);
    body.u16(sprite.frameCount());
    body.bytes(sprite.tags());
    writeTag(m_definitions, TagCode::DefineSprite, body.data());
    return id;
}

CharacterId Movie::define(const Button& button)
{
    const CharacterId id = nextId();
    BitWriter body;
    body.u16(id);
    button.write(body);
    writeTag(m_definitions, TagCode::DefineButton2, body.data());
    return id;
}

std::vector<std::uint8_t> Movie::bytes(Compression compression) const
{
    BitWriter body;
    writeRect(body, 0, twips(m_width), 0, twips(m_height));
    // 8.8 fixed point frames per second.
    body.u16(static_cast<std::uint16_t>(std::lround(m_frameRate * 256)));
    body.u16(std::max<std::uint16_t>(1, m_timeline.frameCount()));
    {
        // FileAttributes must come first from version 8 on: no network access, no AS3.
        BitWriter attributes;
        attributes.u32(0);
        writeTag(body, TagCode::FileAttributes, attributes.data());
    }
    {
        BitWriter colour;
        writeRgb(colour, m_background);
        writeTag(body, TagCode::SetBackgroundColor, colour.data());
    }
    body.bytes(m_definitions.data());
    body.bytes(m_timeline.tags());

    const std::vector<std::uint8_t>& plain = body.data();
    const std::size_t fileLength = 8 + plain.size();
    if (fileLength > 0xffffffffu)
        throw std::length_error("movie too large");

    BitWriter file;
    file.u8(compression == Compression::Zlib ? 'C' : 'F');
    file.u8('W');
    file.u8('S');
    file.u8(version);
    // Both forms record the uncompressed length.
    file.u32(static_cast<std::uint32_t>(fileLength));
    if (compression == Compression::None) {
        file.bytes(plain);
        return file.data();
    }
    uLongf packedSize = compressBound(static_cast<uLong>(plain.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, plain.data(), static_cast<uLong>(plain.size()),
                  Z_BEST_COMPRESSION)
        != Z_OK)
        throw std::runtime_error("zlib could not compress the movie");
    packed.resize(packedSize);
    file.bytes(packed);
    return file.data();
}

void Movie::save(const std::filesystem::path& file, Compression compression) const
{
    const std::vector<std::uint8_t> data = bytes(compression);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

} // namespace swfwriter
