#include "Text.h"

#include "Records.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <variant>

namespace swf
{
namespace
{

// The part of a name up to its first NUL: several writers count a terminator in the length.
[[nodiscard]] std::string readName(ByteReader& reader, std::size_t length)
{
    const auto bytes = reader.bytes(length);
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return {bytes.begin(), end};
}

void include(Rect& bounds, bool& empty, Point p)
{
    if (empty) {
        bounds = {p.x, p.x, p.y, p.y};
        empty = false;
        return;
    }
    bounds.xMin = std::min(bounds.xMin, p.x);
    bounds.xMax = std::max(bounds.xMax, p.x);
    bounds.yMin = std::min(bounds.yMin, p.y);
    bounds.yMax = std::max(bounds.yMax, p.y);
}

// The extent of a glyph's edges (control points included), in em units.
[[nodiscard]] Rect extent(const std::vector<ShapeRecord>& records)
{
    Rect bounds;
    bool empty = true;
    Point pen;
    for (const ShapeRecord& record : records) {
        if (const auto* change = std::get_if<StyleChange>(&record)) {
            if (change->moveTo)
                pen = *change->moveTo;
            continue;
        }
        const Edge& edge = std::get<Edge>(record);
        include(bounds, empty, pen);
        if (edge.control)
            include(bounds, empty, *edge.control);
        include(bounds, empty, edge.to);
        pen = edge.to;
    }
    return bounds;
}

// A glyph is a shape without style arrays whose fill style 1 is the glyph itself, painted in
// the text's colour.
[[nodiscard]] Shape readGlyph(std::span<const std::uint8_t> data)
{
    if (data.empty())
        return {};
    ByteReader reader(data);
    auto records = readShapeRecords(reader, ShapeFormat{1});
    const Rect bounds = extent(records);
    return buildShape(ShapeOutline{Styles{{FillStyle{}}, {}}, std::move(records)}, bounds);
}

// The glyphs between consecutive offsets of `data`, the last one ending at `end`.
[[nodiscard]] std::vector<Shape> readGlyphs(std::span<const std::uint8_t> data,
                                            const std::vector<std::uint32_t>& offsets,
                                            std::size_t tableSize, std::size_t end)
{
    if (end > data.size())
        throw MalformedMovie("a font's glyphs run past its data");
    std::vector<Shape> glyphs;
    glyphs.reserve(offsets.size());
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        const std::size_t start = offsets[i];
        const std::size_t stop = i + 1 < offsets.size() ? offsets[i + 1] : end;
        if (start < tableSize || start > stop || stop > end)
            throw MalformedMovie("a glyph's offset lies outside the font's glyph data");
        glyphs.push_back(readGlyph(data.subspan(start, stop - start)));
    }
    return glyphs;
}

[[nodiscard]] std::vector<std::uint16_t> readCodes(ByteReader& reader, std::size_t count, bool wide)
{
    if (count * (wide ? 2 : 1) > reader.remaining())
        throw MalformedMovie("a font's code table is shorter than its glyph count");
    std::vector<std::uint16_t> codes;
    codes.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        codes.push_back(wide ? reader.u16() : reader.u8());
    return codes;
}

[[nodiscard]] Font readFont1(ByteReader& reader)
{
    Font font;
    const auto data = reader.rest();
    reader.skip(reader.remaining());
    if (data.empty())
        return font; // a font for device text only
    ByteReader table(data);
    const std::size_t first = table.u16();
    if (first == 0 || first % 2 != 0)
        throw MalformedMovie("a font's offset table has an odd size");
    const std::size_t count = first / 2;
    if (first > data.size())
        throw MalformedMovie("a font's offset table runs past its data");
    std::vector<std::uint32_t> offsets{static_cast<std::uint32_t>(first)};
    offsets.reserve(count);
    for (std::size_t i = 1; i < count; ++i)
        offsets.push_back(table.u16());
    font.glyphs = readGlyphs(data, offsets, first, data.size());
    return font;
}

[[nodiscard]] Font readFont2(TextTag tag, ByteReader& reader)
{
    Font font;
    const std::uint8_t flags = reader.u8();
    const bool hasLayout = flags & 0x80;
    const bool wideOffsets = flags & 0x08;
    const bool wideCodes = tag == TextTag::DefineFont3 || (flags & 0x04);
    font.italic = flags & 0x02;
    font.bold = flags & 0x01;
    if (tag == TextTag::DefineFont3)
        font.emSize = 20480;
    (void)reader.u8(); // language
    font.name = readName(reader, reader.u8());
    const std::size_t count = reader.u16();
    if (count == 0) {
        // Nothing of the tables that follow (if written at all) can be drawn.
        reader.skip(reader.remaining());
        return font;
    }

    const auto data = reader.rest();
    const std::size_t offsetBytes = wideOffsets ? 4 : 2;
    const std::size_t tableSize = (count + 1) * offsetBytes;
    if (tableSize > data.size())
        throw MalformedMovie("a font's offset table runs past its data");
    std::vector<std::uint32_t> offsets;
    offsets.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        offsets.push_back(wideOffsets ? reader.u32() : reader.u16());
    const std::size_t codeTableOffset = wideOffsets ? reader.u32() : reader.u16();
    font.glyphs = readGlyphs(data, offsets, tableSize, codeTableOffset);

    ByteReader rest(data.subspan(codeTableOffset));
    reader.skip(reader.remaining());
    font.codes = readCodes(rest, count, wideCodes);
    if (!hasLayout)
        return font;
    font.ascent = rest.u16();
    font.descent = rest.u16();
    font.leading = rest.s16();
    if (count * 2 > rest.remaining())
        throw MalformedMovie("a font's advance table is shorter than its glyph count");
    font.advances.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        font.advances.push_back(rest.s16());
    for (std::size_t i = 0; i < count; ++i)
        (void)readRect(rest);
    // The kerning table follows; kerning is not applied, and some writers leave it out.
    return font;
}

// Code points of UTF-8 text; a byte that starts no valid sequence stands for itself, as in
// Latin-1, which is what movies written before UTF-8 hold.
[[nodiscard]] std::u32string decodeText(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80                    ? 1
                                   : lead >= 0xc2 && lead <= 0xdf ? 2
                                   : lead >= 0xe0 && lead <= 0xef ? 3
                                   : lead >= 0xf0 && lead <= 0xf4 ? 4
                                                                  : 0;
        char32_t code = length == 1 ? lead : length == 2 ? lead & 0x1f : lead & (0x7f >> length);
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xc0) == 0x80;
            code = code << 6 | (next & 0x3f);
        }
        static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid
            && (code < smallest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)))
            valid = false;
        if (!valid) {
            out.push_back(lead);
            ++i;
            continue;
        }
        out.push_back(code);
        i += length;
    }
    return out;
}

[[nodiscard]] std::string encodeText(const std::u32string& codes)
{
    std::string out;
    for (const char32_t code : codes) {
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xc0 | code >> 6));
            out.push_back(static_cast<char>(0x80 | (code & 0x3f)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xe0 | code >> 12));
            out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3f)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3f)));
        } else {
            out.push_back(static_cast<char>(0xf0 | code >> 18));
            out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3f)));
            out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3f)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3f)));
        }
    }
    return out;
}

// One character of an edit field as laid out: its glyph, if the font has one, and its advance.
struct LaidChar {
    char32_t code = 0;
    std::optional<std::size_t> glyph;
    double advance = 0; // twips
};

[[nodiscard]] double advanceOf(const Font& font, std::size_t glyph)
{
    if (font.advances.size() == font.glyphs.size())
        return font.advances[glyph];
    const Rect& bounds = font.glyphs[glyph].bounds;
    // An outline-less glyph is a space: a quarter of the em keeps words apart.
    return font.glyphs[glyph].layers.empty() ? font.emSize / 4 : bounds.width();
}

// The lines of one paragraph as [begin, end) ranges, broken at the last space that keeps each
// line within `available` (less `indent` for the first line) when `wrap` is set.
[[nodiscard]] std::vector<std::pair<std::size_t, std::size_t>>
breakLines(const std::vector<LaidChar>& chars, bool wrap, double available, double indent)
{
    std::vector<std::pair<std::size_t, std::size_t>> lines;
    std::size_t begin = 0;
    double width = 0;
    constexpr std::size_t noSpace = SIZE_MAX;
    std::size_t lastSpace = noSpace;
    double widthThroughSpace = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        width += chars[i].advance;
        if (chars[i].code == U' ') {
            lastSpace = i;
            widthThroughSpace = width;
            continue;
        }
        if (wrap && width > available - (lines.empty() ? indent : 0) && lastSpace != noSpace) {
            lines.emplace_back(begin, lastSpace);
            begin = lastSpace + 1;
            width -= widthThroughSpace;
            lastSpace = noSpace;
        }
    }
    lines.emplace_back(begin, chars.size());
    return lines;
}

} // namespace

std::optional<std::size_t> Font::glyphFor(std::uint16_t code) const
{
    const auto found = std::find(codes.begin(), codes.end(), code);
    if (found == codes.end() || std::size_t(found - codes.begin()) >= glyphs.size())
        return std::nullopt;
    return static_cast<std::size_t>(found - codes.begin());
}

Font readFont(TextTag tag, ByteReader& reader)
{
    switch (tag) {
    case TextTag::DefineFont:
        return readFont1(reader);
    case TextTag::DefineFont2:
    case TextTag::DefineFont3:
        return readFont2(tag, reader);
    default:
        throw MalformedMovie("not a font tag");
    }
}

void readFontInfo(TextTag tag, ByteReader& reader, Font& font)
{
    if (tag != TextTag::DefineFontInfo && tag != TextTag::DefineFontInfo2)
        throw MalformedMovie("not a font information tag");
    std::string name = readName(reader, reader.u8());
    const std::uint8_t flags = reader.u8();
    if (tag == TextTag::DefineFontInfo2)
        (void)reader.u8(); // language
    const bool wideCodes = tag == TextTag::DefineFontInfo2 || (flags & 0x01);
    auto codes = readCodes(reader, font.glyphs.size(), wideCodes);
    font.name = std::move(name);
    font.italic = flags & 0x04;
    font.bold = flags & 0x02;
    font.codes = std::move(codes);
}

StaticText readStaticText(TextTag tag, ByteReader& reader)
{
    if (tag != TextTag::DefineText && tag != TextTag::DefineText2)
        throw MalformedMovie("not a static text tag");
    StaticText text;
    text.bounds = readRect(reader);
    text.matrix = readMatrix(reader);
    const unsigned glyphBits = reader.u8();
    const unsigned advanceBits = reader.u8();
    GlyphRun style; // what each record inherits from the ones before it
    Point pen;
    // A missing end record is tolerated: the data's end ends the text as well.
    while (!reader.atEnd()) {
        const std::uint8_t flags = reader.u8();
        if (flags == 0)
            break;
        if (flags & 0x08)
            style.font = reader.u16();
        if (flags & 0x04)
            style.colour = tag == TextTag::DefineText2 ? readRgba(reader) : readRgb(reader);
        if (flags & 0x01)
            pen.x = reader.s16();
        if (flags & 0x02)
            pen.y = reader.s16();
        if (flags & 0x08)
            style.height = reader.u16();
        GlyphRun run = style;
        run.origin = pen;
        const std::size_t count = reader.u8();
        run.glyphs.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            GlyphRun::Glyph glyph;
            glyph.index = reader.bits(glyphBits);
            glyph.advance = reader.signedBits(advanceBits);
            pen.x += glyph.advance;
            run.glyphs.push_back(glyph);
        }
        reader.alignToByte();
        text.runs.push_back(std::move(run));
    }
    return text;
}

EditText readEditText(ByteReader& reader)
{
    EditText field;
    field.bounds = readRect(reader);
    const bool hasText = reader.flag();
    field.wordWrap = reader.flag();
    field.multiline = reader.flag();
    field.password = reader.flag();
    field.readOnly = reader.flag();
    const bool hasColour = reader.flag();
    const bool hasMaxLength = reader.flag();
    const bool hasFont = reader.flag();
    const bool hasFontClass = reader.flag();
    field.autoSize = reader.flag();
    const bool hasLayout = reader.flag();
    field.noSelect = reader.flag();
    field.border = reader.flag();
    (void)reader.flag(); // written from a static text
    field.html = reader.flag();
    field.useOutlines = reader.flag();
    if (hasFont)
        field.font = reader.u16();
    if (hasFontClass)
        field.fontClass = reader.string();
    if (hasFont || hasFontClass)
        field.height = reader.u16();
    if (hasColour)
        field.colour = readRgba(reader);
    if (hasMaxLength)
        (void)reader.u16();
    if (hasLayout) {
        const std::uint8_t align = reader.u8();
        field.align = align == 1   ? EditText::Align::Right
                      : align == 2 ? EditText::Align::Centre
                      : align == 3 ? EditText::Align::Justify
                                   : EditText::Align::Left;
        field.leftMargin = reader.u16();
        field.rightMargin = reader.u16();
        field.indent = reader.u16();
        field.leading = reader.s16();
    }
    field.variableName = reader.string();
    if (hasText)
        field.initialText = encodeText(decodeText(reader.string()));
    return field;
}

std::vector<PlacedGlyph> layOutStaticText(const StaticText& text,
                                          const std::map<std::uint16_t, const Font*>& fonts)
{
    std::vector<PlacedGlyph> placed;
    for (const GlyphRun& run : text.runs) {
        const auto found = fonts.find(run.font);
        if (found == fonts.end() || !found->second)
            continue;
        const Font& font = *found->second;
        const double scale = run.height / font.emSize;
        double x = run.origin.x;
        for (const GlyphRun::Glyph& glyph : run.glyphs) {
            if (glyph.index < font.glyphs.size())
                placed.push_back({&font.glyphs[glyph.index],
                                  text.matrix * Matrix{scale, 0, 0, scale, x, run.origin.y},
                                  run.colour});
            x += glyph.advance;
        }
    }
    return placed;
}

std::vector<PlacedGlyph> layOutEditText(const EditText& field, const Font& font,
                                        const std::string& text)
{
    constexpr double gutter = 40; // the 2-pixel margin every field keeps inside its border
    const double scale = field.height / font.emSize;
    const double lineHeight = (font.ascent + font.descent + font.leading) * scale + field.leading;
    const double left = field.bounds.xMin + gutter + field.leftMargin;
    const double right = field.bounds.xMax - gutter - field.rightMargin;
    double baseline = field.bounds.yMin + gutter + font.ascent * scale;

    std::vector<PlacedGlyph> placed;
    const std::u32string codes = decodeText(text);
    std::size_t at = 0;
    while (at <= codes.size()) {
        std::size_t end = at;
        while (end < codes.size() && codes[end] != U'\r' && codes[end] != U'\n')
            ++end;
        std::vector<LaidChar> chars;
        chars.reserve(end - at);
        for (std::size_t i = at; i < end; ++i) {
            LaidChar laid{field.password ? U'*' : codes[i], std::nullopt, 0};
            if (laid.code <= 0xffff)
                laid.glyph = font.glyphFor(static_cast<std::uint16_t>(laid.code));
            if (laid.glyph)
                laid.advance = advanceOf(font, *laid.glyph) * scale;
            chars.push_back(laid);
        }

        const auto lines = breakLines(chars, field.wordWrap, right - left, field.indent);
        for (std::size_t l = 0; l < lines.size(); ++l) {
            auto [begin, stop] = lines[l];
            while (stop > begin && chars[stop - 1].code == U' ')
                --stop;
            double width = 0;
            std::size_t spaces = 0;
            for (std::size_t i = begin; i < stop; ++i) {
                width += chars[i].advance;
                spaces += chars[i].code == U' ';
            }
            const double start = left + (l == 0 ? field.indent : 0);
            const double room = right - start - width;
            double x = start;
            double spaceExtra = 0;
            switch (field.align) {
            case EditText::Align::Left:
                break;
            case EditText::Align::Right:
                x += room;
                break;
            case EditText::Align::Centre:
                x += room / 2;
                break;
            case EditText::Align::Justify:
                // The last line of a paragraph keeps its natural spacing.
                if (l + 1 < lines.size() && spaces > 0 && room > 0)
                    spaceExtra = room / double(spaces);
                break;
            }
            for (std::size_t i = begin; i < stop; ++i) {
                if (chars[i].glyph)
                    placed.push_back({&font.glyphs[*chars[i].glyph],
                                      Matrix{scale, 0, 0, scale, x, baseline}, field.colour});
                x += chars[i].advance + (chars[i].code == U' ' ? spaceExtra : 0);
            }
            baseline += lineHeight;
        }

        if (end == codes.size())
            break;
        at = end
             + (codes[end] == U'\r' && end + 1 < codes.size() && codes[end + 1] == U'\n' ? 2 : 1);
    }
    return placed;
}

} // namespace swf
