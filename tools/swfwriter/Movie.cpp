#include "Movie.h"

#include "Bitmap.h"
#include "Button.h"
#include "EditText.h"
#include "Font.h"
#include "MorphShape.h"
#include "Records.h"
#include "Shape.h"
#include "StaticText.h"

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
    const int version = shape.tagVersion();
    BitWriter body;
    body.u16(id);
    const auto [xMin, xMax, yMin, yMax] = shape.bounds();
    writeRect(body, xMin, xMax, yMin, yMax);
    if (version == 4) {
        const auto [exMin, exMax, eyMin, eyMax] = shape.edgeBounds();
        writeRect(body, exMin, exMax, eyMin, eyMax);
        body.u8(0x01); // even-odd fill, strokes scale with the shape
    }
    shape.write(body, version);
    const TagCode code = version == 4   ? TagCode::DefineShape4
                         : version == 3 ? TagCode::DefineShape3
                                        : TagCode::DefineShape;
    writeTag(m_definitions, code, body.data());
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

CharacterId Movie::define(const MorphShape& morph)
{
    const CharacterId id = nextId();
    BitWriter body;
    body.u16(id);
    morph.write(body);
    writeTag(m_definitions,
             morph.tagVersion() == 2 ? TagCode::DefineMorphShape2 : TagCode::DefineMorphShape,
             body.data());
    return id;
}

CharacterId Movie::define(const Font& font)
{
    const CharacterId id = nextId();
    BitWriter body;
    body.u16(id);
    font.write(body);
    writeTag(m_definitions, TagCode::DefineFont2, body.data());
    return id;
}

CharacterId Movie::define(const StaticText& text)
{
    const CharacterId id = nextId();
    BitWriter body;
    body.u16(id);
    text.write(body);
    writeTag(m_definitions, text.needsAlpha() ? TagCode::DefineText2 : TagCode::DefineText,
             body.data());
    return id;
}

CharacterId Movie::define(const EditText& text)
{
    const CharacterId id = nextId();
    BitWriter body;
    body.u16(id);
    text.write(body);
    writeTag(m_definitions, TagCode::DefineEditText, body.data());
    return id;
}

CharacterId Movie::define(const Bitmap& bitmap)
{
    const std::vector<std::uint8_t> pixels = bitmap.losslessPixels();
    if (bitmap.width > 0xffff || bitmap.height > 0xffff)
        throw std::invalid_argument("bitmap too large");
    const CharacterId id = nextId();
    BitWriter body;
    body.u16(id);
    body.u8(5); // 32 bits per pixel: 0RGB, or premultiplied ARGB
    body.u16(static_cast<std::uint16_t>(bitmap.width));
    body.u16(static_cast<std::uint16_t>(bitmap.height));
    body.bytes(deflated(pixels));
    writeTag(m_definitions,
             bitmap.opaque() ? TagCode::DefineBitsLossless : TagCode::DefineBitsLossless2,
             body.data());
    return id;
}

CharacterId Movie::defineJpeg(const std::vector<std::uint8_t>& jpeg)
{
    static_cast<void>(JpegParts::split(jpeg)); // refuses what is no JPEG file
    const CharacterId id = nextId();
    BitWriter body;
    body.u16(id);
    body.bytes(jpeg);
    writeTag(m_definitions, TagCode::DefineBitsJpeg2, body.data());
    return id;
}

CharacterId Movie::defineJpeg(const std::vector<std::uint8_t>& jpeg,
                              const std::vector<std::uint8_t>& alpha)
{
    const JpegParts parts = JpegParts::split(jpeg);
    if (alpha.size() != static_cast<std::size_t>(parts.width) * parts.height)
        throw std::invalid_argument("alpha plane size does not match the JPEG image");
    const CharacterId id = nextId();
    BitWriter body;
    body.u16(id);
    body.u32(static_cast<std::uint32_t>(jpeg.size())); // where the alpha plane starts
    body.bytes(jpeg);
    body.bytes(deflated(alpha));
    writeTag(m_definitions, TagCode::DefineBitsJpeg3, body.data());
    return id;
}

CharacterId Movie::defineJpegSharingTables(const std::vector<std::uint8_t>& jpeg)
{
    JpegParts parts = JpegParts::split(jpeg);
    if (!m_jpegTables) {
        writeTag(m_definitions, TagCode::JpegTables, parts.tables);
        m_jpegTables = std::move(parts.tables);
    } else if (*m_jpegTables != parts.tables) {
        throw std::invalid_argument("JPEG images of one movie must share their tables");
    }
    const CharacterId id = nextId();
    BitWriter body;
    body.u16(id);
    body.bytes(parts.image);
    writeTag(m_definitions, TagCode::DefineBits, body.data());
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
    file.bytes(deflated(plain));
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
