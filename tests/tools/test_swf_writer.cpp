#include "swfwriter/Actions.h"
#include "swfwriter/BitWriter.h"
#include "swfwriter/Button.h"
#include "swfwriter/Movie.h"
#include "swfwriter/Records.h"
#include "swfwriter/Shape.h"
#include "SwfReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{

using Bytes = std::vector<std::uint8_t>;

Bytes tagBody(const swftest::Swf& swf, std::uint16_t code)
{
    const auto found = std::find_if(swf.tags.begin(), swf.tags.end(),
                                    [code](const swftest::Tag& t) { return t.code == code; });
    if (found == swf.tags.end())
        throw std::runtime_error("no tag " + std::to_string(code));
    return found->body;
}

TEST(BitWriter, PacksFieldsMostSignificantBitFirstAndPadsBeforeBytes)
{
    swfwriter::BitWriter out;
    out.ubits(3, 0b101);
    out.sbits(4, -3); // 1101
    out.u8(0xab);     // pads the pending bit
    out.ubits(1, 1);
    out.align();
    out.u16(0x1234);
    EXPECT_EQ(out.data(), (Bytes{0b10111010, 0xab, 0x80, 0x34, 0x12}));
}

TEST(BitWriter, SignedFieldWidthsHoldTheSign)
{
    const std::pair<std::int32_t, int> cases[] = {
        {0, 1}, {1, 2}, {-1, 1}, {-2, 2}, {127, 8}, {-128, 8}, {128, 9}, {11000, 15}, {-65536, 17}};
    for (const auto& [value, bits] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(swfwriter::BitWriter::signedBits(value), bits);
    }
}

TEST(Records, StageRectMatchesTheCommonHeaderBytes)
{
    // 550 x 400 pixels: the stage rectangle found at the start of countless movies.
    swfwriter::BitWriter out;
    swfwriter::writeRect(out, 0, swfwriter::twips(550), 0, swfwriter::twips(400));
    EXPECT_EQ(out.data(), (Bytes{0x78, 0x00, 0x05, 0x5f, 0x00, 0x00, 0x0f, 0xa0, 0x00}));
}

TEST(Records, TagHeaderIsLongFromSixtyThreeBytes)
{
    const std::pair<std::size_t, bool> cases[] = {{0, false}, {62, false}, {63, true}, {300, true}};
    for (const auto& [length, longHeader] : cases) {
        SCOPED_TRACE(length);
        swfwriter::BitWriter out;
        swfwriter::writeTag(out, swfwriter::TagCode::DoAction, Bytes(length, 0x07));
        swftest::BitReader in(out.data().data(), out.data().size());
        const std::uint16_t header = in.u16();
        EXPECT_EQ(header >> 6, 12);
        EXPECT_EQ((header & 0x3f) == 0x3f, longHeader);
        const std::uint32_t recorded = longHeader ? in.u32() : (header & 0x3fu);
        EXPECT_EQ(recorded, length);
        EXPECT_EQ(out.data().size(), (longHeader ? 6 : 2) + length);
    }
}

TEST(Records, MatricesReadBackInTwipsAndFixedPoint)
{
    const swfwriter::Matrix cases[] = {
        swfwriter::Matrix{},
        swfwriter::Matrix::translation(10, -2.5),
        swfwriter::Matrix::placed(80.5, 56, 1.25),
        swfwriter::Matrix::placed(-3, 400, 0.5, 30),
        swfwriter::Matrix{1, 0, 0, 0.05, 1000, 0},
    };
    for (const swfwriter::Matrix& m : cases) {
        SCOPED_TRACE(m.translateX);
        swfwriter::BitWriter out;
        swfwriter::writeMatrix(out, m);
        out.u8(0x5a); // whatever follows starts on a byte
        swftest::BitReader in(out.data().data(), out.data().size());
        const swftest::Matrix read = swftest::readMatrix(in);
        EXPECT_NEAR(read.scaleX, m.scaleX, 1e-4);
        EXPECT_NEAR(read.scaleY, m.scaleY, 1e-4);
        EXPECT_NEAR(read.skew0, m.skew0, 1e-4);
        EXPECT_NEAR(read.skew1, m.skew1, 1e-4);
        EXPECT_EQ(read.translateX, std::lround(m.translateX * 20));
        EXPECT_EQ(read.translateY, std::lround(m.translateY * 20));
        EXPECT_EQ(in.u8(), 0x5a);
    }
}

TEST(Actions, CompileToTheDocumentedBytecode)
{
    struct Case {
        const char* name;
        swfwriter::Actions actions;
        Bytes bytes;
    };
    const Case cases[] = {
        {"stop", swfwriter::Actions().stop(), {0x07, 0x00}},
        {"play", swfwriter::Actions().play(), {0x06, 0x00}},
        {"gotoAndStop(3)", swfwriter::Actions().gotoAndStop(3), {0x81, 0x02, 0x00, 0x02, 0x00, 0x00}},
        {"gotoAndPlay(1)",
         swfwriter::Actions().gotoAndPlay(1),
         {0x81, 0x02, 0x00, 0x00, 0x00, 0x06, 0x00}},
        {"gotoAndStop(\"ok\")",
         swfwriter::Actions().gotoAndStop("ok"),
         {0x8c, 0x03, 0x00, 'o', 'k', 0x00, 0x00}},
        {"fscommand(\"Sair\")",
         swfwriter::Actions().fscommand("Sair"),
         {0x83, 0x10, 0x00, 'F', 'S', 'C', 'o', 'm',  'm',  'a',
          'n',  'd',  ':',  'S', 'a', 'i', 'r', 0x00, 0x00, 0x00}},
        {"fscommand(\"ok\", \"1\")",
         swfwriter::Actions().fscommand("ok", "1"),
         {0x83, 0x0f, 0x00, 'F', 'S', 'C', 'o', 'm', 'm', 'a', 'n', 'd', ':', 'o', 'k', 0x00, '1',
          0x00, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.actions.bytes(), c.bytes);
    }
}

// Walks a DefineShape/DefineShape3 body the way a player does and returns the pen positions
// (twips) at each edge end; fails when records do not end exactly on the tag's last byte.
std::vector<std::pair<std::int32_t, std::int32_t>> penPath(const Bytes& body, bool withAlpha)
{
    swftest::BitReader in(body.data(), body.size());
    in.u16(); // id
    swftest::readRect(in);
    const auto styleCount = [&in] {
        const std::uint8_t count = in.u8();
        return count == 0xff ? in.u16() : count;
    };
    const int fills = styleCount();
    for (int i = 0; i < fills; ++i) {
        const std::uint8_t type = in.u8();
        if (type == 0x00) {
            for (int c = 0; c < (withAlpha ? 4 : 3); ++c)
                in.u8();
            continue;
        }
        EXPECT_TRUE(type == 0x10 || type == 0x12) << int(type);
        swftest::readMatrix(in);
        in.ubits(4);
        const int stops = static_cast<int>(in.ubits(4));
        for (int s = 0; s < stops; ++s)
            for (int c = 0; c < (withAlpha ? 5 : 4); ++c)
                in.u8();
    }
    const int lines = styleCount();
    for (int i = 0; i < lines; ++i)
        for (int c = 0; c < (withAlpha ? 6 : 5); ++c)
            in.u8();
    const int fillBits = static_cast<int>(in.ubits(4));
    const int lineBits = static_cast<int>(in.ubits(4));

    std::vector<std::pair<std::int32_t, std::int32_t>> path;
    std::int32_t x = 0;
    std::int32_t y = 0;
    while (true) {
        if (in.ubits(1) == 0) {
            const std::uint32_t flags = in.ubits(5);
            if (flags == 0)
                break;
            EXPECT_EQ(flags & 0x10, 0u) << "no new styles are written";
            if (flags & 0x01) {
                const int bits = static_cast<int>(in.ubits(5));
                x = in.sbits(bits);
                y = in.sbits(bits);
                path.emplace_back(x, y);
            }
            if (flags & 0x02)
                in.ubits(fillBits);
            if (flags & 0x04)
                in.ubits(fillBits);
            if (flags & 0x08)
                in.ubits(lineBits);
        } else if (in.ubits(1) == 1) {
            const int bits = static_cast<int>(in.ubits(4)) + 2;
            if (in.ubits(1) == 1) {
                x += in.sbits(bits);
                y += in.sbits(bits);
            } else if (in.ubits(1) == 1) {
                y += in.sbits(bits);
            } else {
                x += in.sbits(bits);
            }
            path.emplace_back(x, y);
        } else {
            const int bits = static_cast<int>(in.ubits(4)) + 2;
            x += in.sbits(bits);
            y += in.sbits(bits);
            x += in.sbits(bits);
            y += in.sbits(bits);
            path.emplace_back(x, y);
        }
    }
    in.align();
    EXPECT_EQ(in.position(), body.size()) << "shape records end before the tag does";
    return path;
}

TEST(Shape, EdgesReachTheRequestedPointsAndEndOnTheTagsLastByte)
{
    swfwriter::Shape shape;
    shape.setFill(shape.addFill(swfwriter::Fill::solid(swfwriter::Rgba::hex(0x336699))));
    shape.setLine(shape.addLine(2, swfwriter::Rgba::hex(0x000000)));
    shape.moveTo({10, 10});
    shape.lineTo({110, 10});    // horizontal
    shape.lineTo({110, 60.55}); // vertical, rounded to twips
    shape.curveTo({60, 90}, {10, 60});
    shape.lineTo({10, 10});
    shape.moveTo({-5, 2000}); // far away: a delta that needs splitting
    shape.lineTo({3000, -1000});

    swfwriter::Movie movie(200, 100, 12, swfwriter::Rgba::hex(0xffffff));
    movie.define(shape);
    const swftest::Swf swf = swftest::readSwf(movie.bytes(swfwriter::Compression::None));
    const auto path = penPath(tagBody(swf, 2), false);
    const std::vector<std::pair<std::int32_t, std::int32_t>> expected = {
        {200, 200}, {2200, 200}, {2200, 1211}, {200, 1200}, {200, 200}, {-100, 40000}};
    ASSERT_GE(path.size(), expected.size() + 1);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), path.begin()));
    EXPECT_EQ(path.back(), (std::pair<std::int32_t, std::int32_t>{60000, -20000}));
}

TEST(Shape, TranslucentOrGradientShapesUseTheMatchingTag)
{
    struct Case {
        const char* name;
        swfwriter::Fill fill;
        std::uint16_t tag;
    };
    const Case cases[] = {
        {"opaque solid", swfwriter::Fill::solid(swfwriter::Rgba::hex(0x123456)), 2},
        {"translucent solid", swfwriter::Fill::solid(swfwriter::Rgba::hex(0x123456, 128)), 32},
        {"linear",
         swfwriter::Fill::linear({0, 0}, {50, 0},
                           {{0, swfwriter::Rgba::hex(0xff0000)}, {1, swfwriter::Rgba::hex(0x0000ff)}}),
         2},
        {"radial with alpha",
         swfwriter::Fill::radial({25, 25}, 25,
                           {{0, swfwriter::Rgba::hex(0xffffff)}, {1, swfwriter::Rgba::hex(0xffffff, 0)}}),
         32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        swfwriter::Shape shape;
        shape.setFill(shape.addFill(c.fill));
        shape.ellipse({25, 25}, 25, 20);
        swfwriter::Movie movie(50, 50, 12, swfwriter::Rgba::hex(0xffffff));
        movie.define(shape);
        const swftest::Swf swf = swftest::readSwf(movie.bytes(swfwriter::Compression::None));
        const auto path = penPath(tagBody(swf, c.tag), c.tag == 32);
        ASSERT_FALSE(path.empty());
        // Eight arcs close the ellipse where it started.
        EXPECT_EQ(path.front(), path.back());
    }
}

swfwriter::Movie sampleMovie()
{
    swfwriter::Movie movie(161, 135, 20, swfwriter::Rgba::hex(0xdbf8f9));
    swfwriter::Shape square;
    square.setFill(square.addFill(swfwriter::Fill::solid(swfwriter::Rgba::hex(0xff0000))));
    square.rectangle(-10, -10, 20, 20);
    const swfwriter::CharacterId squareId = movie.define(square);

    swfwriter::Timeline spin;
    for (int f = 0; f < 4; ++f) {
        if (f == 0)
            spin.place(1, squareId);
        else
            spin.move(1, swfwriter::Matrix::placed(0, 0, 1, f * 30));
        spin.showFrame();
    }
    const swfwriter::CharacterId spinId = movie.define(spin);

    swfwriter::Button button;
    button.add(squareId, {.up = true, .over = true, .down = true, .hit = true}, 1);
    button.on(swfwriter::ButtonEvent::Release, swfwriter::Actions().fscommand("Voltar"));
    const swfwriter::CharacterId buttonId = movie.define(button);

    swfwriter::Timeline& t = movie.timeline();
    t.place(1, spinId, swfwriter::Matrix::translation(40, 40));
    t.place(2, buttonId, swfwriter::Matrix::translation(100, 40),
            swfwriter::ColorTransform::tint(swfwriter::Rgba::hex(0x00ff00), 0.5));
    t.showFrame();
    for (int f = 0; f < 5; ++f) {
        t.move(1, swfwriter::Matrix::translation(40 + f, 40), swfwriter::ColorTransform::alpha(0.2 * f));
        t.showFrame();
    }
    t.remove(2);
    t.actions(swfwriter::Actions().gotoAndPlay(2));
    return movie;
}

TEST(Movie, HeaderAndTagStreamDescribeTheMovie)
{
    const swfwriter::Movie movie = sampleMovie();
    const swftest::Swf swf = swftest::readSwf(movie.bytes(swfwriter::Compression::None));
    EXPECT_EQ(std::string(swf.signature, 3), "FWS");
    EXPECT_GE(swf.version, 8);
    EXPECT_EQ(swf.stage.xMin, 0);
    EXPECT_EQ(swf.stage.yMin, 0);
    EXPECT_EQ(swf.stage.xMax, 161 * 20);
    EXPECT_EQ(swf.stage.yMax, 135 * 20);
    EXPECT_DOUBLE_EQ(swf.frameRate, 20);
    // Six shown frames and a last one that only removes and jumps.
    EXPECT_EQ(swf.frameCount, 7);
    EXPECT_EQ(std::count_if(swf.tags.begin(), swf.tags.end(),
                            [](const swftest::Tag& t) { return t.code == 1; }),
              7);
    ASSERT_GE(swf.tags.size(), 3u);
    EXPECT_EQ(swf.tags[0].code, 69) << "FileAttributes comes first";
    EXPECT_EQ(swf.tags[1].code, 9);
    EXPECT_EQ(swf.tags[1].body, (Bytes{0xdb, 0xf8, 0xf9}));
    EXPECT_EQ(swf.tags.back().code, 0);

    // The sprite carries its own frames and End tag.
    const Bytes sprite = tagBody(swf, 39);
    swftest::BitReader in(sprite.data(), sprite.size());
    in.u16();
    EXPECT_EQ(in.u16(), 4);
    const auto inner = swftest::readTags(in);
    EXPECT_EQ(in.position(), sprite.size());
    EXPECT_EQ(std::count_if(inner.begin(), inner.end(),
                            [](const swftest::Tag& t) { return t.code == 1; }),
              4);
}

TEST(Movie, CompressedFileInflatesToTheSameBody)
{
    const swfwriter::Movie movie = sampleMovie();
    const Bytes plain = movie.bytes(swfwriter::Compression::None);
    const Bytes packed = movie.bytes(swfwriter::Compression::Zlib);
    EXPECT_LT(packed.size(), plain.size());
    const swftest::Swf fws = swftest::readSwf(plain);
    const swftest::Swf cws = swftest::readSwf(packed);
    EXPECT_EQ(std::string(cws.signature, 3), "CWS");
    EXPECT_EQ(cws.version, fws.version);
    EXPECT_EQ(cws.fileLength, plain.size());
    EXPECT_EQ(cws.plain, fws.plain);
}

TEST(Button, ReleaseActionSitsWhereTheOffsetPoints)
{
    const swftest::Swf swf = swftest::readSwf(sampleMovie().bytes(swfwriter::Compression::None));
    const Bytes body = tagBody(swf, 34);
    swftest::BitReader in(body.data(), body.size());
    in.u16();
    EXPECT_EQ(in.u8(), 0);
    const std::size_t offsetField = in.position();
    const std::uint16_t offset = in.u16();
    const std::uint8_t states = in.u8();
    EXPECT_EQ(states, 0x0f);
    EXPECT_EQ(in.u16(), 1); // the square
    EXPECT_EQ(in.u16(), 1); // depth
    // The matrix and colour transform follow; the offset leads past them.
    ASSERT_LT(offsetField + offset, body.size());
    EXPECT_EQ(body[offsetField + offset - 1], 0) << "layers end with a zero byte";
    swftest::BitReader actions(body.data() + offsetField + offset,
                               body.size() - offsetField - offset);
    EXPECT_EQ(actions.u16(), 0) << "only one event handler";
    EXPECT_EQ(actions.u8(), 0x08) << "over-down to over-up: release";
    EXPECT_EQ(actions.u8(), 0x00);
    EXPECT_EQ(actions.u8(), 0x83);
    actions.u16();
    EXPECT_EQ(actions.string(), "FSCommand:Voltar");
    EXPECT_EQ(actions.string(), "");
    EXPECT_EQ(actions.u8(), 0x00);
    EXPECT_EQ(actions.position(), actions.size());
}

TEST(Timeline, PlaceAndMoveRecordWhatChanges)
{
    const swftest::Swf swf = swftest::readSwf(sampleMovie().bytes(swfwriter::Compression::None));
    std::vector<std::uint8_t> flags;
    for (const swftest::Tag& tag : swf.tags)
        if (tag.code == 26)
            flags.push_back(tag.body.at(0));
    // Place of the sprite (character, matrix), place of the button (with colour), then moves
    // with matrix and colour but no character.
    ASSERT_EQ(flags.size(), 7u);
    EXPECT_EQ(flags[0], 0x06);
    EXPECT_EQ(flags[1], 0x0e);
    for (std::size_t i = 2; i < flags.size(); ++i)
        EXPECT_EQ(flags[i], 0x0d);
    const Bytes removal = tagBody(swf, 28);
    EXPECT_EQ(removal, (Bytes{0x02, 0x00}));
}

} // namespace
