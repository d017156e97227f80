#include "SwfReader.h"
#include "swfwriter/Bitmap.h"
#include "swfwriter/MorphShape.h"
#include "swfwriter/Movie.h"
#include "swfwriter/Shape.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace
{

using Bytes = std::vector<std::uint8_t>;
using swfwriter::Fill;
using swfwriter::Rgba;

swftest::Swf written(const std::function<void(swfwriter::Movie&)>& define)
{
    swfwriter::Movie movie(100, 100, 12, Rgba::hex(0xffffff));
    define(movie);
    return swftest::readSwf(movie.bytes(swfwriter::Compression::None));
}

Bytes inflated(const std::uint8_t* data, std::size_t size, std::size_t expected)
{
    Bytes plain(expected + 1);
    uLongf length = static_cast<uLongf>(plain.size());
    if (uncompress(plain.data(), &length, data, static_cast<uLong>(size)) != Z_OK)
        throw std::runtime_error("not a zlib stream");
    plain.resize(length);
    return plain;
}

swftest::Colour colour(Rgba c)
{
    return {c.r, c.g, c.b, c.a};
}

// A DefineShape4 body: bounds, edge bounds, flags, styles and outline.
struct Shape4 {
    swftest::Rect bounds;
    swftest::Rect edges;
    std::uint8_t flags = 0;
    std::vector<swftest::FillStyle> fills;
    std::vector<swftest::LineStyle> lines;
    swftest::Outline outline;
};

Shape4 readShape4(const Bytes& body)
{
    swftest::BitReader in(body.data(), body.size());
    in.u16();
    Shape4 shape;
    shape.bounds = swftest::readRect(in);
    shape.edges = swftest::readRect(in);
    shape.flags = in.u8();
    shape.fills = swftest::readFillStyles(in, 4);
    shape.lines = swftest::readLineStyles(in, 4);
    shape.outline = swftest::readOutline(in);
    EXPECT_EQ(in.position(), body.size());
    return shape;
}

swfwriter::Shape filledSquare(const Fill& fill)
{
    swfwriter::Shape shape;
    shape.setFill(shape.addFill(fill));
    shape.rectangle(0, 0, 50, 50);
    return shape;
}

TEST(Shape4, GradientFieldsReadBack)
{
    const std::vector<swfwriter::GradientStop> three = {
        {0, Rgba::hex(0xff0000)}, {0.5, Rgba::hex(0x00ff00, 128)}, {1, Rgba::hex(0x0000ff, 0)}};
    std::vector<swfwriter::GradientStop> fifteen;
    for (int i = 0; i < 15; ++i)
        fifteen.push_back({i / 14.0, Rgba::hex(0x010101u * static_cast<std::uint32_t>(i * 17))});
    const auto with = [](Fill fill, swfwriter::Spread spread, swfwriter::Interpolation mix) {
        fill.spread = spread;
        fill.interpolation = mix;
        return fill;
    };
    struct Case {
        const char* name;
        Fill fill;
        std::uint8_t type;
        int spread;
        int interpolation;
        double focalPoint;
    };
    const Case cases[] = {
        {"reflected linear",
         with(Fill::linear({0, 0}, {10, 0}, three), swfwriter::Spread::Reflect,
              swfwriter::Interpolation::Normal),
         0x10, 1, 0, 0},
        {"repeated radial in linear light",
         with(Fill::radial({5, 5}, 5, three), swfwriter::Spread::Repeat,
              swfwriter::Interpolation::LinearRgb),
         0x12, 2, 1, 0},
        {"focal to the left", Fill::focal({25, 25}, 25, -0.5, three), 0x13, 0, 0, -0.5},
        {"focal on the rim, fifteen stops", Fill::focal({25, 25}, 25, 1, fifteen), 0x13, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto swf = written([&c](swfwriter::Movie& m) { m.define(filledSquare(c.fill)); });
        const Shape4 shape = readShape4(swftest::tagBody(swf, 83));
        ASSERT_EQ(shape.fills.size(), 1u);
        const swftest::FillStyle& fill = shape.fills[0];
        EXPECT_EQ(fill.type, c.type);
        EXPECT_EQ(fill.spread, c.spread);
        EXPECT_EQ(fill.interpolation, c.interpolation);
        EXPECT_DOUBLE_EQ(fill.focalPoint, c.focalPoint);
        ASSERT_EQ(fill.stops.size(), c.fill.stops.size());
        for (std::size_t i = 0; i < fill.stops.size(); ++i) {
            EXPECT_EQ(fill.stops[i].ratio, std::lround(c.fill.stops[i].position * 255));
            EXPECT_EQ(fill.stops[i].colour, colour(c.fill.stops[i].colour));
        }
        EXPECT_EQ(shape.outline.edges, 4);
    }
}

TEST(Shape4, LineStylesReadBack)
{
    const auto line = [](double width, swfwriter::Cap cap, swfwriter::Join join, double limit) {
        auto l = swfwriter::Line::plain(width, Rgba::hex(0x336699, 200));
        l.cap = cap;
        l.join = join;
        l.miterLimit = limit;
        return l;
    };
    auto gradient = line(6, swfwriter::Cap::Round, swfwriter::Join::Bevel, 0);
    gradient.fill = Fill::linear({0, 0}, {50, 0}, {{0, Rgba::hex(0)}, {1, Rgba::hex(0xffffff)}});
    struct Case {
        const char* name;
        swfwriter::Line line;
        int cap;
        int join;
        double miterLimit; // 0: no limit in the record
    };
    const Case cases[] = {
        {"no caps, bevel", line(4, swfwriter::Cap::None, swfwriter::Join::Bevel, 9), 1, 1, 0},
        {"square caps, miter", line(10, swfwriter::Cap::Square, swfwriter::Join::Miter, 2.5), 2, 2,
         2.5},
        {"round caps, miter clamped to 1",
         line(1, swfwriter::Cap::Round, swfwriter::Join::Miter, 0.2), 0, 2, 1},
        {"gradient stroke", gradient, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        swfwriter::Shape shape;
        shape.setLine(shape.addLine(c.line));
        shape.moveTo({10, 10});
        shape.lineTo({60, 10});
        shape.lineTo({60, 40});
        const auto swf = written([&shape](swfwriter::Movie& m) { m.define(shape); });
        const Shape4 read = readShape4(swftest::tagBody(swf, 83));
        EXPECT_EQ(read.flags, 0x01) << "strokes scale with the shape";
        ASSERT_EQ(read.lines.size(), 1u);
        const swftest::LineStyle& l = read.lines[0];
        EXPECT_EQ(l.width, std::lround(c.line.width * 20));
        EXPECT_EQ(l.startCap, c.cap);
        EXPECT_EQ(l.endCap, c.cap);
        EXPECT_EQ(l.join, c.join);
        EXPECT_DOUBLE_EQ(l.miterLimit, c.miterLimit);
        EXPECT_FALSE(l.noClose);
        EXPECT_EQ(l.hasFill, c.line.fill.has_value());
        if (c.line.fill) {
            EXPECT_EQ(l.fill.type, 0x10);
        } else {
            EXPECT_EQ(l.colour, colour(c.line.colour));
        }
        // The shape's bounds hold half the line width beyond its edges on every side.
        const std::int32_t half = (l.width + 1) / 2;
        EXPECT_EQ(read.edges.xMin, 200);
        EXPECT_EQ(read.edges.yMax, 800);
        EXPECT_EQ(read.bounds.xMin, 200 - half);
        EXPECT_EQ(read.bounds.yMax, 800 + half);
    }
}

TEST(BitmapFill, TypeFollowsWrapAndSmoothingAndTheMatrixCountsImagePixels)
{
    struct Case {
        swfwriter::BitmapWrap wrap;
        bool smoothed;
        std::uint8_t type;
    };
    const Case cases[] = {{swfwriter::BitmapWrap::Repeat, true, 0x40},
                          {swfwriter::BitmapWrap::Clip, true, 0x41},
                          {swfwriter::BitmapWrap::Repeat, false, 0x42},
                          {swfwriter::BitmapWrap::Clip, false, 0x43}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const Fill fill =
            Fill::image(7, swfwriter::Matrix{2, 0, 0, 0.5, 10, -3}, c.wrap, c.smoothed);
        const auto swf = written([&fill](swfwriter::Movie& m) { m.define(filledSquare(fill)); });
        swftest::BitReader in(swftest::tagBody(swf, 2).data(), swftest::tagBody(swf, 2).size());
        in.u16();
        swftest::readRect(in);
        const auto fills = swftest::readFillStyles(in, 1);
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_EQ(fills[0].type, c.type);
        EXPECT_EQ(fills[0].bitmap, 7);
        // One image pixel spans 20 twips at scale 1.
        EXPECT_DOUBLE_EQ(fills[0].matrix.scaleX, 40);
        EXPECT_DOUBLE_EQ(fills[0].matrix.scaleY, 10);
        EXPECT_EQ(fills[0].matrix.translateX, 200);
        EXPECT_EQ(fills[0].matrix.translateY, -60);
    }
}

TEST(Lossless, OpaqueImagesAre24BitAndTranslucentOnesPremultiplied32Bit)
{
    struct Case {
        const char* name;
        swfwriter::Bitmap bitmap;
        std::uint16_t tag;
        Bytes pixels;
    };
    const Case cases[] = {
        {"opaque",
         {2, 1, {Rgba{255, 0, 0, 255}, Rgba{1, 2, 3, 255}}},
         20,
         {0, 255, 0, 0, 0, 1, 2, 3}},
        {"translucent",
         {1, 2, {Rgba{255, 128, 0, 128}, Rgba{10, 20, 30, 0}}},
         36,
         {128, 128, 64, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto swf = written([&c](swfwriter::Movie& m) { m.define(c.bitmap); });
        const Bytes& body = swftest::tagBody(swf, c.tag);
        swftest::BitReader in(body.data(), body.size());
        EXPECT_EQ(in.u16(), 1);
        EXPECT_EQ(in.u8(), 5) << "32 bits per pixel";
        EXPECT_EQ(in.u16(), c.bitmap.width);
        EXPECT_EQ(in.u16(), c.bitmap.height);
        EXPECT_EQ(inflated(body.data() + 7, body.size() - 7, c.pixels.size()), c.pixels);
    }
    swfwriter::Movie movie(10, 10, 12, Rgba{});
    EXPECT_THROW(movie.define(swfwriter::Bitmap{2, 2, {Rgba{}, Rgba{}, Rgba{}}}),
                 std::invalid_argument);
}

// A small JPEG file's markers with made-up contents: enough for anything that only walks the
// segments, which is all the writer does.
const Bytes soi = {0xff, 0xd8};
const Bytes app0 = {0xff, 0xe0, 0x00, 0x06, 'J', 'F', 'I', 'F'};
const Bytes dqt = {0xff, 0xdb, 0x00, 0x05, 0x00, 0x01, 0x02};
const Bytes sof0 = {0xff, 0xc0, 0x00, 0x0b, 0x08, 0x00, 0x02, 0x00, 0x03, 0x01, 0x01, 0x11, 0x00};
const Bytes dht = {0xff, 0xc4, 0x00, 0x04, 0xaa, 0xbb};
const Bytes sos = {0xff, 0xda, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3f, 0x00};
const Bytes scan = {0x12, 0x34, 0xff, 0x00, 0x56};
const Bytes eoi = {0xff, 0xd9};

Bytes joined(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Bytes sampleJpeg = joined({soi, app0, dqt, sof0, dht, sos, scan, eoi});

TEST(Jpeg, SplitPutsTheTablesApartFromTheImage)
{
    const auto parts = swfwriter::JpegParts::split(sampleJpeg);
    EXPECT_EQ(parts.tables, joined({soi, dqt, dht, eoi}));
    EXPECT_EQ(parts.image, joined({soi, app0, sof0, sos, scan, eoi}));
    EXPECT_EQ(parts.width, 3);
    EXPECT_EQ(parts.height, 2);
    // Fill bytes before a marker are allowed and dropped.
    const auto padded =
        swfwriter::JpegParts::split(joined({soi, {0xff}, dqt, sof0, dht, sos, scan, eoi}));
    EXPECT_EQ(padded.tables, joined({soi, dqt, dht, eoi}));
}

TEST(Jpeg, SplitRefusesWhatIsNoWholeJpegFile)
{
    const std::pair<const char*, Bytes> cases[] = {
        {"PNG", {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a}},
        {"empty", {}},
        {"segment past the end", joined({soi, {0xff, 0xdb, 0x00, 0x10, 0x00}})},
        {"no scan", joined({soi, dqt, sof0, dht})},
        {"no end mark", joined({soi, dqt, sof0, dht, sos, scan})},
        {"no frame header", joined({soi, dqt, dht, sos, scan, eoi})},
        {"no marker where one belongs", joined({soi, dqt, {0x00, 0x00, 0x00, 0x00}, eoi})},
    };
    for (const auto& [name, data] : cases) {
        SCOPED_TRACE(name);
        EXPECT_THROW(static_cast<void>(swfwriter::JpegParts::split(data)), std::invalid_argument);
    }
}

TEST(Jpeg, EachFormGetsItsTag)
{
    const Bytes alpha = {0, 50, 100, 150, 200, 255};
    const auto swf = written([&alpha](swfwriter::Movie& m) {
        m.defineJpeg(sampleJpeg);
        m.defineJpeg(sampleJpeg, alpha);
        m.defineJpegSharingTables(sampleJpeg);
        m.defineJpegSharingTables(sampleJpeg);
    });
    EXPECT_EQ(swftest::tagBody(swf, 21), joined({{1, 0}, sampleJpeg}));

    const Bytes& withAlpha = swftest::tagBody(swf, 35);
    swftest::BitReader in(withAlpha.data(), withAlpha.size());
    EXPECT_EQ(in.u16(), 2);
    const std::uint32_t alphaOffset = in.u32();
    ASSERT_EQ(alphaOffset, sampleJpeg.size());
    EXPECT_EQ(Bytes(withAlpha.begin() + 6, withAlpha.begin() + 6 + alphaOffset), sampleJpeg);
    EXPECT_EQ(inflated(withAlpha.data() + 6 + alphaOffset, withAlpha.size() - 6 - alphaOffset,
                       alpha.size()),
              alpha);

    // One tables tag, ahead of the images that need it.
    const auto tables = swftest::tagBodies(swf, 8);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0], joined({soi, dqt, dht, eoi}));
    const auto firstOf = [&swf](std::uint16_t code) {
        return std::find_if(swf.tags.begin(), swf.tags.end(),
                            [code](const swftest::Tag& t) { return t.code == code; });
    };
    EXPECT_LT(firstOf(8), firstOf(6));
    EXPECT_EQ(swftest::tagBodies(swf, 6),
              (std::vector<Bytes>{joined({{3, 0}, soi, app0, sof0, sos, scan, eoi}),
                                  joined({{4, 0}, soi, app0, sof0, sos, scan, eoi})}));
}

TEST(Jpeg, RefusesAnAlphaPlaneOfTheWrongSizeAndASecondSetOfTables)
{
    swfwriter::Movie movie(10, 10, 12, Rgba{});
    EXPECT_THROW(movie.defineJpeg(sampleJpeg, Bytes(5, 0)), std::invalid_argument);
    movie.defineJpegSharingTables(sampleJpeg);
    const Bytes otherTables =
        joined({soi, {0xff, 0xdb, 0x00, 0x03, 0x09}, sof0, dht, sos, scan, eoi});
    EXPECT_THROW(movie.defineJpegSharingTables(otherTables), std::invalid_argument);
}

swfwriter::Shape morphSquare(double size, const Fill& fill, double lineWidth, Rgba line)
{
    swfwriter::Shape shape;
    shape.setFill(shape.addFill(fill));
    shape.setLine(shape.addLine(lineWidth, line));
    shape.rectangle(0, 0, size, size);
    return shape;
}

// Reads a morph shape's body from the start bounds on; returns the two outlines and checks
// that the offset leads to the end outline and the end outline fills the tag.
std::pair<swftest::Outline, swftest::Outline> readMorphOutlines(swftest::BitReader& in,
                                                                const Bytes& body,
                                                                std::size_t offsetEnd,
                                                                std::uint32_t offset)
{
    const swftest::Outline start = swftest::readOutline(in);
    EXPECT_EQ(in.position(), offsetEnd + offset) << "the offset leads to the end outline";
    const swftest::Outline end = swftest::readOutline(in);
    EXPECT_EQ(in.position(), body.size());
    return {start, end};
}

TEST(MorphShape, EndOutlineSitsWhereTheOffsetPointsAndPairsWithTheStart)
{
    const Rgba red = Rgba::hex(0xff0000);
    const Rgba blue = Rgba::hex(0x0000ff, 100);
    swfwriter::MorphShape morph(morphSquare(10, Fill::solid(red), 1, Rgba::hex(0)),
                                morphSquare(40, Fill::solid(blue), 6, Rgba::hex(0xffa000)));
    EXPECT_EQ(morph.tagVersion(), 1);
    const auto swf = written([&morph](swfwriter::Movie& m) { m.define(morph); });
    const Bytes& body = swftest::tagBody(swf, 46);
    swftest::BitReader in(body.data(), body.size());
    in.u16();
    const swftest::Rect startBounds = swftest::readRect(in);
    const swftest::Rect endBounds = swftest::readRect(in);
    EXPECT_EQ(startBounds.xMax, 200 + 10);
    EXPECT_EQ(endBounds.xMax, 800 + 60);
    const std::uint32_t offset = in.u32();
    const std::size_t offsetEnd = in.position();

    EXPECT_EQ(in.u8(), 1) << "one fill";
    EXPECT_EQ(in.u8(), 0x00) << "solid";
    EXPECT_EQ(swftest::readColour(in, true), colour(red));
    EXPECT_EQ(swftest::readColour(in, true), colour(blue));
    EXPECT_EQ(in.u8(), 1) << "one line";
    EXPECT_EQ(in.u16(), 20);
    EXPECT_EQ(in.u16(), 120);
    EXPECT_EQ(swftest::readColour(in, true), colour(Rgba::hex(0)));
    EXPECT_EQ(swftest::readColour(in, true), colour(Rgba::hex(0xffa000)));

    const auto [start, end] = readMorphOutlines(in, body, offsetEnd, offset);
    EXPECT_EQ(start.edges, 4);
    EXPECT_EQ(end.edges, 4);
    EXPECT_EQ(end.moves, 1);
    EXPECT_EQ(end.styleChanges, 1) << "the end outline only moves the pen";
    EXPECT_EQ(end.points.back(), (std::pair<std::int32_t, std::int32_t>{0, 0}));
    EXPECT_EQ(end.points[1], (std::pair<std::int32_t, std::int32_t>{800, 0}));
}

TEST(MorphShape, GradientsMorphStopByStop)
{
    const Fill from =
        Fill::linear({0, 0}, {10, 0}, {{0, Rgba::hex(0x111111)}, {1, Rgba::hex(0x222222)}});
    const Fill to =
        Fill::linear({0, 0}, {0, 40}, {{0.2, Rgba::hex(0x333333)}, {0.8, Rgba::hex(0x444444)}});
    swfwriter::Shape start;
    start.setFill(start.addFill(from));
    start.rectangle(0, 0, 10, 10);
    swfwriter::Shape end;
    end.setFill(end.addFill(to));
    end.rectangle(0, 0, 40, 40);
    const swfwriter::MorphShape morph(start, end);
    const auto swf = written([&morph](swfwriter::Movie& m) { m.define(morph); });
    const Bytes& body = swftest::tagBody(swf, 46);
    swftest::BitReader in(body.data(), body.size());
    in.u16();
    swftest::readRect(in);
    swftest::readRect(in);
    in.u32();
    EXPECT_EQ(in.u8(), 1);
    EXPECT_EQ(in.u8(), 0x10);
    const swftest::Matrix a = swftest::readMatrix(in);
    const swftest::Matrix b = swftest::readMatrix(in);
    EXPECT_NE(a.skew0, b.skew0) << "the end gradient is turned a quarter";
    EXPECT_EQ(in.u8(), 2) << "pad, normal, two stops";
    const std::uint8_t ratios[] = {0, 51, 255, 204};
    const std::uint32_t greys[] = {0x111111, 0x333333, 0x222222, 0x444444};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(in.u8(), ratios[2 * i]);
        EXPECT_EQ(swftest::readColour(in, true), colour(Rgba::hex(greys[2 * i])));
        EXPECT_EQ(in.u8(), ratios[2 * i + 1]);
        EXPECT_EQ(swftest::readColour(in, true), colour(Rgba::hex(greys[2 * i + 1])));
    }
    EXPECT_EQ(in.u8(), 0) << "no lines";
}

TEST(MorphShape, NewerLineStylesTakeTheSecondTag)
{
    auto line = swfwriter::Line::plain(2, Rgba::hex(0x102030));
    line.join = swfwriter::Join::Miter;
    line.miterLimit = 3;
    line.cap = swfwriter::Cap::None;
    swfwriter::Shape start;
    start.setLine(start.addLine(line));
    start.moveTo({0, 0});
    start.lineTo({10, 10});
    swfwriter::Shape end;
    line.width = 8;
    end.setLine(end.addLine(line));
    end.moveTo({0, 10});
    end.lineTo({10, 0});
    const swfwriter::MorphShape morph(start, end);
    EXPECT_EQ(morph.tagVersion(), 2);
    const auto swf = written([&morph](swfwriter::Movie& m) { m.define(morph); });
    const Bytes& body = swftest::tagBody(swf, 84);
    swftest::BitReader in(body.data(), body.size());
    in.u16();
    for (int i = 0; i < 4; ++i)
        swftest::readRect(in); // bounds with and without strokes, start and end
    EXPECT_EQ(in.u8(), 0x01) << "scaling strokes";
    const std::uint32_t offset = in.u32();
    const std::size_t offsetEnd = in.position();
    EXPECT_EQ(in.u8(), 0) << "no fills";
    EXPECT_EQ(in.u8(), 1);
    EXPECT_EQ(in.u16(), 40);
    EXPECT_EQ(in.u16(), 160);
    EXPECT_EQ(in.ubits(2), 1u) << "no start cap";
    EXPECT_EQ(in.ubits(2), 2u) << "miter join";
    EXPECT_EQ(in.ubits(1), 0u) << "no fill";
    in.ubits(9);
    EXPECT_EQ(in.ubits(2), 1u) << "no end cap";
    EXPECT_EQ(in.u16(), 3 * 256) << "miter limit";
    EXPECT_EQ(swftest::readColour(in, true), colour(Rgba::hex(0x102030)));
    EXPECT_EQ(swftest::readColour(in, true), colour(Rgba::hex(0x102030)));
    const auto [first, last] = readMorphOutlines(in, body, offsetEnd, offset);
    EXPECT_EQ(first.edges, 1);
    EXPECT_EQ(last.edges, 1);
}

TEST(MorphShape, RefusesOutlinesThatDoNotPairUp)
{
    const Fill red = Fill::solid(Rgba::hex(0xff0000));
    const auto square = [&red] { return morphSquare(10, red, 1, Rgba::hex(0)); };
    swfwriter::Shape extraEdge = square();
    extraEdge.lineTo({5, 5});
    swfwriter::Shape extraMove = square();
    extraMove.moveTo({5, 5});
    const swfwriter::Shape gradient =
        morphSquare(10, Fill::linear({0, 0}, {1, 0}, {{0, Rgba{}}, {1, Rgba{}}}), 1, Rgba::hex(0));
    swfwriter::Shape noLine;
    noLine.setFill(noLine.addFill(red));
    noLine.rectangle(0, 0, 10, 10);
    const swfwriter::Shape focal =
        morphSquare(10, Fill::focal({0, 0}, 1, 0.5, {{0, Rgba{}}, {1, Rgba{}}}), 1, Rgba::hex(0));
    const std::pair<const char*, swfwriter::Shape> cases[] = {
        {"an extra edge", extraEdge},
        {"an extra move", extraMove},
        {"another fill kind", gradient},
        {"a missing line", noLine},
    };
    for (const auto& [name, other] : cases) {
        SCOPED_TRACE(name);
        EXPECT_THROW(swfwriter::MorphShape(square(), other), std::invalid_argument);
        EXPECT_THROW(swfwriter::MorphShape(other, square()), std::invalid_argument);
    }
    EXPECT_THROW(swfwriter::MorphShape(focal, focal), std::invalid_argument);
}

} // namespace
