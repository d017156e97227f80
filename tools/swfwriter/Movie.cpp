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

Movie::Movie(double width, double height, double frameRate, Rgba background, std::uint8_t version)
    : m_width(width)
    , m_height(height)
    , m_frameRate(frameRate)
    , m_background(background)
    , m_version(version)
{
}

CharacterId Movie::defineTag(TagCode code, const BitWriter& body)
{
    const CharacterId id = nextId();
    BitWriter tag;
    tag.u16(id);
    tag.bytes(body.data());
    writeTag(m_definitions, code, tag.data());
    return id;
}

CharacterId Movie::nextId()
{
    if (m_lastId == 0xffff)
        throw std::length_error("too many characters in one movie");
    return ++m_lastId;
}

CharacterId Movie::define(const Shape& shape)
{
    const int version = shape.tagVersion();
    BitWriter body;
    const auto [xMin, xMax, yMin, yMax] = shape.bounds();
    writeRect(body, xMin, xMax, yMin, yMax);
    if (version == 4) {
        const auto [exMin, exMax, eyMin, eyMax] = shape.edgeBounds();
        writeRect(body, exMin, exMax, eyMin, eyMax);
        constexpr std::uint8_t scalingStrokes = 0x01;
        constexpr std::uint8_t nonZeroWinding = 0x04;
        body.u8(shape.nonZeroWinding() ? scalingStrokes | nonZeroWinding : scalingStrokes);
    }
    shape.write(body, version);
    const TagCode code = version == 4   ? TagCode::DefineShape4
                         : version == 3 ? TagCode::DefineShape3
                                        : TagCode::DefineShape;
    return defineTag(code, body);
}

CharacterId Movie::defineSound(const std::vector<std::int16_t>& samples)
{
    BitWriter body;
    body.ubits(4, 3); // uncompressed, little-endian
    body.ubits(2, 2); // 22,050 Hz
    body.ubits(1, 1); // 16-bit
    body.ubits(1, 0); // mono
    body.align();
    body.u32(static_cast<std::uint32_t>(samples.size()));
    for (const std::int16_t sample : samples)
        body.u16(static_cast<std::uint16_t>(sample));
    return defineTag(TagCode::DefineSound, body);
}

CharacterId Movie::define(const Timeline& sprite)
{
    BitWriter body;
    body.u16(sprite.frameCount());
    body.bytes(sprite.tags());
    return defineTag(TagCode::DefineSprite, body);
}

CharacterId Movie::define(const Button& button)
{
    BitWriter body;
    button.write(body);
    return defineTag(TagCode::DefineButton2, body);
}

CharacterId Movie::define(const MorphShape& morph)
{
    BitWriter body;
    morph.write(body);
    return defineTag(
        morph.tagVersion() == 2 ? TagCode::DefineMorphShape2 : TagCode::DefineMorphShape, body);
}

CharacterId Movie::define(const Font& font)
{
    BitWriter body;
    font.write(body);
    return defineTag(TagCode::DefineFont2, body);
}

CharacterId Movie::define(const StaticText& text)
{
    BitWriter body;
    text.write(body);
    return defineTag(text.needsAlpha() ? TagCode::DefineText2 : TagCode::DefineText, body);
}

CharacterId Movie::define(const EditText& text)
{
    BitWriter body;
    text.write(body);
    return defineTag(TagCode::DefineEditText, body);
}

CharacterId Movie::define(const Bitmap& bitmap)
{
    const std::vector<std::uint8_t> pixels = bitmap.losslessPixels();
    if (bitmap.width > 0xffff || bitmap.height > 0xffff)
        throw std::invalid_argument("bitmap too large");
    BitWriter body;
    body.u8(5); // 32 bits per pixel: 0RGB, or premultiplied ARGB
    body.u16(static_cast<std::uint16_t>(bitmap.width));
    body.u16(static_cast<std::uint16_t>(bitmap.height));
    body.bytes(deflated(pixels));
    return defineTag(bitmap.opaque() ? TagCode::DefineBitsLossless : TagCode::DefineBitsLossless2,
                     body);
}

CharacterId Movie::defineJpeg(const std::vector<std::uint8_t>& jpeg)
{
    static_cast<void>(JpegParts::split(jpeg)); // refuses what is no JPEG file
    BitWriter body;
    body.bytes(jpeg);
    return defineTag(TagCode::DefineBitsJpeg2, body);
}

CharacterId Movie::defineJpeg(const std::vector<std::uint8_t>& jpeg,
                              const std::vector<std::uint8_t>& alpha)
{
    const JpegParts parts = JpegParts::split(jpeg);
    if (alpha.size() != static_cast<std::size_t>(parts.width) * parts.height)
        throw std::invalid_argument("alpha plane size does not match the JPEG image");
    BitWriter body;
    body.u32(static_cast<std::uint32_t>(jpeg.size())); // where the alpha plane starts
    body.bytes(jpeg);
    body.bytes(deflated(alpha));
    return defineTag(TagCode::DefineBitsJpeg3, body);
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
    BitWriter body;
    body.bytes(parts.image);
    return defineTag(TagCode::DefineBits, body);
}

std::vector<std::uint8_t> Movie::bytes(Compression compression) const
{
    BitWriter body;
    writeRect(body, 0, twips(m_width), 0, twips(m_height));
    // 8.8 fixed point frames per second.
    body.u16(static_cast<std::uint16_t>(std::lround(m_frameRate * 256)));
    body.u16(std::max<std::uint16_t>(1, m_timeline.frameCount()));
    {
        // FileAttributes must come first from version 8 on: no network access, no AS3. Older
        // players skip it.
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
    file.u8(m_version);
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
