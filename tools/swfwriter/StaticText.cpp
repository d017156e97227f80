#include "StaticText.h"

#include "Font.h"
#include "Records.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace swfwriter
{

namespace
{

// A text record holds at most 255 glyphs; longer lines continue in a record of their own.
constexpr std::size_t glyphsPerRecord = 255;

std::int16_t twips16(double pixels)
{
    const std::int32_t value = twips(pixels);
    if (value < -32768 || value > 32767)
        throw std::out_of_range("text offset out of range");
    return static_cast<std::int16_t>(value);
}

} // namespace

void StaticText::add(CharacterId fontId, const Font& font, double height, Rgba colour,
                     Point baseline, std::u16string_view text)
{
    const std::int32_t heightTwips = twips(height);
    if (heightTwips <= 0 || heightTwips > 0xffff)
        throw std::out_of_range("text height out of range");
    double x = baseline.x;
    for (std::size_t start = 0; start < text.size(); start += glyphsPerRecord) {
        Run run{fontId,
                static_cast<std::uint16_t>(heightTwips),
                colour,
                twips16(x),
                twips16(baseline.y),
                {},
                {}};
        for (const char16_t c : text.substr(start, glyphsPerRecord)) {
            const auto glyph = font.glyphIndex(c);
            if (!glyph)
                throw std::invalid_argument("the font has no glyph for a character of the text");
            const double advance = font.advance(*glyph) * height / Font::emUnits;
            run.glyphs.push_back(static_cast<std::uint32_t>(*glyph));
            run.advances.push_back(twips(advance));
            x += advance;
        }
        m_runs.push_back(std::move(run));
    }
    const std::array<std::int32_t, 4> line = {
        twips(baseline.x), twips(x), twips(baseline.y - font.ascent() * height / Font::emUnits),
        twips(baseline.y + font.descent() * height / Font::emUnits)};
    if (!m_bounds) {
        m_bounds = line;
    } else {
        auto& b = *m_bounds;
        b = {std::min(b[0], line[0]), std::max(b[1], line[1]), std::min(b[2], line[2]),
             std::max(b[3], line[3])};
    }
}

bool StaticText::needsAlpha() const
{
    return std::any_of(m_runs.begin(), m_runs.end(),
                       [](const Run& run) { return !run.colour.opaque(); });
}

void StaticText::write(BitWriter& out) const
{
    const bool withAlpha = needsAlpha();
    const auto b = m_bounds.value_or(std::array<std::int32_t, 4>{});
    writeRect(out, b[0], b[1], b[2], b[3]);
    writeMatrix(out, Matrix{});
    int glyphBits = 1;
    int advanceBits = 0;
    for (const Run& run : m_runs) {
        for (const std::uint32_t glyph : run.glyphs)
            glyphBits = std::max(glyphBits, BitWriter::unsignedBits(glyph));
        for (const std::int32_t advance : run.advances)
            advanceBits = std::max(advanceBits, BitWriter::signedBits(advance));
    }
    out.u8(static_cast<std::uint8_t>(glyphBits));
    out.u8(static_cast<std::uint8_t>(advanceBits));
    for (const Run& run : m_runs) {
        // Record type 1 with font, colour and both offsets.
        out.u8(0x80 | 0x08 | 0x04 | 0x02 | 0x01);
        out.u16(run.font);
        if (withAlpha)
            writeRgba(out, run.colour);
        else
            writeRgb(out, run.colour);
        out.u16(static_cast<std::uint16_t>(run.x));
        out.u16(static_cast<std::uint16_t>(run.y));
        out.u16(run.height);
        out.u8(static_cast<std::uint8_t>(run.glyphs.size()));
        for (std::size_t i = 0; i < run.glyphs.size(); ++i) {
            out.ubits(glyphBits, run.glyphs[i]);
            out.sbits(advanceBits, run.advances[i]);
        }
        out.align();
    }
    out.u8(0); // end of records
}

} // namespace swfwriter
