#include "SwfReader.h"
#include "swfwriter/EditText.h"
#include "swfwriter/Font.h"
#include "swfwriter/Movie.h"
#include "swfwriter/Shape.h"
#include "swfwriter/StaticText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

using Bytes = std::vector<std::uint8_t>;
using swfwriter::Rgba;

// A glyph outline of the given number of edges, drawn in em units (one twip each).
swfwriter::Shape glyph(int edges, double size)
{
    swfwriter::Shape shape;
    shape.setFill(shape.addFill(swfwriter::Fill::solid(Rgba{})));
    if (edges == 0)
        return shape;
    const double unit = size / 20;
    shape.moveTo({0, -unit});
    for (int i = 1; i < edges; ++i)
        shape.lineTo({unit * i / edges, i % 2 == 0 ? -unit : 0});
    shape.lineTo({0, -unit});
    return shape;
}

swftest::Swf written(const swfwriter::Font& font)
{
    swfwriter::Movie movie(100, 100, 12, Rgba::hex(0xffffff));
    movie.define(font);
    return swftest::readSwf(movie.bytes(swfwriter::Compression::None));
}

TEST(Font, OffsetsLeadToEachOutlineAndToTheSortedCodeTable)
{
    struct Case {
        const char* name;
        int glyphs;
        int edgesPerGlyph;
        bool wideOffsets;
    };
    // 400 glyphs of 60 long edges pass 65535 bytes, so the offsets must widen.
    const Case cases[] = {{"three small glyphs", 3, 3, false}, {"many big glyphs", 400, 60, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        swfwriter::Font font("Test");
        font.setMetrics(900, 200, 30);
        // Added backwards: the tag lists them by code.
        for (int i = c.glyphs - 1; i >= 0; --i)
            font.addGlyph(static_cast<char16_t>(0x41 + i), glyph(i == 0 ? 0 : c.edgesPerGlyph, 700),
                          500 + i);
        const swftest::Swf swf = written(font);
        const Bytes& body = swftest::tagBody(swf, 48);
        swftest::BitReader in(body.data(), body.size());
        EXPECT_EQ(in.u16(), 1);
        EXPECT_EQ(in.u8(), c.wideOffsets ? 0x8c : 0x84) << "layout, wide codes";
        EXPECT_EQ(in.u8(), 1) << "Latin";
        EXPECT_EQ(in.u8(), 4);
        EXPECT_EQ((std::string{char(in.u8()), char(in.u8()), char(in.u8()), char(in.u8())}),
                  "Test");
        ASSERT_EQ(in.u16(), c.glyphs);
        const std::size_t table = in.position();
        std::vector<std::uint32_t> offsets;
        for (int i = 0; i <= c.glyphs; ++i)
            offsets.push_back(c.wideOffsets ? in.u32() : in.u16());
        for (int i = 0; i < c.glyphs; ++i) {
            swftest::BitReader shape(body.data() + table + offsets[i],
                                     body.size() - table - offsets[i]);
            const swftest::Outline outline = swftest::readOutline(shape);
            EXPECT_EQ(outline.edges, i == 0 ? 0 : c.edgesPerGlyph);
            ASSERT_EQ(table + offsets[i] + shape.position(), table + offsets[i + 1])
                << "glyph " << i << " ends where the next begins";
        }
        swftest::BitReader rest(body.data() + table + offsets.back(),
                                body.size() - table - offsets.back());
        for (int i = 0; i < c.glyphs; ++i)
            EXPECT_EQ(rest.u16(), 0x41 + i);
        EXPECT_EQ(rest.u16(), 900);
        EXPECT_EQ(rest.u16(), 200);
        EXPECT_EQ(rest.u16(), 30);
        for (int i = 0; i < c.glyphs; ++i)
            EXPECT_EQ(rest.u16(), 500 + i);
        for (int i = 0; i < c.glyphs; ++i) {
            const swftest::Rect bounds = swftest::readRect(rest);
            if (i > 0) {
                EXPECT_EQ(bounds.yMin, -700);
                EXPECT_EQ(bounds.yMax, 0);
            }
        }
        EXPECT_EQ(rest.u16(), 0) << "no kerning";
        EXPECT_EQ(rest.position(), rest.size());
    }
}

TEST(Font, ADeviceFontIsANameWithoutGlyphs)
{
    const swftest::Swf swf = written(swfwriter::Font("_sans"));
    const Bytes& body = swftest::tagBody(swf, 48);
    // Id, wide codes without layout, Latin, the name, no glyphs, and the code table's offset,
    // which some readers expect even when there is no table.
    const Bytes expected = {0x01, 0x00, 0x04, 0x01, 0x05, '_',  's',
                            'a',  'n',  's',  0x00, 0x00, 0x02, 0x00};
    EXPECT_EQ(body, expected);
}

TEST(Font, RefusesACharacterTwice)
{
    swfwriter::Font font("Test");
    font.addGlyph(u'a', glyph(3, 700), 500);
    EXPECT_THROW(font.addGlyph(u'a', glyph(3, 700), 500), std::invalid_argument);
}

swfwriter::Font twoGlyphFont()
{
    swfwriter::Font font("Test");
    font.setMetrics(800, 200, 0);
    font.addGlyph(u'b', glyph(3, 700), 1024);
    font.addGlyph(u'a', glyph(3, 700), 512);
    return font;
}

TEST(StaticText, RecordsCarryGlyphIndicesAndAdvancesAtTheirHeight)
{
    struct Case {
        const char* name;
        Rgba second;
        std::uint16_t tag;
    };
    const Case cases[] = {{"opaque", Rgba::hex(0x00ff00), 11},
                          {"translucent", Rgba::hex(0x00ff00, 99), 33}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const swfwriter::Font font = twoGlyphFont();
        swfwriter::StaticText text;
        text.add(7, font, 20, Rgba::hex(0x123456), {10, 30}, u"abba");
        text.add(7, font, 10, c.second, {10, 60}, u"b");
        swfwriter::Movie movie(100, 100, 12, Rgba::hex(0xffffff));
        movie.define(text);
        const swftest::Swf swf = swftest::readSwf(movie.bytes(swfwriter::Compression::None));
        const Bytes& body = swftest::tagBody(swf, c.tag);
        const bool alpha = c.tag == 33;
        swftest::BitReader in(body.data(), body.size());
        in.u16();
        const swftest::Rect bounds = swftest::readRect(in);
        // From the first baseline's start to the end of its advances, ascent over descent.
        EXPECT_EQ(bounds.xMin, 200);
        EXPECT_EQ(bounds.xMax, 200 + 200 + 400 + 400 + 200);
        EXPECT_EQ(bounds.yMin, 600 - 20 * 20 * 800 / 1024);
        EXPECT_EQ(bounds.yMax, 1200 + 10 * 20 * 200 / 1024);
        swftest::readMatrix(in);
        const int glyphBits = in.u8();
        const int advanceBits = in.u8();
        EXPECT_EQ(glyphBits, 1);

        struct Run {
            swftest::Colour colour;
            std::uint16_t x, y, height;
            std::vector<std::uint32_t> glyphs;
            std::vector<std::int32_t> advances;
        };
        const Run runs[] = {
            {{0x12, 0x34, 0x56, 255}, 200, 600, 400, {0, 1, 1, 0}, {200, 400, 400, 200}},
            {{0, 0xff, 0, c.second.a}, 200, 1200, 200, {1}, {200}},
        };
        for (const Run& run : runs) {
            EXPECT_EQ(in.u8(), 0x8f) << "font, colour, x and y";
            EXPECT_EQ(in.u16(), 7);
            EXPECT_EQ(swftest::readColour(in, alpha), run.colour);
            EXPECT_EQ(in.u16(), run.x);
            EXPECT_EQ(in.u16(), run.y);
            EXPECT_EQ(in.u16(), run.height);
            ASSERT_EQ(in.u8(), run.glyphs.size());
            for (std::size_t i = 0; i < run.glyphs.size(); ++i) {
                EXPECT_EQ(in.ubits(glyphBits), run.glyphs[i]);
                EXPECT_EQ(in.sbits(advanceBits), run.advances[i]);
            }
        }
        EXPECT_EQ(in.u8(), 0) << "end of records";
        EXPECT_EQ(in.position(), body.size());
    }
}

TEST(StaticText, RefusesACharacterTheFontLacks)
{
    swfwriter::StaticText text;
    EXPECT_THROW(text.add(1, twoGlyphFont(), 12, Rgba{}, {0, 0}, u"abc"), std::invalid_argument);
}

TEST(EditText, FlagsSayWhatTheFieldHolds)
{
    swfwriter::EditText embedded;
    embedded.font = 3;
    embedded.fontHeight = 16;
    embedded.useOutlines = true;
    embedded.multiline = true;
    embedded.wordWrap = true;
    embedded.border = true;
    embedded.text = "ação";
    swfwriter::EditText device = embedded;
    device.useOutlines = false;
    device.multiline = false;
    device.wordWrap = false;
    device.border = false;
    device.align = swfwriter::EditText::Align::Centre;
    swfwriter::EditText bound;
    bound.font = 3;
    bound.variable = "message";
    bound.useOutlines = true;
    bound.leading = 2;

    struct Case {
        const char* name;
        swfwriter::EditText field;
        std::uint8_t flags1;
        std::uint8_t flags2;
        std::uint8_t align;
    };
    const Case cases[] = {
        // Text, word wrap, multiline, read-only, colour, font; layout, no select, border, outlines.
        {"embedded font", embedded, 0xed, 0x39, 0},
        {"device font", device, 0x8d, 0x30, 2},
        {"bound to a variable", bound, 0x0d, 0x31, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        swfwriter::BitWriter out;
        c.field.write(out);
        const Bytes& body = out.data();
        swftest::BitReader in(body.data(), body.size());
        const swftest::Rect bounds = swftest::readRect(in);
        EXPECT_EQ(bounds.xMax, std::lround(c.field.width * 20));
        EXPECT_EQ(in.u8(), c.flags1);
        EXPECT_EQ(in.u8(), c.flags2);
        EXPECT_EQ(in.u16(), 3);
        EXPECT_EQ(in.u16(), std::lround(c.field.fontHeight * 20));
        EXPECT_EQ(swftest::readColour(in, true), (swftest::Colour{0, 0, 0, 255}));
        EXPECT_EQ(in.u8(), c.align);
        EXPECT_EQ(in.u16(), 0);
        EXPECT_EQ(in.u16(), 0);
        EXPECT_EQ(in.u16(), 0);
        EXPECT_EQ(in.u16(), std::lround(c.field.leading * 20));
        EXPECT_EQ(in.string(), c.field.variable);
        if (!c.field.text.empty()) {
            EXPECT_EQ(in.string(), c.field.text) << "UTF-8, as stored";
        }
        EXPECT_EQ(in.position(), body.size());
    }
}

} // namespace
