#pragma once

#include "Types.h"

#include <QRawFont>
#include <QString>

#include <string>

namespace swfwriter
{

class Font;
class Shape;

// Draws text into a shape as glyph outlines (quadratic edges) taken from a font file, so the
// movie needs no device font. Needs a QGuiApplication.
class GlyphOutline final
{
public:
    // Which point of the text's bounds the given position names.
    enum class Anchor { Centre, LeftCentre };

    // Throws std::runtime_error when the font file cannot be loaded.
    explicit GlyphOutline(const QString& fontFile);

    // Adds the outlines with the shape's current fill and line, placed by the anchor; text wider
    // than maxWidth (when positive) is scaled down to fit.
    void addText(Shape& shape, const QString& text, double pixelSize, Point at, double maxWidth = 0,
                 Anchor anchor = Anchor::Centre) const;

    // An embedded font holding the glyphs of the given characters, with their advances and the
    // file's line metrics.
    [[nodiscard]] Font font(const QString& characters, const std::string& name) const;

private:
    QRawFont m_font;
};

} // namespace swfwriter
