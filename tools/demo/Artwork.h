#pragma once

#include "Actions.h"
#include "GlyphOutline.h"
#include "Types.h"

#include <QString>

namespace swf
{
class GlyphOutline;
class Movie;
} // namespace swf

// The drawing vocabulary the demo movies share. Every character is centred on its origin, so
// timelines can scale and rotate it in place, except panels, which start at their top-left,
// and text anchored at its left end.
class Artwork final
{
public:
    explicit Artwork(const swf::GlyphOutline& glyphs);

    // Text as filled glyph outlines with a thin darker edge; wider text shrinks to maxWidth.
    [[nodiscard]] swf::CharacterId
    text(swf::Movie& movie, const QString& text, double size, swf::Rgba colour, double maxWidth = 0,
         swf::GlyphOutline::Anchor anchor = swf::GlyphOutline::Anchor::Centre) const;
    [[nodiscard]] swf::CharacterId star(swf::Movie& movie, double radius, swf::Rgba colour) const;
    // A ball lit from the upper left.
    [[nodiscard]] swf::CharacterId ball(swf::Movie& movie, double radius, swf::Rgba colour) const;
    [[nodiscard]] swf::CharacterId panel(swf::Movie& movie, double width, double height,
                                         double radius, swf::Rgba top, swf::Rgba bottom,
                                         swf::Rgba border) const;
    // A push button with a label, lighter under the mouse and pressed in when held.
    [[nodiscard]] swf::CharacterId pushButton(swf::Movie& movie, const QString& label, double width,
                                              double height, swf::Rgba colour,
                                              const swf::Actions& onRelease) const;

    [[nodiscard]] static swf::Rgba lighter(swf::Rgba colour, double amount);
    [[nodiscard]] static swf::Rgba darker(swf::Rgba colour, double amount);

private:
    const swf::GlyphOutline& m_glyphs;
};
