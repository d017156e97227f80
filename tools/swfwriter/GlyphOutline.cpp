#include "GlyphOutline.h"

#include "Font.h"
#include "Shape.h"

#include <QPainterPath>
#include <QTransform>

#include <stdexcept>

namespace swfwriter
{

namespace
{

// Outlines are taken at this size and scaled, so small text keeps its shape.
constexpr double outlineSize = 100;

Point toPoint(const QPointF& p)
{
    return {p.x(), p.y()};
}

QPointF lerp(const QPointF& a, const QPointF& b, double t)
{
    return a + (b - a) * t;
}

// A cubic half as one quadratic: its control point is where the cubic's end tangents meet on
// average, (3 (c1 + c2) - p0 - p3) / 4; two halves per cubic keep glyph curves within a small
// fraction of a pixel at menu sizes.
void addCubic(Shape& shape, const QPointF& p0, const QPointF& c1, const QPointF& c2,
              const QPointF& p3)
{
    const QPointF a = lerp(p0, c1, 0.5);
    const QPointF b = lerp(c1, c2, 0.5);
    const QPointF c = lerp(c2, p3, 0.5);
    const QPointF ab = lerp(a, b, 0.5);
    const QPointF bc = lerp(b, c, 0.5);
    const QPointF middle = lerp(ab, bc, 0.5);
    const auto quadratic = [&shape](const QPointF& q0, const QPointF& q1, const QPointF& q2,
                                    const QPointF& q3) {
        shape.curveTo(toPoint((3 * (q1 + q2) - q0 - q3) / 4), toPoint(q3));
    };
    quadratic(p0, a, ab, middle);
    quadratic(middle, bc, c, p3);
}

// Adds a path's contours to the shape, cubic segments as pairs of quadratic ones, closing
// every contour.
void addPath(Shape& shape, const QPainterPath& path)
{
    QPointF current;
    QPointF start;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            if (i > 0 && current != start)
                shape.lineTo(toPoint(start));
            shape.moveTo(toPoint(e));
            current = start = e;
            break;
        case QPainterPath::LineToElement:
            shape.lineTo(toPoint(e));
            current = e;
            break;
        case QPainterPath::CurveToElement: {
            const QPointF c2 = path.elementAt(i + 1);
            const QPointF end = path.elementAt(i + 2);
            addCubic(shape, current, e, c2, end);
            current = end;
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    if (current != start)
        shape.lineTo(toPoint(start));
}

} // namespace

GlyphOutline::GlyphOutline(const QString& fontFile)
    : m_font(fontFile, outlineSize)
{
    if (!m_font.isValid())
        throw std::runtime_error("cannot load the font " + fontFile.toStdString());
}

void GlyphOutline::addText(Shape& shape, const QString& text, double pixelSize, Point at,
                           double maxWidth, Anchor anchor) const
{
    // Glyphs come straight from the file, laid out on one line by their kerned advances.
    const QList<quint32> glyphs = m_font.glyphIndexesForString(text);
    const QList<QPointF> advances =
        m_font.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
    QPainterPath path;
    QPointF pen;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        path.addPath(m_font.pathForGlyph(glyphs[i]).translated(pen));
        pen += advances.value(i);
    }
    const QRectF box = path.boundingRect();
    if (box.isEmpty())
        return;
    double scale = pixelSize / outlineSize;
    if (maxWidth > 0 && box.width() * scale > maxWidth)
        scale = maxWidth / box.width();
    QTransform transform;
    transform.translate(at.x, at.y);
    transform.scale(scale, scale);
    transform.translate(anchor == Anchor::Centre ? -box.center().x() : -box.left(),
                        -box.center().y());
    path = transform.map(path);

    addPath(shape, path);
}

Font GlyphOutline::font(const QString& characters, const std::string& name) const
{
    // Outlines come at outlineSize pixels to the em; the font wants emPixels.
    const double scale = Font::emPixels / outlineSize;
    const double units = Font::emUnits / outlineSize;
    Font font(name);
    font.setMetrics(m_font.ascent() * units, m_font.descent() * units, m_font.leading() * units);
    for (const QChar c : characters) {
        if (font.glyphIndex(c.unicode()))
            continue;
        const QList<quint32> glyphs = m_font.glyphIndexesForString(QString(c));
        if (glyphs.size() != 1 || (glyphs[0] == 0 && !c.isSpace()))
            throw std::runtime_error("the font file has no glyph for a character");
        const QList<QPointF> advances = m_font.advancesForGlyphIndexes(glyphs);
        Shape outline;
        outline.setFill(outline.addFill(Fill::solid(Rgba{})));
        addPath(outline, QTransform::fromScale(scale, scale).map(m_font.pathForGlyph(glyphs[0])));
        font.addGlyph(c.unicode(), std::move(outline), advances.value(0).x() * units);
    }
    return font;
}

} // namespace swfwriter
