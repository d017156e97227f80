#pragma once

#include "swfwriter/Actions.h"
#include "swfwriter/GlyphOutline.h"
#include "swfwriter/Types.h"

#include <QString>

namespace swfwriter
{
class GlyphOutline;
class Movie;
} // namespace swfwriter

// The drawing vocabulary the demo movies share. Every character is centred on its origin, so
// timelines can scale and rotate it in place, except panels, which start at their top-left,
// and text anchored at its left end.
class Artwork final
{
public:
    explicit Artwork(const swfwriter::GlyphOutline& glyphs);

    // Text as filled glyph outlines with a thin darker edge; wider text shrinks to maxWidth.
    [[nodiscard]] swfwriter::CharacterId
    text(swfwriter::Movie& movie, const QString& text, double size, swfwriter::Rgba colour,
         double maxWidth = 0,
         swfwriter::GlyphOutline::Anchor anchor = swfwriter::GlyphOutline::Anchor::Centre) const;
    [[nodiscard]] swfwriter::CharacterId star(swfwriter::Movie& movie, double radius,
                                              swfwriter::Rgba colour) const;
    // A ball lit from the upper left.
    [[nodiscard]] swfwriter::CharacterId ball(swfwriter::Movie& movie, double radius,
                                              swfwriter::Rgba colour) const;
    [[nodiscard]] swfwriter::CharacterId panel(swfwriter::Movie& movie, double width, double height,
                                               double radius, swfwriter::Rgba top,
                                               swfwriter::Rgba bottom,
                                               swfwriter::Rgba border) const;
    // A push button with a label, lighter under the mouse and pressed in when held.
    [[nodiscard]] swfwriter::CharacterId pushButton(swfwriter::Movie& movie, const QString& label,
                                                    double width, double height,
                                                    swfwriter::Rgba colour,
                                                    const swfwriter::Actions& onRelease) const;

    [[nodiscard]] static swfwriter::Rgba lighter(swfwriter::Rgba colour, double amount);
    [[nodiscard]] static swfwriter::Rgba darker(swfwriter::Rgba colour, double amount);

private:
    const swfwriter::GlyphOutline& m_glyphs;
};
