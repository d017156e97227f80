#include "Text.h"
#include "swfwriter/BitWriter.h"

#include <gtest/gtest.h>

#include <sstream>

using swf::EditText;
using swf::Font;
using swf::MalformedMovie;
using swf::TextTag;
using swfwriter::BitWriter;
using Bytes = std::vector<std::uint8_t>;

namespace
{

// A glyph outline: a box from the baseline up, `width` em units wide and 700 high, filled with
// fill style 1 as glyphs are.
Bytes glyphBox(std::int32_t width)
{
    BitWriter out;
    out.ubits(4, 1);
    out.ubits(4, 0);
    out.ubits(1, 0);
    out.ubits(5, 0b00101); // move to, fill 1
    const int moveBits = BitWriter::signedBits(0, -700);
    out.ubits(5, static_cast<std::uint32_t>(moveBits));
    out.sbits(moveBits, 0);
    out.sbits(moveBits, -700);
    out.ubits(1, 1);
    const std::int32_t edges[][2] = {{width, 0}, {0, 700}, {-width, 0}, {0, -700}};
    for (const auto& [dx, dy] : edges) {
        const int bits = std::max(2, BitWriter::signedBits(dx, dy));
        out.ubits(1, 1); // edge
        out.ubits(1, 1); // straight
        out.ubits(4, static_cast<std::uint32_t>(bits - 2));
        out.ubits(1, 1); // general line
        out.sbits(bits, dx);
        out.sbits(bits, dy);
    }
    out.ubits(6, 0);
    out.align();
    return out.data();
}

struct TestGlyph {
    std::uint16_t code;
    std::int32_t width;
    std::int16_t advance;
};

const std::vector<TestGlyph> threeGlyphs = {{'A', 600, 650}, {0x00e1, 500, 560}, {'Z', 300, 320}};

// A DefineFont2/3 body named "Sans" with the given flags (wide offsets 0x08, wide codes 0x04,
// layout 0x80 with one kerning pair).
Bytes defineFont2(std::uint8_t flags, const std::vector<TestGlyph>& glyphs)
{
    const bool wideOffsets = flags & 0x08;
    const bool wideCodes = flags & 0x04;
    BitWriter out;
    out.u8(flags);
    out.u8(1);
    out.u8(5);
    out.string("Sans");
    out.u16(static_cast<std::uint16_t>(glyphs.size()));
    std::vector<Bytes> shapes;
    for (const TestGlyph& glyph : glyphs)
        shapes.push_back(glyphBox(glyph.width));
    const auto offset = [&](std::size_t value) {
        wideOffsets ? out.u32(static_cast<std::uint32_t>(value))
                    : out.u16(static_cast<std::uint16_t>(value));
    };
    std::size_t at = (glyphs.size() + 1) * (wideOffsets ? 4 : 2);
    for (const Bytes& shape : shapes) {
        offset(at);
        at += shape.size();
    }
    offset(at);
    for (const Bytes& shape : shapes)
        out.bytes(shape);
    for (const TestGlyph& glyph : glyphs)
        wideCodes ? out.u16(glyph.code) : out.u8(static_cast<std::uint8_t>(glyph.code));
    if (flags & 0x80) {
        out.u16(880);
        out.u16(230);
        out.u16(40);
        for (const TestGlyph& glyph : glyphs)
            out.u16(static_cast<std::uint16_t>(glyph.advance));
        for (std::size_t i = 0; i < glyphs.size(); ++i)
            out.u8(0); // an empty bounds rectangle
        out.u16(1);
        for (const std::uint8_t code : {'A', 'Z'})
            wideCodes ? out.u16(code) : out.u8(code);
        out.u16(static_cast<std::uint16_t>(-40));
    }
    return out.data();
}

Font readFont(TextTag tag, const Bytes& body)
{
    swf::ByteReader reader(body);
    return swf::readFont(tag, reader);
}

// A font for layout: 'A' 512 em units wide, 'B' 1024, space 256 and '*' 600, with metrics.
Font layoutFont()
{
    Font font;
    font.glyphs.resize(4);
    font.codes = {'A', 'B', ' ', '*'};
    font.advances = {512, 1024, 256, 600};
    font.ascent = 800;
    font.descent = 200;
    font.leading = 24;
    return font;
}

// Where each glyph went, as "glyph@x,y" words; spaces are left out: they draw nothing.
std::string spots(const Font& font, const std::vector<swf::PlacedGlyph>& placed)
{
    std::ostringstream out;
    for (const auto& glyph : placed) {
        const auto index = static_cast<std::size_t>(glyph.glyph - font.glyphs.data());
        const auto code = font.codes.at(index);
        if (code == ' ')
            continue;
        if (out.tellp() > 0)
            out << ' ';
        out << (code < 0x80 ? std::string(1, static_cast<char>(code)) : std::to_string(code)) << '@'
            << glyph.matrix.tx << ',' << glyph.matrix.ty;
    }
    return out.str();
}

// A DefineText/DefineText2 body whose matrix scales by 2 and moves by (10, 20), with records
// that change font, colour and offsets one at a time.
Bytes staticTextBody(bool alpha)
{
    BitWriter out;
    out.ubits(5, 12);
    out.sbits(12, 0);
    out.sbits(12, 2000);
    out.sbits(12, -300);
    out.sbits(12, 700);
    out.align();
    out.ubits(1, 1);
    out.ubits(5, 19);
    out.sbits(19, 2 << 16);
    out.sbits(19, 2 << 16);
    out.ubits(1, 0);
    out.ubits(5, 6);
    out.sbits(6, 10);
    out.sbits(6, 20);
    out.align();
    out.u8(4);  // glyph bits
    out.u8(10); // advance bits
    const auto colour = [&](std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
        out.u8(r);
        out.u8(g);
        out.u8(b);
        if (alpha)
            out.u8(a);
    };
    const auto glyphs = [&](std::initializer_list<std::pair<std::uint32_t, std::int32_t>> list) {
        out.u8(static_cast<std::uint8_t>(list.size()));
        for (const auto& [index, advance] : list) {
            out.ubits(4, index);
            out.sbits(10, advance);
        }
        out.align();
    };
    out.u8(0x8f); // font, colour, x and y
    out.u16(1);
    colour(255, 0, 0, 128);
    out.u16(100);
    out.u16(200);
    out.u16(240);
    glyphs({{0, 150}, {1, 160}});
    out.u8(0x84); // colour only
    colour(0, 0, 255, 255);
    glyphs({{2, 170}});
    out.u8(0x82); // y only
    out.u16(500);
    glyphs({{0, 100}});
    out.u8(0x89); // a font the movie lacks, and x
    out.u16(2);
    out.u16(0);
    out.u16(480);
    glyphs({{0, 50}});
    out.u8(0x89); // back to font 1; a glyph index past its glyphs
    out.u16(1);
    out.u16(30);
    out.u16(240);
    glyphs({{9, 40}, {1, 40}});
    out.u8(0);
    return out.data();
}

// A DefineEditText body: bounds, the two flag bytes, then `fields` as the flags announce them.
Bytes editTextBody(std::uint8_t flags1, std::uint8_t flags2, const Bytes& fields)
{
    BitWriter out;
    out.ubits(5, 13);
    out.sbits(13, -40);
    out.sbits(13, 2040);
    out.sbits(13, 0);
    out.sbits(13, 400);
    out.align();
    out.u8(flags1);
    out.u8(flags2);
    out.bytes(fields);
    return out.data();
}

EditText readEditText(const Bytes& body)
{
    swf::ByteReader reader(body);
    return swf::readEditText(reader);
}

} // namespace

TEST(Font, DefineFont2And3GiveGlyphsCodesAndAdvances)
{
    struct Case {
        const char* name;
        TextTag tag;
        std::uint8_t flags;
        double emSize;
        bool bold;
        bool italic;
        bool layout;
    };
    const Case cases[] = {
        {"8-bit codes, 16-bit offsets", TextTag::DefineFont2, 0x00, 1024, false, false, false},
        {"8-bit codes, 32-bit offsets, bold", TextTag::DefineFont2, 0x09, 1024, true, false, false},
        {"16-bit codes, 16-bit offsets, italic, layout", TextTag::DefineFont2, 0x86, 1024, false,
         true, true},
        {"16-bit codes, 32-bit offsets, layout", TextTag::DefineFont2, 0x8c, 1024, false, false,
         true},
        {"DefineFont3", TextTag::DefineFont3, 0x8c, 20480, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool wideCodes = c.tag == TextTag::DefineFont3 || (c.flags & 0x04);
        auto glyphs = threeGlyphs;
        if (wideCodes)
            glyphs[1].code = 0x43a;
        const Font font = readFont(c.tag, defineFont2(c.flags, glyphs));
        EXPECT_EQ(font.name, "Sans");
        EXPECT_EQ(font.bold, c.bold);
        EXPECT_EQ(font.italic, c.italic);
        EXPECT_EQ(font.emSize, c.emSize);
        ASSERT_EQ(font.glyphs.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            const swf::Shape& glyph = font.glyphs[i];
            ASSERT_EQ(glyph.layers.size(), 1u);
            EXPECT_TRUE(glyph.layers[0].fill);
            EXPECT_EQ(glyph.bounds.width(), threeGlyphs[i].width);
            EXPECT_EQ(glyph.bounds.yMin, -700);
            EXPECT_TRUE(glyph.hits({threeGlyphs[i].width / 2.0, -350}));
            EXPECT_FALSE(glyph.hits({threeGlyphs[i].width / 2.0, 10}));
        }
        EXPECT_EQ(font.codes, (std::vector<std::uint16_t>{'A', glyphs[1].code, 'Z'}));
        EXPECT_EQ(font.glyphFor('Z'), 2u);
        EXPECT_EQ(font.glyphFor(glyphs[1].code), 1u);
        EXPECT_EQ(font.glyphFor('B'), std::nullopt);
        if (c.layout) {
            EXPECT_EQ(font.advances, (std::vector<double>{650, 560, 320}));
            EXPECT_EQ(font.ascent, 880);
            EXPECT_EQ(font.descent, 230);
            EXPECT_EQ(font.leading, 40);
        } else {
            EXPECT_TRUE(font.advances.empty());
        }
    }
}

TEST(Font, DefineFontTakesCodesAndStyleFromItsInfo)
{
    const Bytes a = glyphBox(600);
    const Bytes b = glyphBox(400);
    Bytes body{4, 0, std::uint8_t(4 + a.size()), 0};
    body.insert(body.end(), a.begin(), a.end());
    body.insert(body.end(), b.begin(), b.end());

    struct Case {
        const char* name;
        TextTag tag;
        Bytes info;
        bool bold;
        bool italic;
        std::vector<std::uint16_t> codes;
    };
    const Case cases[] = {
        {"8-bit codes, bold",
         TextTag::DefineFontInfo,
         {4, 'S', 'e', 'r', 'f', 0x02, 'x', 'y'},
         true,
         false,
         {'x', 'y'}},
        {"16-bit codes, italic",
         TextTag::DefineFontInfo,
         {4, 'S', 'e', 'r', 'f', 0x05, 0x3a, 0x04, 'y', 0},
         false,
         true,
         {0x43a, 'y'}},
        {"DefineFontInfo2: language, then 16-bit codes",
         TextTag::DefineFontInfo2,
         {4, 'S', 'e', 'r', 'f', 0x06, 1, 'x', 0, 0xe1, 0},
         true,
         true,
         {'x', 0xe1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Font font = readFont(TextTag::DefineFont, body);
        ASSERT_EQ(font.glyphs.size(), 2u);
        EXPECT_EQ(font.glyphs[0].bounds.width(), 600);
        EXPECT_EQ(font.glyphs[1].bounds.width(), 400);
        EXPECT_EQ(font.emSize, 1024);
        swf::ByteReader reader(c.info);
        swf::readFontInfo(c.tag, reader, font);
        EXPECT_EQ(font.name, "Serf");
        EXPECT_EQ(font.bold, c.bold);
        EXPECT_EQ(font.italic, c.italic);
        EXPECT_EQ(font.codes, c.codes);
    }
}

TEST(StaticText, RunsCarryFontColourOffsetsAndAdvances)
{
    struct Case {
        const char* name;
        TextTag tag;
        swf::Rgba red;
    };
    const Case cases[] = {{"DefineText, RGB colours", TextTag::DefineText, {255, 0, 0, 255}},
                          {"DefineText2, RGBA colours", TextTag::DefineText2, {255, 0, 0, 128}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes body = staticTextBody(c.tag == TextTag::DefineText2);
        swf::ByteReader reader(body);
        const swf::StaticText text = swf::readStaticText(c.tag, reader);
        EXPECT_TRUE(reader.atEnd());
        EXPECT_EQ(text.bounds.xMax, 2000);
        EXPECT_EQ(text.bounds.yMin, -300);
        EXPECT_EQ(text.matrix, (swf::Matrix{2, 0, 0, 2, 10, 20}));

        struct Run {
            std::uint16_t font;
            double height;
            swf::Rgba colour;
            swf::Point origin;
            std::vector<std::pair<std::uint32_t, double>> glyphs;
        };
        const swf::Rgba blue{0, 0, 255, 255};
        const Run expected[] = {
            {1, 240, c.red, {100, 200}, {{0, 150}, {1, 160}}},
            {1, 240, blue, {410, 200}, {{2, 170}}},
            {1, 240, blue, {580, 500}, {{0, 100}}},
            {2, 480, blue, {0, 500}, {{0, 50}}},
            {1, 240, blue, {30, 500}, {{9, 40}, {1, 40}}},
        };
        ASSERT_EQ(text.runs.size(), std::size(expected));
        for (std::size_t i = 0; i < text.runs.size(); ++i) {
            SCOPED_TRACE(i);
            const swf::GlyphRun& run = text.runs[i];
            EXPECT_EQ(run.font, expected[i].font);
            EXPECT_EQ(run.height, expected[i].height);
            EXPECT_EQ(run.colour, expected[i].colour);
            EXPECT_EQ(run.origin, expected[i].origin);
            std::vector<std::pair<std::uint32_t, double>> glyphs;
            for (const auto& glyph : run.glyphs)
                glyphs.emplace_back(glyph.index, glyph.advance);
            EXPECT_EQ(glyphs, expected[i].glyphs);
        }
    }
}

TEST(StaticText, LayoutPlacesGlyphsThroughTheTextMatrix)
{
    const Font font = readFont(TextTag::DefineFont2, defineFont2(0x00, threeGlyphs));
    const Bytes body = staticTextBody(true);
    swf::ByteReader reader(body);
    const swf::StaticText text = swf::readStaticText(TextTag::DefineText2, reader);

    const auto placed = swf::layOutStaticText(text, {{1, &font}});
    // The run in the missing font and the glyph index past the font are left out; the pen
    // still moves past them.
    struct Expected {
        std::size_t glyph;
        double x;
        double y;
        swf::Rgba colour;
    };
    const swf::Rgba red{255, 0, 0, 128};
    const swf::Rgba blue{0, 0, 255, 255};
    const Expected expected[] = {{0, 100, 200, red},
                                 {1, 250, 200, red},
                                 {2, 410, 200, blue},
                                 {0, 580, 500, blue},
                                 {1, 70, 500, blue}};
    ASSERT_EQ(placed.size(), std::size(expected));
    const double scale = 240.0 / 1024;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(placed[i].glyph, &font.glyphs[expected[i].glyph]);
        EXPECT_EQ(placed[i].matrix, (swf::Matrix{2 * scale, 0, 0, 2 * scale, 2 * expected[i].x + 10,
                                                 2 * expected[i].y + 20}));
        EXPECT_EQ(placed[i].colour, expected[i].colour);
    }
}

TEST(EditText, ReadsEveryFieldInOrder)
{
    const Bytes fields{7,   0,   'S', 'a', 'n', 's', 0,   0x68, 0x01, 1,   2,    3,
                       4,   20,  0,   2,   100, 0,   200, 0,    0x2c, 1,   0xec, 0xff,
                       'n', 'o', 'm', 'e', 0,   'O', 'l', 0xc3, 0xa1, '!', 0};
    // Every optional field, word wrap, password, no select, written from a static text, HTML.
    const EditText field = readEditText(editTextBody(0xd7, 0xb6, fields));
    EXPECT_EQ(field.bounds.xMin, -40);
    EXPECT_EQ(field.bounds.xMax, 2040);
    EXPECT_EQ(field.bounds.yMax, 400);
    EXPECT_EQ(field.font, 7);
    EXPECT_EQ(field.fontClass, "Sans");
    EXPECT_EQ(field.height, 360);
    EXPECT_EQ(field.colour, (swf::Rgba{1, 2, 3, 4}));
    EXPECT_EQ(field.align, EditText::Align::Centre);
    EXPECT_EQ(field.leftMargin, 100);
    EXPECT_EQ(field.rightMargin, 200);
    EXPECT_EQ(field.indent, 300);
    EXPECT_EQ(field.leading, -20);
    EXPECT_EQ(field.variableName, "nome");
    EXPECT_EQ(field.initialText, "Olá!");
    EXPECT_TRUE(field.wordWrap);
    EXPECT_TRUE(field.password);
    EXPECT_TRUE(field.noSelect);
    EXPECT_TRUE(field.html);
    EXPECT_FALSE(field.multiline);
    EXPECT_FALSE(field.readOnly);
    EXPECT_FALSE(field.autoSize);
    EXPECT_FALSE(field.border);
    EXPECT_FALSE(field.useOutlines);

    const EditText plain = readEditText(editTextBody(0x00, 0x00, {'v', 0}));
    EXPECT_EQ(plain.font, std::nullopt);
    EXPECT_EQ(plain.height, 240);
    EXPECT_EQ(plain.colour, (swf::Rgba{0, 0, 0, 255}));
    EXPECT_EQ(plain.align, EditText::Align::Left);
    EXPECT_EQ(plain.variableName, "v");
    EXPECT_EQ(plain.initialText, "");
}

TEST(EditText, TextInAnOlderEncodingBecomesUtf8)
{
    const EditText latin1 = readEditText(
        editTextBody(0x80, 0, {0, 'M', 'a', 't', 'e', 'm', 0xe1, 't', 'i', 'c', 'a', 0}));
    EXPECT_EQ(latin1.initialText, "Matemática");
    const EditText utf8 = readEditText(
        editTextBody(0x80, 0, {0, 'M', 'a', 't', 'e', 'm', 0xc3, 0xa1, 't', 'i', 'c', 'a', 0}));
    EXPECT_EQ(utf8.initialText, "Matemática");
}

TEST(EditText, LayoutAlignsAndBreaksLines)
{
    // Text 512 twips high on a 1024 em: half scale. The field is 2000 twips wide, so lines start
    // at x 40 and end at 1960; the first baseline lies at 40 + 800 / 2, the next 512 below.
    using A = EditText::Align;
    struct Options {
        A align = A::Left;
        bool wrap = false;
        double width = 2000;
        double leftMargin = 0;
        double rightMargin = 0;
        double indent = 0;
        double leading = 0;
        bool password = false;
    };
    struct Case {
        const char* name;
        std::string text;
        std::string expected; // glyph@x,baseline for each glyph but spaces
        Options options;
    };
    const Case cases[] = {
        {"left", "AB", "A@40,440 B@296,440", {}},
        {"right", "AB", "A@1192,440 B@1448,440", {.align = A::Right}},
        {"centre", "AB", "A@616,440 B@872,440", {.align = A::Centre}},
        {"right margin", "A", "A@1604,440", {.align = A::Right, .rightMargin = 100}},
        {"left margin and indent on each paragraph's first line",
         "AB\nAB",
         "A@200,440 B@456,440 A@200,952 B@456,952",
         {.leftMargin = 100, .indent = 60}},
        {"each newline convention once",
         "A\r\nB\rA\nB",
         "A@40,440 B@40,952 A@40,1464 B@40,1976",
         {}},
        {"the field's leading between lines", "A\nA", "A@40,440 A@40,992", {.leading = 40}},
        {"no wrapping: one long line",
         "AB AB AB",
         "A@40,440 B@296,440 A@936,440 B@1192,440 A@1832,440 B@2088,440",
         {}},
        {"wrapped at the last space that fits",
         "AB AB AB",
         "A@40,440 B@296,440 A@936,440 B@1192,440 A@40,952 B@296,952",
         {.wrap = true}},
        {"wrapped and centred",
         "AB AB AB",
         "A@168,440 B@424,440 A@1064,440 B@1320,440 A@616,952 B@872,952",
         {.align = A::Centre, .wrap = true}},
        {"wrapped and right-aligned: the space at the break takes no room",
         "AB AB AB",
         "A@296,440 B@552,440 A@1192,440 B@1448,440 A@1192,952 B@1448,952",
         {.align = A::Right, .wrap = true}},
        {"justified, but not the paragraph's last line",
         "AB AB AB",
         "A@40,440 B@296,440 A@1192,440 B@1448,440 A@40,952 B@296,952",
         {.align = A::Justify, .wrap = true}},
        {"a word wider than the field keeps a line of its own",
         "AB AB",
         "A@40,440 B@296,440 A@40,952 B@296,952",
         {.wrap = true, .width = 600}},
        {"characters the font lacks are skipped", "AxB", "A@40,440 B@296,440", {}},
        {"password fields show stars", "AB", "*@40,440 *@340,440", {.password = true}},
    };
    const Font font = layoutFont();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EditText field;
        field.bounds = {0, c.options.width, 0, 1000};
        field.height = 512;
        field.colour = {10, 20, 30, 255};
        field.align = c.options.align;
        field.wordWrap = c.options.wrap;
        field.multiline = true;
        field.leftMargin = c.options.leftMargin;
        field.rightMargin = c.options.rightMargin;
        field.indent = c.options.indent;
        field.leading = c.options.leading;
        field.password = c.options.password;
        const auto placed = swf::layOutEditText(field, font, c.text);
        EXPECT_EQ(spots(font, placed), c.expected);
        for (const auto& glyph : placed) {
            EXPECT_EQ(glyph.matrix.a, 0.5);
            EXPECT_EQ(glyph.matrix.d, 0.5);
            EXPECT_EQ(glyph.colour, field.colour);
        }
    }
}

TEST(EditText, LayoutWithoutFontMetricsAdvancesByGlyphWidth)
{
    const Font font = readFont(TextTag::DefineFont2, defineFont2(0x00, threeGlyphs));
    EditText field;
    field.bounds = {0, 4000, 0, 1000};
    field.height = 1024;
    const auto placed = swf::layOutEditText(field, font, "AáZ");
    EXPECT_EQ(spots(font, placed), "A@40,40 225@640,40 Z@1140,40");
}

TEST(Text, DataThatDoesNotAddUpIsMalformed)
{
    enum class Reader { Font, FontInfo, StaticText, EditText };
    struct Case {
        const char* name;
        Reader reader;
        TextTag tag;
        Bytes body;
    };
    const Case cases[] = {
        {"font header cut short", Reader::Font, TextTag::DefineFont2, {0, 0}},
        {"font name past the data", Reader::Font, TextTag::DefineFont2, {0, 0, 10, 'a'}},
        {"glyph count without an offset table",
         Reader::Font,
         TextTag::DefineFont2,
         {0, 0, 0, 100, 0, 1, 2}},
        {"32-bit offset table cut short",
         Reader::Font,
         TextTag::DefineFont2,
         {0x08, 0, 0, 1, 0, 8, 0, 0, 0, 10, 0}},
        {"glyph offset past the code table",
         Reader::Font,
         TextTag::DefineFont2,
         {0, 0, 0, 1, 0, 7, 0, 6, 0, 0x10, 0, 'A'}},
        {"code table offset past the data",
         Reader::Font,
         TextTag::DefineFont2,
         {0, 0, 0, 1, 0, 4, 0, 40, 0, 0x10, 0, 'A'}},
        {"glyph offset into the offset table",
         Reader::Font,
         TextTag::DefineFont2,
         {0, 0, 0, 1, 0, 2, 0, 6, 0, 0x10, 0, 'A'}},
        {"glyph offsets going backwards",
         Reader::Font,
         TextTag::DefineFont2,
         {0, 0, 0, 2, 0, 8, 0, 6, 0, 10, 0, 0x10, 0, 0x10, 0, 'A', 'B'}},
        {"glyph outline running into the next",
         Reader::Font,
         TextTag::DefineFont2,
         {0, 0, 0, 1, 0, 4, 0, 5, 0, 0x10, 0, 'A'}},
        {"code table shorter than the glyph count",
         Reader::Font,
         TextTag::DefineFont2,
         {0, 0, 0, 1, 0, 4, 0, 6, 0, 0x10, 0}},
        {"16-bit code table shorter than the glyph count",
         Reader::Font,
         TextTag::DefineFont3,
         {0, 0, 0, 1, 0, 4, 0, 6, 0, 0x10, 0, 'A'}},
        {"advance table cut short",
         Reader::Font,
         TextTag::DefineFont2,
         {0x80, 0, 0, 1, 0, 4, 0, 6, 0, 0x10, 0, 'A', 1, 0, 2, 0, 3, 0}},
        {"DefineFont offset table of odd size",
         Reader::Font,
         TextTag::DefineFont,
         {3, 0, 0, 0x10, 0}},
        {"DefineFont offset table past the data",
         Reader::Font,
         TextTag::DefineFont,
         {2, 1, 0x10, 0}},
        {"DefineFont glyph offset past the data",
         Reader::Font,
         TextTag::DefineFont,
         {4, 0, 9, 0, 0x10, 0, 0x10, 0}},
        {"DefineFont glyph offsets going backwards",
         Reader::Font,
         TextTag::DefineFont,
         {4, 0, 2, 0, 0x10, 0, 0x10, 0}},
        {"not a font tag", Reader::Font, TextTag::DefineText, {}},
        {"font information name past the data",
         Reader::FontInfo,
         TextTag::DefineFontInfo,
         {10, 'a'}},
        {"fewer 8-bit codes than glyphs",
         Reader::FontInfo,
         TextTag::DefineFontInfo,
         {1, 'S', 0, 'A'}},
        {"fewer 16-bit codes than glyphs",
         Reader::FontInfo,
         TextTag::DefineFontInfo2,
         {1, 'S', 0, 1, 'A', 0, 'B'}},
        {"text bounds cut short", Reader::StaticText, TextTag::DefineText, {0xff}},
        {"text without its advance bits", Reader::StaticText, TextTag::DefineText, {0, 0, 4}},
        {"text record without its font",
         Reader::StaticText,
         TextTag::DefineText,
         {0, 0, 4, 8, 0x88, 1}},
        {"text record without its colour",
         Reader::StaticText,
         TextTag::DefineText2,
         {0, 0, 4, 8, 0x84, 1, 2, 3}},
        {"glyph count past the data",
         Reader::StaticText,
         TextTag::DefineText,
         {0, 0, 4, 8, 0x80, 5, 0x12}},
        {"glyph index wider than 32 bits",
         Reader::StaticText,
         TextTag::DefineText,
         {0, 0, 40, 8, 0x80, 1, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}},
        {"not a text tag", Reader::StaticText, TextTag::DefineFont, {0, 0, 4, 8, 0}},
        {"edit text cut short", Reader::EditText, TextTag::DefineEditText, {0, 0}},
        {"variable name without its end",
         Reader::EditText,
         TextTag::DefineEditText,
         {0, 0, 0, 'v'}},
        {"font id missing", Reader::EditText, TextTag::DefineEditText, {0, 0x01, 0, 7}},
        {"font class without its end",
         Reader::EditText,
         TextTag::DefineEditText,
         {0, 0, 0x80, 'S'}},
        {"layout cut short", Reader::EditText, TextTag::DefineEditText, {0, 0, 0x20, 1, 0}},
        {"initial text without its end",
         Reader::EditText,
         TextTag::DefineEditText,
         {0, 0x80, 0, 'v', 0, 'a', 'b'}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        swf::ByteReader reader(c.body);
        switch (c.reader) {
        case Reader::Font:
            EXPECT_THROW((void)swf::readFont(c.tag, reader), MalformedMovie);
            break;
        case Reader::FontInfo: {
            Font font;
            font.glyphs.resize(2);
            EXPECT_THROW(swf::readFontInfo(c.tag, reader, font), MalformedMovie);
            break;
        }
        case Reader::StaticText:
            EXPECT_THROW((void)swf::readStaticText(c.tag, reader), MalformedMovie);
            break;
        case Reader::EditText:
            EXPECT_THROW((void)swf::readEditText(reader), MalformedMovie);
            break;
        }
    }
}
