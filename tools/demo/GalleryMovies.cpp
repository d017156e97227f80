#include "GalleryMovies.h"

#include "swfwriter/Bitmap.h"
#include "swfwriter/Button.h"
#include "swfwriter/EditText.h"
#include "swfwriter/Font.h"
#include "swfwriter/GlyphOutline.h"
#include "swfwriter/MorphShape.h"
#include "swfwriter/Movie.h"
#include "swfwriter/Shape.h"
#include "swfwriter/StaticText.h"

#include <QBuffer>
#include <QImage>

#include <cmath>
#include <functional>
#include <numbers>
#include <stdexcept>
#include <string>

using swfwriter::Actions;
using swfwriter::CharacterId;
using swfwriter::Fill;
using swfwriter::Matrix;
using swfwriter::Placement;
using swfwriter::Point;
using swfwriter::Rgba;
using swfwriter::Shape;

namespace
{

constexpr double frameRate = 12;
constexpr double width = 400;
constexpr double height = 300;
constexpr std::uint16_t fullRatio = 65535;

using PixelFunction = std::function<Rgba(int x, int y)>;

swfwriter::Bitmap bitmap(int w, int h, const PixelFunction& pixel)
{
    swfwriter::Bitmap result{w, h, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            result.pixels.push_back(pixel(x, y));
    return result;
}

// A JPEG file of the picture's colours (alpha ignored), as Qt's encoder writes it.
std::vector<std::uint8_t> jpeg(int w, int h, const PixelFunction& pixel)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Rgba c = pixel(x, y);
            image.setPixel(x, y, qRgb(c.r, c.g, c.b));
        }
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG", 85))
        throw std::runtime_error("Qt cannot write JPEG images");
    return {data.begin(), data.end()};
}

std::uint8_t channel(double value)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

// Colourful bands that show scaling, smoothing and the image's edges.
Rgba plasma(int x, int y)
{
    return {channel(128 + 127 * std::sin(x * 0.2)), channel(128 + 127 * std::sin(y * 0.15 + 1)),
            channel(128 + 127 * std::sin((x + y) * 0.1 + 2)), 255};
}

// A small tile whose single pixels must stay sharp when magnified without smoothing.
Rgba tile(int x, int y)
{
    if (x == y || x == 15 - y)
        return Rgba::hex(0x202060);
    return (x / 4 + y / 4) % 2 == 0 ? Rgba::hex(0xf0c020) : Rgba::hex(0x30a0e0);
}

// A soft disc: opaque orange at the centre, fading to transparent at its rim.
Rgba disc(int x, int y)
{
    const double d = std::hypot(x - 23.5, y - 23.5) / 24;
    const auto alpha = channel(255 * std::clamp((1 - d) * 2.5, 0.0, 1.0));
    return {channel(255 - 60 * d), channel(140 + 80 * d), channel(40 + 120 * d), alpha};
}

// A sunset: sky, sun and sea, in the colours JPEG compression handles well.
Rgba sunset(int x, int y)
{
    if (std::hypot(x - 60, y - 34) < 14)
        return Rgba::hex(0xfff0a0);
    if (y < 40)
        return {channel(250 - y), channel(120 + y * 2), channel(90 + y * 3), 255};
    return {channel(30 + (x % 12) * 3), channel(60 + y / 2), channel(140 + y), 255};
}

// The alpha plane of the sunset: opaque in the middle, fading out towards the rim.
std::vector<std::uint8_t> vignette(int w, int h)
{
    std::vector<std::uint8_t> alpha;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double d = std::hypot((x - w / 2.0) / (w / 2.0), (y - h / 2.0) / (h / 2.0));
            alpha.push_back(channel(255 * std::clamp((1.1 - d) * 2, 0.0, 1.0)));
        }
    }
    return alpha;
}

Shape rectangle(double x, double y, double w, double h, const Fill& fill)
{
    Shape shape;
    shape.setFill(shape.addFill(fill));
    shape.rectangle(x, y, w, h);
    return shape;
}

// A grey checkerboard, so that translucent things above it show what they let through.
CharacterId checkerboard(swfwriter::Movie& movie, double x, double y, double w, double h)
{
    Shape shape;
    shape.setFill(shape.addFill(Fill::solid(Rgba::hex(0xb8b8b8))));
    constexpr double cell = 10;
    for (double cy = 0; cy < h; cy += cell)
        for (double cx = std::fmod(cy / cell, 2) * cell; cx < w; cx += 2 * cell)
            shape.rectangle(x + cx, y + cy, cell, cell);
    return movie.define(shape);
}

std::vector<Point> star(int points, double outer, double inner, double turn = 0)
{
    std::vector<Point> corners;
    for (int i = 0; i < 2 * points; ++i) {
        const double angle = turn - std::numbers::pi / 2 + i * std::numbers::pi / points;
        const double r = i % 2 == 0 ? outer : inner;
        corners.push_back({r * std::cos(angle), r * std::sin(angle)});
    }
    return corners;
}

// Places a character on the first frame and moves it on the later ones.
void show(swfwriter::Timeline& t, int frame, std::uint16_t depth, CharacterId character,
          const Placement& placement)
{
    if (frame == 0)
        t.place(depth, character, placement);
    else
        t.move(depth, placement);
}

// Closes the timeline with a frame that stops it.
void stopHere(swfwriter::Timeline& t)
{
    t.actions(Actions().stop());
    t.showFrame();
}

std::vector<swfwriter::GradientStop> rainbow(int count)
{
    std::vector<swfwriter::GradientStop> stops;
    for (int i = 0; i < count; ++i) {
        const double hue = i / double(count - 1);
        const auto wave = [hue](double phase) {
            return channel(128 + 127 * std::cos(2 * std::numbers::pi * (hue - phase)));
        };
        stops.push_back({hue, {wave(0), wave(1.0 / 3), wave(2.0 / 3), 255}});
    }
    return stops;
}

} // namespace

GalleryMovies::GalleryMovies(const swfwriter::GlyphOutline& glyphs, std::filesystem::path folder)
    : m_glyphs(glyphs)
    , m_folder(std::move(folder))
{
}

void GalleryMovies::writeAll() const
{
    gradients();
    strokes();
    bitmaps();
    morph();
    spritesAndClips();
    text();
    buttons();
    actions();
}

void GalleryMovies::gradients() const
{
    swfwriter::Movie movie(width, height, frameRate, Rgba::hex(0xf4f4f4));
    swfwriter::Timeline& t = movie.timeline();
    const std::vector<swfwriter::GradientStop> warm = {
        {0, Rgba::hex(0xe02020)}, {0.5, Rgba::hex(0xf0d020)}, {1, Rgba::hex(0x2040e0)}};

    // The three spread modes: the gradient covers only the middle of each box.
    std::uint16_t depth = 1;
    const swfwriter::Spread spreads[] = {swfwriter::Spread::Pad, swfwriter::Spread::Reflect,
                                         swfwriter::Spread::Repeat};
    for (int i = 0; i < 3; ++i) {
        const double x = 10 + i * 130;
        Fill fill = Fill::linear({x + 45, 0}, {x + 75, 0}, warm);
        fill.spread = spreads[i];
        t.place(depth++, movie.define(rectangle(x, 10, 120, 60, fill)));
    }
    // Primaries mixed in the stored sRGB values (linear light is left to Ruffle).
    const std::vector<swfwriter::GradientStop> primaries = {
        {0, Rgba::hex(0xff0000)}, {0.5, Rgba::hex(0x00ff00)}, {1, Rgba::hex(0x0000ff)}};
    t.place(depth++,
            movie.define(rectangle(10, 80, 380, 26, Fill::linear({10, 0}, {390, 0}, primaries))));
    // Two bands crossing as one fill: filled even-odd, the crossing is a hole (non-zero winding
    // is left to Ruffle).
    {
        Shape bands;
        bands.setFill(bands.addFill(Fill::solid(Rgba::hex(0x3070c0))));
        bands.rectangle(10, 110, 180, 26);
        bands.rectangle(120, 114, 270, 18);
        t.place(depth++, movie.define(bands));
    }
    // Fifteen stops, the most a gradient holds.
    t.place(depth++, movie.define(rectangle(10, 142, 380, 14,
                                            Fill::linear({10, 0}, {390, 0}, rainbow(15)))));
    t.place(depth++, checkerboard(movie, 150, 165, 240, 125));
    // Concentric rings: a small radial gradient reflected over the whole box.
    {
        Fill fill =
            Fill::radial({340, 228}, 18, {{0, Rgba::hex(0x104080)}, {1, Rgba::hex(0xa0e0ff)}});
        fill.spread = swfwriter::Spread::Reflect;
        t.place(depth++, movie.define(rectangle(295, 170, 90, 115, fill)));
    }

    // A radial gradient off the disc's centre, turning (focal gradients are left to Ruffle);
    // and a translucent radial gradient drifting over the board.
    Shape focal;
    focal.setFill(focal.addFill(Fill::radial(
        {25, 0}, 60,
        {{0, Rgba::hex(0xffffff)}, {0.35, Rgba::hex(0xffa030)}, {1, Rgba::hex(0x801010)}})));
    focal.ellipse({0, 0}, 60, 60);
    const CharacterId focalId = movie.define(focal);
    Shape glow;
    glow.setFill(glow.addFill(Fill::radial(
        {0, 0}, 55,
        {{0, Rgba::hex(0xffffff)}, {0.5, Rgba::hex(0x2060ff, 160)}, {1, Rgba::hex(0x2060ff, 0)}})));
    glow.ellipse({0, 0}, 55, 55);
    const CharacterId glowId = movie.define(glow);

    constexpr int frames = 10;
    for (int f = 0; f < frames; ++f) {
        show(t, f, 20, focalId, {Matrix::placed(75, 228, 1, f * 30), {}, {}, {}, {}});
        show(t, f, 21, glowId, {Matrix::translation(190 + f * 6, 228), {}, {}, {}, {}});
        if (f + 1 < frames)
            t.showFrame();
    }
    stopHere(t);
    movie.save(m_folder / "gradients.swf", swfwriter::Compression::Zlib);
}

void GalleryMovies::strokes() const
{
    swfwriter::Movie movie(width, height, frameRate, Rgba::hex(0xffffff));
    swfwriter::Timeline& t = movie.timeline();
    std::uint16_t depth = 1;

    // Caps: the thin red guides mark where each thick line's path begins and ends.
    const swfwriter::Cap caps[] = {swfwriter::Cap::Round, swfwriter::Cap::None,
                                   swfwriter::Cap::Square};
    {
        Shape shape;
        const auto guide = swfwriter::Line::plain(1, Rgba::hex(0xe02020));
        const int guideLine = shape.addLine(guide);
        for (int i = 0; i < 3; ++i) {
            auto line = swfwriter::Line::plain(14, Rgba::hex(0x203040));
            line.cap = caps[i];
            shape.setLine(shape.addLine(line));
            shape.moveTo({40, 30 + i * 35.0});
            shape.lineTo({160, 30 + i * 35.0});
        }
        shape.setLine(guideLine);
        for (const double x : {40.0, 160.0}) {
            shape.moveTo({x, 15});
            shape.lineTo({x, 115});
        }
        t.place(depth++, movie.define(shape));
    }
    // Joins: round, bevel, miter within its limit, and a sharp miter cut back to a bevel.
    {
        Shape shape;
        const swfwriter::Join joins[] = {swfwriter::Join::Round, swfwriter::Join::Bevel,
                                         swfwriter::Join::Miter, swfwriter::Join::Miter};
        for (int i = 0; i < 4; ++i) {
            auto line = swfwriter::Line::plain(10, Rgba::hex(0x2a7a3a));
            line.join = joins[i];
            line.miterLimit = i == 3 ? 1.5 : 4;
            line.cap = swfwriter::Cap::None;
            shape.setLine(shape.addLine(line));
            const double x = 200 + i * 48;
            shape.moveTo({x, 115});
            shape.lineTo({x + 18, 25});
            shape.lineTo({x + 36, 115});
        }
        t.place(depth++, movie.define(shape));
    }
    // Widths from a hairline up.
    {
        Shape shape;
        const double widths[] = {1, 2, 4, 8};
        for (int i = 0; i < 4; ++i) {
            shape.setLine(shape.addLine(widths[i], Rgba::hex(0x503090)));
            shape.moveTo({20 + i * 40.0, 140});
            shape.lineTo({50 + i * 40.0, 185});
        }
        t.place(depth++, movie.define(shape));
    }
    // A stroke painted with a gradient around an unfilled rounded box.
    {
        Shape shape;
        auto line = swfwriter::Line::plain(12, Rgba::hex(0x000000));
        line.fill = Fill::linear({190, 0}, {390, 0}, rainbow(7));
        shape.setLine(shape.addLine(line));
        shape.roundedRectangle(200, 145, 180, 70, 18);
        t.place(depth++, movie.define(shape));
    }

    // A triangle with miter joins turning, and a translucent wide stroke across everything.
    Shape triangle;
    {
        auto line = swfwriter::Line::plain(6, Rgba::hex(0xd06010));
        line.join = swfwriter::Join::Miter;
        line.miterLimit = 3;
        triangle.setLine(triangle.addLine(line));
        const auto corners = star(3, 40, 20);
        triangle.polygon({corners[0], corners[2], corners[4]});
    }
    const CharacterId triangleId = movie.define(triangle);
    Shape band;
    band.setLine(band.addLine(20, Rgba::hex(0x1060ff, 110)));
    band.moveTo({-180, 0});
    band.lineTo({180, 0});
    const CharacterId bandId = movie.define(band);

    constexpr int frames = 10;
    for (int f = 0; f < frames; ++f) {
        show(t, f, 20, triangleId, {Matrix::placed(90, 245, 1, f * 12), {}, {}, {}, {}});
        show(t, f, 21, bandId, {Matrix::placed(260, 250, 1, -8 - f * 1.5), {}, {}, {}, {}});
        if (f + 1 < frames)
            t.showFrame();
    }
    stopHere(t);
    movie.save(m_folder / "strokes.swf", swfwriter::Compression::Zlib);
}

void GalleryMovies::bitmaps() const
{
    swfwriter::Movie movie(width, height, frameRate, Rgba::hex(0xe8ecf0));
    swfwriter::Timeline& t = movie.timeline();
    const CharacterId plasmaId = movie.define(bitmap(64, 64, plasma));
    const CharacterId tileId = movie.define(bitmap(16, 16, tile));
    const CharacterId discId = movie.define(bitmap(48, 48, disc));
    const std::vector<std::uint8_t> photo = jpeg(96, 72, sunset);
    const CharacterId photoId = movie.defineJpeg(photo);
    // A JPEG with an alpha plane holds its colours already multiplied by that alpha.
    const std::vector<std::uint8_t> fade = vignette(96, 72);
    const CharacterId fadedId = movie.defineJpeg(
        jpeg(96, 72,
             [&](int x, int y) {
                 const Rgba c = sunset(x, y);
                 const double a = fade[y * 96 + x] / 255.0;
                 return Rgba{channel(c.r * a), channel(c.g * a), channel(c.b * a), 255};
             }),
        fade);
    const CharacterId splitId = movie.defineJpegSharingTables(photo);
    std::uint16_t depth = 1;

    // Clipped and smoothed, scaled up. The shape stays on the image: beyond it Flash stretches
    // the edge pixels, which not every renderer does alike.
    t.place(depth++, movie.define(rectangle(16, 16, 96, 96,
                                            Fill::image(plasmaId, Matrix{1.5, 0, 0, 1.5, 16, 16},
                                                        swfwriter::BitmapWrap::Clip, true))));
    // Repeating without smoothing, magnified four times: single pixels stay square.
    t.place(depth++, movie.define(rectangle(140, 10, 120, 120,
                                            Fill::image(tileId, Matrix{4, 0, 0, 4, 140, 10},
                                                        swfwriter::BitmapWrap::Repeat, false))));
    // Repeating and smoothed, with alpha, over a dark ground.
    t.place(depth++, movie.define(rectangle(270, 10, 120, 120, Fill::solid(Rgba::hex(0x203040)))));
    t.place(depth++, movie.define(rectangle(270, 10, 120, 120,
                                            Fill::image(discId, Matrix{1, 0, 0, 1, 270, 10},
                                                        swfwriter::BitmapWrap::Repeat, true))));
    // The three JPEG forms side by side: whole file, with an alpha plane over stripes, and with
    // shared tables, clipped without smoothing and turned.
    t.place(depth++, movie.define(rectangle(10, 145, 96, 72,
                                            Fill::image(photoId, Matrix::translation(10, 145),
                                                        swfwriter::BitmapWrap::Clip, true))));
    {
        Shape stripes;
        stripes.setFill(stripes.addFill(Fill::solid(Rgba::hex(0x308030))));
        for (int i = 0; i < 6; ++i)
            stripes.rectangle(140 + i * 16, 145, 8, 72);
        t.place(depth++, movie.define(stripes));
    }
    t.place(depth++, movie.define(rectangle(140, 145, 96, 72,
                                            Fill::image(fadedId, Matrix::translation(140, 145),
                                                        swfwriter::BitmapWrap::Clip, true))));
    {
        // The image's own rectangle, enlarged and turned with it.
        const Matrix m = Matrix::placed(270, 140, 1.1, 15);
        Shape shape;
        shape.setFill(shape.addFill(Fill::image(splitId, m, swfwriter::BitmapWrap::Clip, false)));
        std::vector<Point> corners;
        for (const Point p : std::vector<Point>{{0, 0}, {96, 0}, {96, 72}, {0, 72}})
            corners.push_back({m.scaleX * p.x + m.skew1 * p.y + m.translateX,
                               m.skew0 * p.x + m.scaleY * p.y + m.translateY});
        shape.polygon(corners);
        t.place(depth++, movie.define(shape));
    }

    // A disc-filled badge rolling along the bottom.
    Shape badge;
    badge.setFill(badge.addFill(
        Fill::image(discId, Matrix::translation(-24, -24), swfwriter::BitmapWrap::Clip, true)));
    badge.rectangle(-24, -24, 48, 48);
    const CharacterId badgeId = movie.define(badge);
    constexpr int frames = 10;
    for (int f = 0; f < frames; ++f) {
        show(t, f, 20, badgeId, {Matrix::placed(40 + f * 30, 262, 1, f * 36), {}, {}, {}, {}});
        if (f + 1 < frames)
            t.showFrame();
    }
    stopHere(t);
    movie.save(m_folder / "bitmaps.swf", swfwriter::Compression::Zlib);
}

void GalleryMovies::morph() const
{
    constexpr double w = 320;
    constexpr double h = 240;
    swfwriter::Movie movie(w, h, frameRate, Rgba::hex(0xfafaf0));
    swfwriter::Timeline& t = movie.timeline();

    // A square becomes an eight-pointed star; red turns to translucent blue, the outline widens.
    const auto squareAndStar = [] {
        Shape start;
        Shape end;
        start.setFill(start.addFill(Fill::solid(Rgba::hex(0xd02020))));
        end.setFill(end.addFill(Fill::solid(Rgba::hex(0x2040d0, 160))));
        start.setLine(start.addLine(2, Rgba::hex(0x000000)));
        end.setLine(end.addLine(8, Rgba::hex(0xf0a000)));
        std::vector<Point> square;
        for (int i = 0; i < 16; ++i) {
            // Sixteen points around the square's edge, to pair with the star's corners.
            const double s = i / 4.0;
            const int side = static_cast<int>(s);
            const double along = (s - side) * 2 - 1;
            const Point onSide[] = {{along, -1}, {1, along}, {-along, 1}, {-1, -along}};
            square.push_back({onSide[side].x * 45, onSide[side].y * 45});
        }
        start.polygon(square);
        end.polygon(star(8, 60, 25, -std::numbers::pi / 4));
        return swfwriter::MorphShape(std::move(start), std::move(end));
    };
    // A box with a horizontal gradient becomes a disc with a vertical one.
    const auto boxAndDisc = [] {
        Shape start;
        Shape end;
        start.setFill(start.addFill(
            Fill::linear({-40, 0}, {40, 0}, {{0, Rgba::hex(0xf0e020)}, {1, Rgba::hex(0x20a040)}})));
        end.setFill(end.addFill(
            Fill::linear({0, -40}, {0, 40}, {{0, Rgba::hex(0xa020c0)}, {1, Rgba::hex(0x20c0d0)}})));
        // Both outlines are eight quadratic edges; on the box the controls sit on the sides.
        constexpr double step = std::numbers::pi / 4;
        const double reach = 1 / std::cos(step / 2);
        start.moveTo({40, 0});
        end.moveTo({40, 0});
        for (int i = 1; i <= 8; ++i) {
            const double middle = (i - 0.5) * step;
            const double angle = i * step;
            end.curveTo({40 * reach * std::cos(middle), 40 * reach * std::sin(middle)},
                        {40 * std::cos(angle), 40 * std::sin(angle)});
            const auto onBox = [](double a) {
                const double c = std::cos(a);
                const double s = std::sin(a);
                const double scale = 40 / std::max(std::abs(c), std::abs(s));
                return Point{c * scale, s * scale};
            };
            const Point from = onBox((i - 1) * step);
            const Point to = onBox(angle);
            start.curveTo({(from.x + to.x) / 2, (from.y + to.y) / 2}, to);
        }
        return swfwriter::MorphShape(std::move(start), std::move(end));
    };
    // Newer line styles (miter joins, square caps) need DefineMorphShape2.
    const auto zigzag = [] {
        Shape start;
        Shape end;
        auto line = swfwriter::Line::plain(4, Rgba::hex(0x404040));
        line.join = swfwriter::Join::Miter;
        line.cap = swfwriter::Cap::Square;
        start.setLine(start.addLine(line));
        line.width = 14;
        line.colour = Rgba::hex(0xc03060);
        end.setLine(end.addLine(line));
        start.moveTo({-100, 10});
        end.moveTo({-100, -10});
        for (int i = 1; i <= 4; ++i) {
            start.lineTo({-100 + i * 50.0, i % 2 == 0 ? 10.0 : -10.0});
            end.lineTo({-100 + i * 50.0, i % 2 == 0 ? -10.0 : 25.0});
        }
        return swfwriter::MorphShape(std::move(start), std::move(end));
    };
    const CharacterId a = movie.define(squareAndStar());
    const CharacterId b = movie.define(boxAndDisc());
    const CharacterId c = movie.define(zigzag());

    constexpr int frames = 13;
    for (int f = 0; f < frames; ++f) {
        const auto ratio = static_cast<std::uint16_t>(f * fullRatio / (frames - 1));
        show(t, f, 1, a, {Matrix::translation(85, 85), {}, ratio, {}, {}});
        show(t, f, 2, b, {Matrix::translation(235, 85), {}, ratio, {}, {}});
        show(t, f, 3, c, {Matrix::translation(160, 195), {}, ratio, {}, {}});
        if (f + 1 < frames)
            t.showFrame();
    }
    stopHere(t);
    movie.save(m_folder / "morph.swf", swfwriter::Compression::Zlib);
}

void GalleryMovies::spritesAndClips() const
{
    swfwriter::Movie movie(width, height, frameRate, Rgba::hex(0xffffff));
    constexpr int frames = 12;

    Shape barShape;
    barShape.setFill(barShape.addFill(Fill::solid(Rgba::hex(0x2050c0))));
    barShape.rectangle(-20, -4, 40, 8);
    const CharacterId bar = movie.define(barShape);
    Shape hubShape;
    hubShape.setFill(hubShape.addFill(Fill::solid(Rgba::hex(0xe04020))));
    hubShape.ellipse({0, 0}, 8, 8);
    const CharacterId hub = movie.define(hubShape);

    // A bar spinning on its own timeline, inside an orbit turning on another: sprites nested two
    // deep, each stopping on its last frame like the movie.
    swfwriter::Timeline spinner;
    for (int f = 0; f < frames; ++f) {
        show(spinner, f, 1, bar, {Matrix::placed(0, 0, 1, f * 30), {}, {}, {}, {}});
        if (f + 1 < frames)
            spinner.showFrame();
    }
    stopHere(spinner);
    const CharacterId spinnerId = movie.define(spinner);
    swfwriter::Timeline orbit;
    for (int f = 0; f < frames; ++f) {
        if (f == 0)
            orbit.place(1, hub);
        show(orbit, f, 2, spinnerId,
             {Matrix::translation(40 * std::cos(f * std::numbers::pi / 6),
                                  40 * std::sin(f * std::numbers::pi / 6)),
              {},
              {},
              "spinner",
              {}});
        if (f + 1 < frames)
            orbit.showFrame();
    }
    stopHere(orbit);
    const CharacterId orbitId = movie.define(orbit);

    Shape stripes;
    stripes.setFill(stripes.addFill(Fill::solid(Rgba::hex(0xf0e8c0))));
    for (int i = 0; i < 20; ++i)
        stripes.rectangle(i * 20, 0, 10, height);
    const CharacterId stripesId = movie.define(stripes);
    Shape diagonal;
    diagonal.setFill(diagonal.addFill(Fill::solid(Rgba::hex(0x30a060))));
    for (int i = -10; i < 20; ++i)
        diagonal.polygon({{i * 30.0, 0},
                          {i * 30.0 + 15, 0},
                          {i * 30.0 + 315, height},
                          {i * 30.0 + 300, height}});
    const CharacterId diagonalId = movie.define(diagonal);
    // The clipped layers cover the whole mask, so what shows inside it is theirs alone.
    const CharacterId backing =
        movie.define(rectangle(0, 0, width, height, Fill::solid(Rgba::hex(0xd8f0e0))));
    // The mask's own colour never shows; only its outline counts.
    Shape maskShape;
    maskShape.setFill(maskShape.addFill(Fill::solid(Rgba::hex(0xff00ff))));
    maskShape.ellipse({0, 0}, 80, 80);
    maskShape.rectangle(85, -20, 50, 40); // a tab clear of the disc, or even-odd cuts a hole
    const CharacterId mask = movie.define(maskShape);

    swfwriter::Timeline& t = movie.timeline();
    t.place(1, stripesId);
    for (int f = 0; f < frames; ++f) {
        // Depth 2 clips depths 3 to 5; depth 6 shows unclipped.
        show(t, f, 2, mask, {Matrix::translation(110 + f * 5, 150), {}, {}, {}, 5});
        if (f == 0) {
            t.place(3, backing);
            t.place(4, diagonalId);
            t.place(5, orbitId, {Matrix::translation(130, 150), {}, {}, "clipped", {}});
            t.place(6, orbitId,
                    {Matrix::placed(310, 150, 1.2),
                     swfwriter::ColorTransform::tint(Rgba::hex(0x20c020), 0.5),
                     {},
                     "free",
                     {}});
        }
        if (f + 1 < frames)
            t.showFrame();
    }
    stopHere(t);
    movie.save(m_folder / "sprites-and-clips.swf", swfwriter::Compression::Zlib);
}

void GalleryMovies::text() const
{
    swfwriter::Movie movie(width, height, frameRate, Rgba::hex(0xfdfbf4));
    swfwriter::Timeline& t = movie.timeline();
    const QString hello = QStringLiteral("Olá, mundo!");
    const QString faded = QStringLiteral("Translúcido 50%");
    const QString big = QStringLiteral("Grande ");
    const QString small = QStringLiteral("e pequeno");
    const QString field = QStringLiteral(
        "Campo de texto com fonte embutida: ação, lição e atenção ao quebrar linhas.");
    const QString device = QStringLiteral("Fonte do sistema (_sans)");

    const swfwriter::Font font =
        m_glyphs.font(hello + faded + big + small + field, "DejaVu Sans Bold");
    const CharacterId fontId = movie.define(font);
    // A font with no glyphs names a font of the player's own.
    const CharacterId sansId = movie.define(swfwriter::Font("_sans"));

    swfwriter::StaticText greeting;
    greeting.add(fontId, font, 30, Rgba::hex(0x1d3f99), {0, 0}, hello.toStdU16String());
    const CharacterId greetingId = movie.define(greeting);
    swfwriter::StaticText translucent;
    translucent.add(fontId, font, 24, Rgba::hex(0xd02020, 128), {0, 0}, faded.toStdU16String());
    const CharacterId translucentId = movie.define(translucent);
    swfwriter::StaticText sizes;
    sizes.add(fontId, font, 36, Rgba::hex(0x208040), {0, 0}, big.toStdU16String());
    sizes.add(fontId, font, 14, Rgba::hex(0x7030a0), {140, 0}, small.toStdU16String());
    const CharacterId sizesId = movie.define(sizes);

    Shape band;
    band.setFill(band.addFill(Fill::solid(Rgba::hex(0x202020))));
    band.rectangle(0, 70, width, 12);
    t.place(1, movie.define(band));

    swfwriter::EditText embedded;
    embedded.width = 360;
    embedded.height = 60;
    embedded.font = fontId;
    embedded.fontHeight = 16;
    embedded.colour = Rgba::hex(0x000000);
    embedded.text = field.toStdString();
    embedded.useOutlines = true;
    embedded.multiline = true;
    embedded.wordWrap = true;
    embedded.border = true;
    t.place(2, movie.define(embedded), Matrix::translation(20, 150));
    swfwriter::EditText system;
    system.width = 360;
    system.height = 30;
    system.font = sansId;
    system.fontHeight = 18;
    system.colour = Rgba::hex(0x204060);
    system.text = device.toStdString();
    system.align = swfwriter::EditText::Align::Centre;
    t.place(3, movie.define(system), Matrix::translation(20, 240));

    constexpr int frames = 10;
    for (int f = 0; f < frames; ++f) {
        // The greeting slides in, the translucent line fades in, the sizes line grows.
        show(t, f, 10, greetingId, {Matrix::translation(-180 + f * 22, 45), {}, {}, {}, {}});
        show(t, f, 11, translucentId,
             {Matrix::translation(20, 90),
              swfwriter::ColorTransform::alpha(0.2 + f * 0.08),
              {},
              {},
              {}});
        show(t, f, 12, sizesId, {Matrix::placed(20, 130, 0.55 + f * 0.05), {}, {}, {}, {}});
        if (f + 1 < frames)
            t.showFrame();
    }
    stopHere(t);
    movie.save(m_folder / "text.swf", swfwriter::Compression::Zlib);
}

void GalleryMovies::buttons() const
{
    constexpr double w = 320;
    constexpr double h = 240;
    swfwriter::Movie movie(w, h, frameRate, Rgba::hex(0xf0f0f0));
    swfwriter::Timeline& t = movie.timeline();
    const auto define = [&movie](const std::function<void(Shape&)>& draw) {
        Shape shape;
        draw(shape);
        return movie.define(shape);
    };

    // Button A: a blue box, under the mouse a larger green oval, held down a red star.
    const CharacterId upA = define([](Shape& s) {
        s.setFill(s.addFill(Fill::solid(Rgba::hex(0x2060d0))));
        s.roundedRectangle(-50, -25, 100, 50, 10);
    });
    const CharacterId overA = define([](Shape& s) {
        s.setFill(s.addFill(Fill::solid(Rgba::hex(0x20b040))));
        s.ellipse({0, 0}, 60, 32);
    });
    const CharacterId downA = define([](Shape& s) {
        s.setFill(s.addFill(Fill::solid(Rgba::hex(0xe02020))));
        s.polygon(star(5, 40, 18));
    });
    const CharacterId hitA = define([](Shape& s) {
        s.setFill(s.addFill(Fill::solid(Rgba::hex(0x000000))));
        s.rectangle(-60, -32, 120, 64);
    });
    swfwriter::Button a;
    a.add(upA, {.up = true}, 1);
    a.add(overA, {.over = true}, 2);
    a.add(downA, {.down = true}, 3);
    a.add(hitA, {.hit = true}, 4);
    a.on(swfwriter::ButtonEvent::Press, Actions().trace("A pressed").fscommand("press", "A"));
    a.on(swfwriter::ButtonEvent::Release, Actions().trace("A released").fscommand("release", "A"));
    const CharacterId buttonA = movie.define(a);

    // Button B: a grey disc, a bigger yellow one under the mouse, an orange square held down;
    // its release lights the lamp by telling the lamp sprite to go to its second frame.
    const CharacterId upB = define([](Shape& s) {
        s.setFill(s.addFill(Fill::solid(Rgba::hex(0x909090))));
        s.setLine(s.addLine(2, Rgba::hex(0x404040)));
        s.ellipse({0, 0}, 30, 30);
    });
    const CharacterId overB = define([](Shape& s) {
        s.setFill(s.addFill(Fill::solid(Rgba::hex(0xf0d020))));
        s.setLine(s.addLine(2, Rgba::hex(0x806000)));
        s.ellipse({0, 0}, 36, 36);
    });
    const CharacterId downB = define([](Shape& s) {
        s.setFill(s.addFill(Fill::solid(Rgba::hex(0xf07010))));
        s.rectangle(-25, -25, 50, 50);
    });
    swfwriter::Button b;
    b.add(upB, {.up = true, .hit = true}, 1);
    b.add(overB, {.over = true}, 2);
    b.add(downB, {.down = true}, 3);
    b.on(swfwriter::ButtonEvent::Release,
         Actions().setTarget("lamp").gotoAndStop(2).setTarget("").trace("lamp on").fscommand("lamp",
                                                                                             "on"));
    const CharacterId buttonB = movie.define(b);

    const CharacterId lampOff = define([](Shape& s) {
        s.setFill(s.addFill(Fill::solid(Rgba::hex(0x303030))));
        s.ellipse({0, 0}, 12, 12);
    });
    const CharacterId lampOn = define([](Shape& s) {
        s.setFill(s.addFill(
            Fill::radial({0, 0}, 22, {{0, Rgba::hex(0xffff80)}, {1, Rgba::hex(0xf0a000)}})));
        s.setLine(s.addLine(2, Rgba::hex(0x805000)));
        s.ellipse({0, 0}, 22, 22);
    });
    swfwriter::Timeline lamp;
    lamp.place(1, lampOff);
    lamp.actions(Actions().stop());
    lamp.showFrame();
    lamp.remove(1);
    lamp.place(2, lampOn);
    lamp.showFrame();
    const CharacterId lampId = movie.define(lamp);

    Shape barShape;
    barShape.setFill(barShape.addFill(Fill::solid(Rgba::hex(0x3070b0))));
    barShape.rectangle(0, 0, 30, 10);
    const CharacterId bar = movie.define(barShape);

    t.place(1, buttonA, Matrix::translation(90, 120));
    t.place(2, buttonB, Matrix::translation(230, 120));
    t.place(3, lampId, {Matrix::translation(230, 195), {}, {}, "lamp", {}});
    constexpr int frames = 8;
    for (int f = 0; f < frames; ++f) {
        // A progress bar along the top fills up, then everything waits for clicks.
        show(t, f, 4, bar, {Matrix{1.0 + f * 1.2, 0, 0, 1, 10, 10}, {}, {}, {}, {}});
        if (f + 1 < frames)
            t.showFrame();
    }
    stopHere(t);
    movie.save(m_folder / "buttons.swf", swfwriter::Compression::Zlib);
}

void GalleryMovies::actions() const
{
    constexpr double w = 320;
    constexpr double h = 240;
    swfwriter::Movie movie(w, h, frameRate, Rgba::hex(0xffffff));
    swfwriter::Timeline& t = movie.timeline();
    using Constant = Actions::Constant;

    // total = 0; for (i = 3; i < 10; ++i) total += i; which makes 42. Then a few values of every
    // kind go to the trace, and the sum to a variable a text field shows.
    Actions compute;
    compute.constantPool({"total", "i", "message", "sum="});
    compute.push({Constant{0}, 0}).setVariable();
    compute.push({Constant{1}, 3}).setVariable();
    const Actions::Mark loop = compute.newMark();
    const Actions::Mark done = compute.newMark();
    compute.mark(loop);
    compute.push({Constant{1}}).getVariable().push({10}).less().logicalNot().jumpIf(done);
    compute.push({Constant{0}, Constant{0}})
        .getVariable()
        .push({Constant{1}})
        .getVariable()
        .add()
        .setVariable();
    compute.push({Constant{1}, Constant{1}}).getVariable().push({1}).add().setVariable();
    compute.jump(loop);
    compute.mark(done);
    compute.push({Constant{2}, Constant{3}, Constant{0}}).getVariable().stringAdd().setVariable();
    compute.push({Constant{2}}).getVariable().trace();
    compute.push({Constant{0}}).getVariable().storeRegister(0).pop();
    compute.push({Actions::Register{0}}).trace();
    compute.push({true}).trace();
    compute.push({Actions::Null{}}).trace();
    compute.push({Actions::Undefined{}}).trace();
    compute.push({std::string("4"), 2}).add().trace();
    compute.push({0.5, 0.25}).add().trace();
    compute.push({Constant{0}}).getVariable().push({42}).equals().trace();

    // On the middle frame the script checks the sum and jumps ahead, or to the failure frame.
    Actions check;
    check.constantPool({"total"});
    const Actions::Mark right = check.newMark();
    const Actions::Mark end = check.newMark();
    check.push({Constant{0}}).getVariable().push({42}).equals().jumpIf(right);
    check.trace("wrong sum").gotoAndStop("bad").jump(end);
    check.mark(right).trace("right sum").gotoAndPlay("good");
    check.mark(end);

    // The last frame reports the result to the host, again only when the sum is right.
    Actions report;
    const Actions::Mark wrong = report.newMark();
    const Actions::Mark reported = report.newMark();
    report.push({std::string("total")})
        .getVariable()
        .push({42})
        .equals()
        .logicalNot()
        .jumpIf(wrong);
    report.fscommand("result", "42").jump(reported);
    report.mark(wrong).fscommand("result", "wrong");
    report.mark(reported).trace("done").stop();

    const QString digits = QStringLiteral("sum=0123456789");
    const swfwriter::Font font = m_glyphs.font(digits, "DejaVu Sans Bold");
    const CharacterId fontId = movie.define(font);
    swfwriter::EditText shown;
    shown.width = 200;
    shown.height = 40;
    shown.font = fontId;
    shown.fontHeight = 28;
    shown.colour = Rgba::hex(0x203060);
    shown.variable = "message";
    shown.useOutlines = true;
    const CharacterId shownId = movie.define(shown);

    Shape barShape;
    barShape.setFill(barShape.addFill(Fill::solid(Rgba::hex(0x4080c0))));
    barShape.rectangle(0, 0, 40, 16);
    const CharacterId bar = movie.define(barShape);
    const CharacterId cross = [&movie] {
        Shape s;
        s.setLine(s.addLine(10, Rgba::hex(0xd02020)));
        s.moveTo({-30, -30});
        s.lineTo({30, 30});
        s.moveTo({30, -30});
        s.lineTo({-30, 30});
        return movie.define(s);
    }();
    const CharacterId tick = [&movie] {
        Shape s;
        s.setLine(s.addLine(10, Rgba::hex(0x20a040)));
        s.moveTo({-30, 0});
        s.lineTo({-10, 25});
        s.lineTo({35, -30});
        return movie.define(s);
    }();

    // Frames 1-5 fill the bar; 6 ("bad") only a wrong sum reaches; 7-9 ("good") grow the tick.
    t.place(1, shownId, Matrix::translation(20, 20));
    for (int f = 0; f < 5; ++f) {
        show(t, f, 2, bar, {Matrix{1.0 + f * 1.4, 0, 0, 1, 20, 80}, {}, {}, {}, {}});
        if (f == 0)
            t.actions(compute);
        if (f == 4)
            t.actions(check);
        t.showFrame();
    }
    t.label("bad");
    t.place(3, cross, Matrix::translation(160, 160));
    t.actions(Actions().stop());
    t.showFrame();
    t.remove(3);
    t.label("good");
    for (int f = 0; f < 3; ++f) {
        show(t, f, 4, tick, {Matrix::placed(160, 160, 0.5 + f * 0.25), {}, {}, {}, {}});
        if (f == 2)
            t.actions(report);
        t.showFrame();
    }
    movie.save(m_folder / "actions.swf", swfwriter::Compression::Zlib);
}
