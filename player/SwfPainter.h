#pragma once

#include "Renderer.h"

#include <QHash>
#include <QImage>
#include <QPainterPath>
#include <QTransform>

#include <vector>

class QPainter;

namespace swf
{
struct FillStyle;
}

namespace player
{

// What drawing one movie derives from its characters, kept from frame to frame: decoded
// bitmaps, and the paths of each shape's layers.
struct PaintCache {
    // Morphs make a new shape at every ratio: past this many, the paths start over.
    static constexpr qsizetype maximumShapes = 4096;

    QHash<quint16, QImage> bitmaps;
    QHash<quint64, QList<QPainterPath>> paths;
};

// Draws a native movie's frames with QPainter into a rectangle, stage scaled to fit inside it
// with its proportions kept and centred ("show all"), the movie's background all around.
class SwfPainter final : public swf::Renderer
{
public:
    SwfPainter(QPainter& painter, const QRectF& target, PaintCache& cache);

    // Stage twips to target pixels.
    [[nodiscard]] static QTransform stageTransform(const swf::Rect& stage, const QRectF& target);

    void beginFrame(const swf::Movie& movie) override;
    void drawShape(const swf::Shape& shape, const swf::Matrix& matrix,
                   const swf::ColourTransform& colour) override;
    void drawGlyph(const swf::Shape& glyph, const swf::Matrix& matrix, swf::Rgba colour) override;
    void drawDeviceText(const swf::EditText& field, const std::string& text,
                        const swf::Matrix& matrix, const swf::ColourTransform& colour) override;
    void beginMask() override;
    void applyMask() override;
    void popMask() override;

private:
    void setTransform(const swf::Matrix& matrix);
    [[nodiscard]] QBrush brush(const swf::FillStyle& fill, const swf::ColourTransform& colour);
    [[nodiscard]] QImage bitmap(quint16 id);
    [[nodiscard]] const QList<QPainterPath>& pathsOf(const swf::Shape& shape);
    void fillBitmap(const QPainterPath& path, const swf::FillStyle& fill,
                    const swf::ColourTransform& colour);
    void addToMask(const QPainterPath& path);

    QPainter& m_painter;
    QRectF m_target;
    PaintCache& m_cache;
    const swf::Movie* m_movie = nullptr;
    QTransform m_stage;
    bool m_collectingMask = false;
    QPainterPath m_mask;
    int m_savedMasks = 0;
};

} // namespace player
