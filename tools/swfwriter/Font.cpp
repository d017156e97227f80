#include "Font.h"

#include "Records.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace swfwriter
{

namespace
{

std::int16_t emValue(double units)
{
    return static_cast<std::int16_t>(std::lround(std::clamp(units, -32768.0, 32767.0)));
}

} // namespace

Font::Font(std::string name)
    : m_name(std::move(name))
{
    if (m_name.empty() || m_name.size() > 0xff)
        throw std::invalid_argument("a font name has 1 to 255 bytes");
}

void Font::addGlyph(char16_t code, Shape outline, double advance)
{
    const auto at = std::lower_bound(m_glyphs.begin(), m_glyphs.end(), code,
                                     [](const Glyph& g, char16_t c) { return g.code < c; });
    if (at != m_glyphs.end() && at->code == code)
        throw std::invalid_argument("a font holds each character once");
    if (m_glyphs.size() == 0xffff)
        throw std::length_error("too many glyphs in one font");
    m_glyphs.insert(at, Glyph{code, std::move(outline), advance});
}

void Font::setMetrics(double ascent, double descent, double leading)
{
    m_ascent = ascent;
    m_descent = descent;
    m_leading = leading;
}

std::optional<std::size_t> Font::glyphIndex(char16_t code) const
{
    const auto at = std::lower_bound(m_glyphs.begin(), m_glyphs.end(), code,
                                     [](const Glyph& g, char16_t c) { return g.code < c; });
    if (at == m_glyphs.end() || at->code != code)
        return std::nullopt;
    return static_cast<std::size_t>(at - m_glyphs.begin());
}

double Font::advance(std::size_t glyph) const
{
    return m_glyphs.at(glyph).advance;
}

void Font::write(BitWriter& out) const
{
    std::vector<std::vector<std::uint8_t>> outlines;
    std::size_t outlineBytes = 0;
    for (const Glyph& glyph : m_glyphs) {
        BitWriter shape;
        glyph.outline.writeOutline(shape);
        outlines.push_back(shape.data());
        outlineBytes += outlines.back().size();
    }
    // Offsets count from the start of the offset table, which holds one entry per glyph and
    // the code table's offset; they widen to 32 bits when 16 do not reach the code table.
    const std::size_t entries = m_glyphs.size() + 1;
    const bool wideOffsets = entries * 2 + outlineBytes > 0xffff;
    const std::size_t entrySize = wideOffsets ? 4 : 2;

    const bool layout = !m_glyphs.empty();
    std::uint8_t flags = 0x04; // wide (16-bit) codes, as every movie from version 6 on uses
    if (layout)
        flags |= 0x80;
    if (wideOffsets)
        flags |= 0x08;
    out.u8(flags);
    out.u8(1); // language: Latin
    out.u8(static_cast<std::uint8_t>(m_name.size()));
    for (const char c : m_name)
        out.u8(static_cast<std::uint8_t>(c));
    out.u16(static_cast<std::uint16_t>(m_glyphs.size()));

    std::size_t offset = entries * entrySize;
    const auto entry = [&out, wideOffsets](std::size_t value) {
        if (wideOffsets)
            out.u32(static_cast<std::uint32_t>(value));
        else
            out.u16(static_cast<std::uint16_t>(value));
    };
    for (const auto& outline : outlines) {
        entry(offset);
        offset += outline.size();
    }
    entry(offset); // the code table follows the last outline
    for (const auto& outline : outlines)
        out.bytes(outline);
    for (const Glyph& glyph : m_glyphs)
        out.u16(static_cast<std::uint16_t>(glyph.code));
    if (!layout)
        return;

    out.u16(static_cast<std::uint16_t>(std::max<std::int16_t>(0, emValue(m_ascent))));
    out.u16(static_cast<std::uint16_t>(std::max<std::int16_t>(0, emValue(m_descent))));
    out.u16(static_cast<std::uint16_t>(emValue(m_leading)));
    for (const Glyph& glyph : m_glyphs)
        out.u16(static_cast<std::uint16_t>(emValue(glyph.advance)));
    for (const Glyph& glyph : m_glyphs) {
        const auto b = glyph.outline.edgeBounds();
        writeRect(out, b[0], b[1], b[2], b[3]);
    }
    out.u16(0); // no kerning pairs
}

} // namespace swfwriter
