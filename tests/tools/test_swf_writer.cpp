#include "SwfReader.h"
#include "swfwriter/Actions.h"
#include "swfwriter/BitWriter.h"
#include "swfwriter/Button.h"
#include "swfwriter/Movie.h"
#include "swfwriter/Records.h"
#include "swfwriter/Shape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace
{

using Bytes = std::vector<std::uint8_t>;

using swftest::tagBody;

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
        {"gotoAndStop(3)",
         swfwriter::Actions().gotoAndStop(3),
         {0x81, 0x02, 0x00, 0x02, 0x00, 0x00}},
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

TEST(Actions, StackOperationsCompileToTheDocumentedBytecode)
{
    using A = swfwriter::Actions;
    struct Case {
        const char* name;
        A actions;
        Bytes bytes;
    };
    const Case cases[] = {
        {"trace(\"hi\")", A().trace("hi"), {0x96, 0x04, 0x00, 0x00, 'h', 'i', 0x00, 0x26, 0x00}},
        {"push string", A().push({std::string("a")}), {0x96, 0x03, 0x00, 0x00, 'a', 0x00, 0x00}},
        // 1.5 is 0x3ff8000000000000: the high half comes first, each half little-endian.
        {"push double",
         A().push({1.5}),
         {0x96, 0x09, 0x00, 0x06, 0x00, 0x00, 0xf8, 0x3f, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"push integer", A().push({-2}), {0x96, 0x05, 0x00, 0x07, 0xfe, 0xff, 0xff, 0xff, 0x00}},
        {"push boolean", A().push({true}), {0x96, 0x02, 0x00, 0x05, 0x01, 0x00}},
        {"push null", A().push({A::Null{}}), {0x96, 0x01, 0x00, 0x02, 0x00}},
        {"push undefined", A().push({A::Undefined{}}), {0x96, 0x01, 0x00, 0x03, 0x00}},
        {"push register", A().push({A::Register{2}}), {0x96, 0x02, 0x00, 0x04, 0x02, 0x00}},
        {"push constant", A().push({A::Constant{3}}), {0x96, 0x02, 0x00, 0x08, 0x03, 0x00}},
        {"push far constant",
         A().push({A::Constant{300}}),
         {0x96, 0x03, 0x00, 0x09, 0x2c, 0x01, 0x00}},
        {"one push, two values",
         A().push({false, A::Constant{0}}),
         {0x96, 0x04, 0x00, 0x05, 0x00, 0x08, 0x00, 0x00}},
        {"constant pool",
         A().constantPool({"a", "bc"}),
         {0x88, 0x07, 0x00, 0x02, 0x00, 'a', 0x00, 'b', 'c', 0x00, 0x00}},
        {"operators",
         A().getVariable()
             .setVariable()
             .add()
             .less()
             .equals()
             .logicalNot()
             .stringAdd()
             .pop()
             .trace(),
         {0x1c, 0x1d, 0x47, 0x48, 0x49, 0x12, 0x21, 0x17, 0x26, 0x00}},
        {"store register", A().storeRegister(1), {0x87, 0x01, 0x00, 0x01, 0x00}},
        {"tellTarget", A().setTarget("lamp"), {0x8b, 0x05, 0x00, 'l', 'a', 'm', 'p', 0x00, 0x00}},
        // Offsets count from the end of the branch: forward past a stop, back to the start.
        {"branch forward",
         [] {
             A a;
             const A::Mark after = a.newMark();
             a.jumpIf(after).stop().mark(after).play();
             return a;
         }(),
         {0x9d, 0x02, 0x00, 0x01, 0x00, 0x07, 0x06, 0x00}},
        {"branch back",
         [] {
             A a;
             const A::Mark start = a.newMark();
             a.mark(start).stop().jump(start);
             return a;
         }(),
         {0x07, 0x99, 0x02, 0x00, 0xfa, 0xff, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.actions.bytes(), c.bytes);
    }
}

TEST(Actions, RefusesWhatThePlayerCannotRun)
{
    swfwriter::Actions unplaced;
    unplaced.jump(unplaced.newMark());
    EXPECT_THROW(static_cast<void>(unplaced.bytes()), std::logic_error);
    EXPECT_THROW(swfwriter::Actions().storeRegister(4), std::out_of_range);
    EXPECT_THROW(swfwriter::Actions().push({swfwriter::Actions::Register{4}}), std::out_of_range);
}

// Walks a shape tag's body the way a player does and returns the pen positions (twips) after
// each move and edge; fails when the records do not end exactly on the tag's last byte.
std::vector<std::pair<std::int32_t, std::int32_t>> penPath(const Bytes& body, int version)
{
    swftest::BitReader in(body.data(), body.size());
    in.u16(); // id
    swftest::readRect(in);
    if (version == 4) {
        swftest::readRect(in);
        in.u8();
    }
    swftest::readFillStyles(in, version);
    swftest::readLineStyles(in, version);
    const swftest::Outline outline = swftest::readOutline(in);
    EXPECT_EQ(in.position(), body.size()) << "shape records end before the tag does";
    return outline.points;
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
    const auto path = penPath(tagBody(swf, 2), 1);
    const std::vector<std::pair<std::int32_t, std::int32_t>> expected = {
        {200, 200}, {2200, 200}, {2200, 1211}, {200, 1200}, {200, 200}, {-100, 40000}};
    ASSERT_GE(path.size(), expected.size() + 1);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), path.begin()));
    EXPECT_EQ(path.back(), (std::pair<std::int32_t, std::int32_t>{60000, -20000}));
}

swfwriter::Fill withSpread(swfwriter::Fill fill, swfwriter::Spread spread)
{
    fill.spread = spread;
    return fill;
}

swfwriter::Fill linearRgb(swfwriter::Fill fill)
{
    fill.interpolation = swfwriter::Interpolation::LinearRgb;
    return fill;
}

std::vector<swfwriter::GradientStop> greyStops(int count, std::uint8_t alpha = 255)
{
    std::vector<swfwriter::GradientStop> stops;
    for (int i = 0; i < count; ++i)
        stops.push_back(
            {i / double(count - 1),
             swfwriter::Rgba{static_cast<std::uint8_t>(i * 16), static_cast<std::uint8_t>(i * 16),
                             static_cast<std::uint8_t>(i * 16), alpha}});
    return stops;
}

TEST(Shape, EachShapeUsesTheOldestTagThatHoldsItsStyles)
{
    using swfwriter::Fill;
    using swfwriter::Rgba;
    const auto square = swfwriter::Line::plain(4, Rgba::hex(0x000000));
    auto squareCap = square;
    squareCap.cap = swfwriter::Cap::Square;
    auto bevel = square;
    bevel.join = swfwriter::Join::Bevel;
    auto gradientLine = square;
    gradientLine.fill = Fill::linear({0, 0}, {50, 0}, greyStops(2));
    struct Case {
        const char* name;
        Fill fill;
        std::optional<swfwriter::Line> line;
        std::uint16_t tag;
    };
    const Case cases[] = {
        {"opaque solid", Fill::solid(Rgba::hex(0x123456)), {}, 2},
        {"translucent solid", Fill::solid(Rgba::hex(0x123456, 128)), {}, 32},
        {"linear", Fill::linear({0, 0}, {50, 0}, greyStops(2)), {}, 2},
        {"eight stops", Fill::linear({0, 0}, {50, 0}, greyStops(8)), {}, 2},
        {"nine stops", Fill::linear({0, 0}, {50, 0}, greyStops(9)), {}, 83},
        {"radial with alpha", Fill::radial({25, 25}, 25, greyStops(2, 0)), {}, 32},
        {"reflected",
         withSpread(Fill::radial({25, 25}, 5, greyStops(2)), swfwriter::Spread::Reflect),
         {},
         83},
        {"repeated",
         withSpread(Fill::linear({0, 0}, {5, 0}, greyStops(2)), swfwriter::Spread::Repeat),
         {},
         83},
        {"linear RGB", linearRgb(Fill::linear({0, 0}, {50, 0}, greyStops(3))), {}, 83},
        {"focal", Fill::focal({25, 25}, 25, -0.5, greyStops(3)), {}, 83},
        {"bitmap", Fill::image(1, {}, swfwriter::BitmapWrap::Clip, true), {}, 2},
        {"round line", Fill::solid(Rgba::hex(0x123456)), square, 2},
        {"translucent line", Fill::solid(Rgba::hex(0x123456)),
         swfwriter::Line::plain(2, Rgba::hex(0, 100)), 32},
        {"square cap", Fill::solid(Rgba::hex(0x123456)), squareCap, 83},
        {"bevel join", Fill::solid(Rgba::hex(0x123456)), bevel, 83},
        {"gradient line", Fill::solid(Rgba::hex(0x123456)), gradientLine, 83},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        swfwriter::Shape shape;
        shape.setFill(shape.addFill(c.fill));
        if (c.line)
            shape.setLine(shape.addLine(*c.line));
        shape.ellipse({25, 25}, 25, 20);
        swfwriter::Movie movie(50, 50, 12, Rgba::hex(0xffffff));
        movie.define(shape);
        const swftest::Swf swf = swftest::readSwf(movie.bytes(swfwriter::Compression::None));
        const auto path = penPath(tagBody(swf, c.tag), c.tag == 83 ? 4 : c.tag == 32 ? 3 : 1);
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
        t.move(1, swfwriter::Matrix::translation(40 + f, 40),
               swfwriter::ColorTransform::alpha(0.2 * f));
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

// Skips a CXFORMWITHALPHA record.
void skipColorTransform(swftest::BitReader& in)
{
    const bool add = in.ubits(1) != 0;
    const bool multiply = in.ubits(1) != 0;
    const int bits = static_cast<int>(in.ubits(4));
    in.ubits(bits * ((add ? 4 : 0) + (multiply ? 4 : 0)));
    in.align();
}

TEST(Timeline, PlacementsCarryRatioNameAndClipDepthInOrder)
{
    struct Case {
        const char* name;
        bool move;
        swfwriter::Placement placement;
        std::uint8_t flags;
    };
    const Case cases[] = {
        {"ratio", false, {{}, {}, 0x1234, {}, {}}, 0x16},
        {"name and clip", false, {{}, {}, {}, "mask", 9}, 0x66},
        {"everything",
         false,
         {swfwriter::Matrix::translation(3, 4), swfwriter::ColorTransform::alpha(0.5), 65535, "n",
          7},
         0x7e},
        {"ratio on a move", true, {{}, {}, 0, {}, {}}, 0x15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        swfwriter::Timeline timeline;
        if (c.move)
            timeline.move(3, c.placement);
        else
            timeline.place(3, 5, c.placement);
        const Bytes tags = timeline.tags();
        swftest::BitReader stream(tags.data(), tags.size());
        const auto read = swftest::readTags(stream);
        ASSERT_EQ(read.front().code, 26);
        const Bytes& body = read.front().body;
        swftest::BitReader in(body.data(), body.size());
        EXPECT_EQ(in.u8(), c.flags);
        EXPECT_EQ(in.u16(), 3);
        if (!c.move) {
            EXPECT_EQ(in.u16(), 5);
        }
        swftest::readMatrix(in);
        if (c.placement.colour)
            skipColorTransform(in);
        if (c.placement.ratio) {
            EXPECT_EQ(in.u16(), *c.placement.ratio);
        }
        if (!c.placement.name.empty()) {
            EXPECT_EQ(in.string(), c.placement.name);
        }
        if (c.placement.clipDepth) {
            EXPECT_EQ(in.u16(), *c.placement.clipDepth);
        }
        EXPECT_EQ(in.position(), body.size());
    }
}

TEST(Timeline, AClipMasksOnlyDepthsAboveItsOwn)
{
    swfwriter::Timeline timeline;
    EXPECT_THROW(timeline.place(4, 1, swfwriter::Placement{{}, {}, {}, {}, 4}),
                 std::invalid_argument);
    EXPECT_NO_THROW(timeline.place(4, 1, swfwriter::Placement{{}, {}, {}, {}, 5}));
}

} // namespace
