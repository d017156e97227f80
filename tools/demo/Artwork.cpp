#include "Artwork.h"

#include "swfwriter/Button.h"
#include "swfwriter/GlyphOutline.h"
#include "swfwriter/Movie.h"
#include "swfwriter/Shape.h"

#include <cmath>
#include <numbers>

using swfwriter::Fill;
using swfwriter::Point;
using swfwriter::Rgba;

Artwork::Artwork(const swfwriter::GlyphOutline& glyphs)
    : m_glyphs(glyphs)
{
}

Rgba Artwork::lighter(Rgba colour, double amount)
{
    const auto mix = [amount](std::uint8_t c) {
        return static_cast<std::uint8_t>(std::lround(c + (255 - c) * amount));
    };
    return {mix(colour.r), mix(colour.g), mix(colour.b), colour.a};
}

Rgba Artwork::darker(Rgba colour, double amount)
{
    const auto mix = [amount](std::uint8_t c) {
        return static_cast<std::uint8_t>(std::lround(c * (1 - amount)));
    };
    return {mix(colour.r), mix(colour.g), mix(colour.b), colour.a};
}

swfwriter::CharacterId Artwork::text(swfwriter::Movie& movie, const QString& text, double size,
                                     Rgba colour, double maxWidth,
                                     swfwriter::GlyphOutline::Anchor anchor) const
{
    swfwriter::Shape shape;
    shape.setFill(shape.addFill(Fill::solid(colour)));
    shape.setLine(shape.addLine(std::max(0.5, size / 24), darker(colour, 0.45)));
    m_glyphs.addText(shape, text, size, {0, 0}, maxWidth, anchor);
    return movie.define(shape);
}

swfwriter::CharacterId Artwork::star(swfwriter::Movie& movie, double radius, Rgba colour) const
{
    swfwriter::Shape shape;
    shape.setFill(
        shape.addFill(Fill::radial({0, 0}, radius, {{0, lighter(colour, 0.7)}, {1, colour}})));
    shape.setLine(shape.addLine(1, darker(colour, 0.3)));
    std::vector<Point> corners;
    for (int i = 0; i < 10; ++i) {
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const double r = i % 2 == 0 ? radius : radius * 0.45;
        corners.push_back({r * std::cos(angle), r * std::sin(angle)});
    }
    shape.polygon(corners);
    return movie.define(shape);
}

swfwriter::CharacterId Artwork::ball(swfwriter::Movie& movie, double radius, Rgba colour) const
{
    swfwriter::Shape shape;
    shape.setFill(shape.addFill(
        Fill::radial({-radius * 0.35, -radius * 0.35}, radius * 1.4,
                     {{0, lighter(colour, 0.8)}, {0.45, colour}, {1, darker(colour, 0.45)}})));
    shape.ellipse({0, 0}, radius, radius);
    return movie.define(shape);
}

swfwriter::CharacterId Artwork::panel(swfwriter::Movie& movie, double width, double height,
                                      double radius, Rgba top, Rgba bottom, Rgba border) const
{
    swfwriter::Shape shape;
    shape.setFill(shape.addFill(Fill::linear({0, 0}, {0, height}, {{0, top}, {1, bottom}})));
    shape.setLine(shape.addLine(1, border));
    shape.roundedRectangle(0.5, 0.5, width - 1, height - 1, radius);
    return movie.define(shape);
}

swfwriter::CharacterId Artwork::pushButton(swfwriter::Movie& movie, const QString& label,
                                           double width, double height, Rgba colour,
                                           const swfwriter::Actions& onRelease) const
{
    const double radius = std::min(8.0, height / 3);
    const swfwriter::CharacterId up =
        panel(movie, width, height, radius, lighter(colour, 0.45), colour, darker(colour, 0.5));
    const swfwriter::CharacterId over = panel(movie, width, height, radius, lighter(colour, 0.7),
                                              lighter(colour, 0.2), darker(colour, 0.5));
    const swfwriter::CharacterId down =
        panel(movie, width, height, radius, colour, lighter(colour, 0.3), darker(colour, 0.6));
    const swfwriter::CharacterId caption =
        text(movie, label, height * 0.55, Rgba::hex(0xffffff), width - 6);

    swfwriter::Button button;
    button.add(up, {.up = true, .hit = true}, 1);
    button.add(over, {.over = true}, 2);
    button.add(down, {.down = true}, 3);
    const swfwriter::Matrix centred = swfwriter::Matrix::translation(width / 2, height / 2);
    button.add(caption, {.up = true, .over = true}, 4, centred);
    // Held down, the caption sinks by a pixel with its face.
    button.add(caption, {.down = true}, 5,
               swfwriter::Matrix::translation(width / 2 + 1, height / 2 + 1));
    button.on(swfwriter::ButtonEvent::Release, onRelease);
    return movie.define(button);
}
