#include "SwfPainter.h"

#include "Movie.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace player
{
namespace
{

// Gradients are drawn in a square of 32768 twips centred on the origin, which the fill's
// matrix maps into the shape.
constexpr double gradientHalf = 16384;

QColor colourOf(swf::Rgba rgba)
{
    return QColor(rgba.r, rgba.g, rgba.b, rgba.a);
}

QTransform transformOf(const swf::Matrix& m)
{
    return QTransform(m.a, m.b, m.c, m.d, m.tx, m.ty);
}

QPainterPath pathOf(const std::vector<swf::Contour>& contours, bool closed, swf::FillRule rule)
{
    QPainterPath path;
    path.setFillRule(rule == swf::FillRule::NonZero ? Qt::WindingFill : Qt::OddEvenFill);
    for (const swf::Contour& contour : contours) {
        path.moveTo(contour.start.x, contour.start.y);
        for (const swf::Segment& segment : contour.segments) {
            if (segment.control)
                path.quadTo(segment.control->x, segment.control->y, segment.to.x, segment.to.y);
            else
                path.lineTo(segment.to.x, segment.to.y);
        }
        if (closed)
            path.closeSubpath();
    }
    return path;
}

Qt::PenCapStyle capOf(swf::LineStyle::Cap cap)
{
    switch (cap) {
    case swf::LineStyle::Cap::None:
        return Qt::FlatCap;
    case swf::LineStyle::Cap::Square:
        return Qt::SquareCap;
    case swf::LineStyle::Cap::Round:
        break;
    }
    return Qt::RoundCap;
}

Qt::PenJoinStyle joinOf(swf::LineStyle::Join join)
{
    switch (join) {
    case swf::LineStyle::Join::Bevel:
        return Qt::BevelJoin;
    case swf::LineStyle::Join::Miter:
        return Qt::MiterJoin;
    case swf::LineStyle::Join::Round:
        break;
    }
    return Qt::RoundJoin;
}

QImage transformColours(QImage image, const swf::ColourTransform& colour)
{
    image = image.convertToFormat(QImage::Format_RGBA8888);
    for (int y = 0; y < image.height(); ++y) {
        auto* pixel = reinterpret_cast<swf::Rgba*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            pixel[x] = colour.apply(pixel[x]);
    }
    return image;
}

} // namespace

SwfPainter::SwfPainter(QPainter& painter, const QRectF& target, PaintCache& cache)
    : m_painter(painter)
    , m_target(target)
    , m_cache(cache)
{
}

QTransform SwfPainter::stageTransform(const swf::Rect& stage, const QRectF& target)
{
    const double width = std::max(stage.width(), 20.0);
    const double height = std::max(stage.height(), 20.0);
    const double scale = std::min(target.width() / width, target.height() / height);
    const double left = target.left() + (target.width() - width * scale) / 2;
    const double top = target.top() + (target.height() - height * scale) / 2;
    return QTransform(scale, 0, 0, scale, left - stage.xMin * scale, top - stage.yMin * scale);
}

void SwfPainter::beginFrame(const swf::Movie& movie)
{
    m_movie = &movie;
    m_stage = stageTransform(movie.stage(), m_target);
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.resetTransform();
    m_painter.fillRect(m_target, colourOf(movie.background()));
}

void SwfPainter::setTransform(const swf::Matrix& matrix)
{
    m_painter.setTransform(transformOf(matrix) * m_stage);
}

void SwfPainter::drawShape(const swf::Shape& shape, const swf::Matrix& matrix,
                           const swf::ColourTransform& colour)
{
    const QList<QPainterPath>& paths = pathsOf(shape);
    for (std::size_t i = 0; i < shape.layers.size(); ++i) {
        const swf::ShapeLayer& layer = shape.layers[i];
        const QPainterPath& path = paths[static_cast<qsizetype>(i)];
        if (m_collectingMask) {
            if (layer.fill)
                addToMask((transformOf(matrix) * m_stage).map(path));
            continue;
        }
        setTransform(matrix);
        if (layer.fill) {
            // Only bitmaps may ask to be drawn unsmoothed, their pixels blown up as squares.
            m_painter.setRenderHint(QPainter::SmoothPixmapTransform, layer.fill->smoothed);
            if (layer.fill->kind == swf::FillStyle::Kind::Bitmap && !layer.fill->repeating)
                fillBitmap(path, *layer.fill, colour);
            else
                m_painter.fillPath(path, brush(*layer.fill, colour));
            continue;
        }
        const swf::LineStyle& line = layer.line;
        QPen pen(line.fill ? brush(*line.fill, colour)
                           : QBrush(colourOf(colour.apply(line.colour))),
                 line.width);
        pen.setCapStyle(capOf(line.startCap));
        pen.setJoinStyle(joinOf(line.join));
        pen.setMiterLimit(line.miterLimit);
        // Lines thinner than a pixel on screen are drawn one pixel wide, as hairlines.
        const double scale = std::sqrt(std::abs(m_painter.transform().determinant()));
        if (line.width * scale < 1) {
            pen.setCosmetic(true);
            pen.setWidthF(1);
        }
        m_painter.strokePath(path, pen);
    }
}

void SwfPainter::drawGlyph(const swf::Shape& glyph, const swf::Matrix& matrix, swf::Rgba colour)
{
    const QList<QPainterPath>& paths = pathsOf(glyph);
    for (std::size_t i = 0; i < glyph.layers.size(); ++i) {
        if (!glyph.layers[i].fill)
            continue;
        const QPainterPath& path = paths[static_cast<qsizetype>(i)];
        if (m_collectingMask) {
            addToMask((transformOf(matrix) * m_stage).map(path));
            continue;
        }
        setTransform(matrix);
        m_painter.fillPath(path, colourOf(colour));
    }
}

void SwfPainter::drawDeviceText(const swf::EditText& field, const std::string& text,
                                const swf::Matrix& matrix, const swf::ColourTransform& colour)
{
    const QRectF bounds(field.bounds.xMin, field.bounds.yMin, field.bounds.width(),
                        field.bounds.height());
    if (m_collectingMask) {
        QPainterPath box;
        box.addRect(bounds);
        addToMask((transformOf(matrix) * m_stage).map(box));
        return;
    }
    // Text is laid out in pixels, then scaled into twips with the rest of the drawing.
    m_painter.setTransform(QTransform::fromScale(20, 20) * transformOf(matrix) * m_stage);
    const QRectF box(bounds.left() / 20 + 2 + field.leftMargin / 20, bounds.top() / 20 + 2,
                     bounds.width() / 20 - 4 - (field.leftMargin + field.rightMargin) / 20,
                     bounds.height() / 20 - 4);
    QFont font(QString::fromStdString(field.fontClass).isEmpty()
                   ? QStringLiteral("Liberation Sans")
                   : QString::fromStdString(field.fontClass));
    if (field.fontClass == "_serif")
        font.setFamily(QStringLiteral("Liberation Serif"));
    else if (field.fontClass == "_typewriter")
        font.setFamily(QStringLiteral("Liberation Mono"));
    else if (field.fontClass == "_sans")
        font.setFamily(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(1, static_cast<int>(field.height / 20)));
    m_painter.setFont(font);
    m_painter.setPen(colourOf(colour.apply(field.colour)));
    int flags = Qt::AlignTop;
    switch (field.align) {
    case swf::EditText::Align::Right:
        flags |= Qt::AlignRight;
        break;
    case swf::EditText::Align::Centre:
        flags |= Qt::AlignHCenter;
        break;
    case swf::EditText::Align::Justify:
        flags |= Qt::AlignJustify;
        break;
    case swf::EditText::Align::Left:
        flags |= Qt::AlignLeft;
        break;
    }
    if (field.wordWrap)
        flags |= Qt::TextWordWrap;
    QString shown = QString::fromStdString(text);
    shown.replace(u'\r', u'\n');
    m_painter.drawText(box, flags, shown);
}

QBrush SwfPainter::brush(const swf::FillStyle& fill, const swf::ColourTransform& colour)
{
    using Kind = swf::FillStyle::Kind;
    if (fill.kind == Kind::Solid)
        return QBrush(colourOf(colour.apply(fill.colour)));
    if (fill.kind == Kind::Bitmap) {
        QBrush texture(bitmap(fill.bitmap));
        if (!colour.isIdentity())
            texture.setTextureImage(transformColours(texture.textureImage(), colour));
        texture.setTransform(transformOf(fill.matrix));
        return texture;
    }
    QGradientStops stops;
    for (const swf::GradientStop& stop : fill.gradient.stops)
        stops.append({std::clamp(stop.position, 0.0, 1.0), colourOf(colour.apply(stop.colour))});
    QGradient gradient;
    if (fill.kind == Kind::LinearGradient)
        gradient = QLinearGradient(-gradientHalf, 0, gradientHalf, 0);
    else
        gradient = QRadialGradient(QPointF(0, 0), gradientHalf,
                                   QPointF(fill.gradient.focalPoint * gradientHalf, 0));
    gradient.setStops(stops);
    switch (fill.gradient.spread) {
    case swf::Gradient::Spread::Reflect:
        gradient.setSpread(QGradient::ReflectSpread);
        break;
    case swf::Gradient::Spread::Repeat:
        gradient.setSpread(QGradient::RepeatSpread);
        break;
    case swf::Gradient::Spread::Pad:
        gradient.setSpread(QGradient::PadSpread);
        break;
    }
    QBrush painted(gradient);
    painted.setTransform(transformOf(fill.matrix));
    return painted;
}

void SwfPainter::fillBitmap(const QPainterPath& path, const swf::FillStyle& fill,
                            const swf::ColourTransform& colour)
{
    QImage image = bitmap(fill.bitmap);
    if (!colour.isIdentity())
        image = transformColours(image, colour);
    m_painter.save();
    m_painter.setClipPath(path, Qt::IntersectClip);
    m_painter.setTransform(transformOf(fill.matrix), true);
    m_painter.drawImage(QPointF(0, 0), image);
    m_painter.restore();
}

const QList<QPainterPath>& SwfPainter::pathsOf(const swf::Shape& shape)
{
    if (const auto found = m_cache.paths.constFind(shape.serial); found != m_cache.paths.constEnd())
        return *found;
    if (m_cache.paths.size() >= PaintCache::maximumShapes)
        m_cache.paths.clear();
    QList<QPainterPath> paths;
    for (const swf::ShapeLayer& layer : shape.layers)
        paths.append(pathOf(layer.contours, layer.fill.has_value(), shape.fillRule));
    return *m_cache.paths.insert(shape.serial, paths);
}

QImage SwfPainter::bitmap(quint16 id)
{
    if (const auto found = m_cache.bitmaps.constFind(id); found != m_cache.bitmaps.constEnd())
        return *found;
    QImage image;
    const auto* const character = m_movie ? m_movie->character(id) : nullptr;
    if (const auto* const bitmap = character ? std::get_if<swf::Bitmap>(character) : nullptr) {
        if (!bitmap->pixels.empty()) {
            image = QImage(bitmap->pixels.data(), bitmap->width, bitmap->height, bitmap->width * 4,
                           QImage::Format_RGBA8888_Premultiplied)
                        .copy();
        } else {
            image =
                QImage::fromData(bitmap->encoded.data(), static_cast<int>(bitmap->encoded.size()));
            if (!image.isNull() && !bitmap->alpha.empty()) {
                image = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
                const std::size_t pixels = std::size_t(image.width()) * image.height();
                for (std::size_t i = 0; i < pixels && i < bitmap->alpha.size(); ++i) {
                    auto* pixel = image.bits() + i * 4;
                    const int alpha = bitmap->alpha[i];
                    // The colour channels are stored already multiplied by their alpha.
                    for (int c = 0; c < 3; ++c)
                        pixel[c] = static_cast<uchar>(std::min<int>(pixel[c], alpha));
                    pixel[3] = static_cast<uchar>(alpha);
                }
            }
        }
    }
    m_cache.bitmaps.insert(id, image);
    return image;
}

void SwfPainter::addToMask(const QPainterPath& path)
{
    m_mask = m_mask.isEmpty() ? path : m_mask.united(path);
}

void SwfPainter::beginMask()
{
    m_collectingMask = true;
    m_mask = QPainterPath();
}

void SwfPainter::applyMask()
{
    m_collectingMask = false;
    m_painter.save();
    ++m_savedMasks;
    m_painter.resetTransform();
    m_painter.setClipPath(m_mask, Qt::IntersectClip);
}

void SwfPainter::popMask()
{
    if (m_savedMasks == 0)
        return;
    --m_savedMasks;
    m_painter.restore();
}

} // namespace player
