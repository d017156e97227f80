#include "NativeRun.h"

#include "Movie.h"
#include "Player.h"
#include "Probe.h"
#include "Renderer.h"
#include "SwfPainter.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <variant>

namespace swfcompare
{
namespace
{

bool partlyTransparent(const swf::Bitmap& bitmap)
{
    const auto partial = [](std::uint8_t alpha) { return alpha != 0 && alpha != 255; };
    if (std::any_of(bitmap.alpha.begin(), bitmap.alpha.end(), partial))
        return true;
    for (std::size_t i = 3; i < bitmap.pixels.size(); i += 4) {
        if (partial(bitmap.pixels[i]))
            return true;
    }
    return false;
}

// Paints white where a shape is filled with a partly transparent bitmap and around every corner
// of a miter-joined line, black elsewhere.
class BlindSpots final : public swf::Renderer
{
public:
    BlindSpots(QImage& image, const swf::Movie& movie)
        : m_painter(&image)
        , m_movie(movie)
        , m_stage(player::SwfPainter::stageTransform(movie.stage(), QRectF(image.rect())))
    {
    }

    void beginFrame(const swf::Movie&) override
    {
        m_painter.fillRect(m_painter.window(), Qt::black);
    }
    void drawShape(const swf::Shape& shape, const swf::Matrix& matrix,
                   const swf::ColourTransform&) override
    {
        if (m_maskDepth > 0)
            return;
        const QTransform transform =
            QTransform(matrix.a, matrix.b, matrix.c, matrix.d, matrix.tx, matrix.ty) * m_stage;
        for (const swf::ShapeLayer& layer : shape.layers) {
            if (!layer.fill) {
                if (layer.line.join == swf::LineStyle::Join::Miter)
                    markCorners(layer, transform);
                continue;
            }
            if (layer.fill->kind != swf::FillStyle::Kind::Bitmap)
                continue;
            const auto* const character = m_movie.character(layer.fill->bitmap);
            const auto* const bitmap = character ? std::get_if<swf::Bitmap>(character) : nullptr;
            if (!bitmap || !partlyTransparent(*bitmap))
                continue;
            QPainterPath path;
            for (const swf::Contour& contour : layer.contours) {
                path.moveTo(contour.start.x, contour.start.y);
                for (const swf::Segment& segment : contour.segments) {
                    if (segment.control)
                        path.quadTo(segment.control->x, segment.control->y, segment.to.x,
                                    segment.to.y);
                    else
                        path.lineTo(segment.to.x, segment.to.y);
                }
                path.closeSubpath();
            }
            m_painter.fillPath(transform.map(path), Qt::white);
        }
    }
    void drawGlyph(const swf::Shape&, const swf::Matrix&, swf::Rgba) override {}
    void drawDeviceText(const swf::EditText&, const std::string&, const swf::Matrix&,
                        const swf::ColourTransform&) override
    {
    }
    // What masks draw is not seen; what they clip is marked whole, which errs on the safe side.
    void beginMask() override { ++m_maskDepth; }
    void applyMask() override { --m_maskDepth; }
    void popMask() override {}

private:
    // A disc as far as the miter reaches around each point where two edges meet: half the width
    // over the sine of half the angle between them, at most the miter limit times the width.
    void markCorners(const swf::ShapeLayer& layer, const QTransform& transform)
    {
        const double width = layer.line.width;
        const double limit = width * std::max(layer.line.miterLimit, 1.0);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(Qt::white);
        const auto mark = [&](swf::Point from, swf::Point at, swf::Point to) {
            const QPointF in(at.x - from.x, at.y - from.y);
            const QPointF out(to.x - at.x, to.y - at.y);
            const double lengths = std::hypot(in.x(), in.y()) * std::hypot(out.x(), out.y());
            if (lengths == 0)
                return;
            // The angle between the edges, from the turn between their directions.
            const double turn =
                std::acos(std::clamp(QPointF::dotProduct(in, out) / lengths, -1.0, 1.0));
            const double halfSine = std::sin((std::numbers::pi - turn) / 2);
            const double reach = halfSine > 0 ? std::min(width / 2 / halfSine, limit) : limit;
            QPainterPath disc;
            disc.addEllipse(QPointF(at.x, at.y), reach, reach);
            m_painter.drawPath(transform.map(disc));
        };
        for (const swf::Contour& contour : layer.contours) {
            const auto& segments = contour.segments;
            const auto startOf = [&](std::size_t i) {
                return i == 0 ? contour.start : segments[i - 1].to;
            };
            // Tangents: towards the control point of a curve, else along the edge.
            const auto before = [&](std::size_t i) {
                return segments[i].control.value_or(startOf(i));
            };
            const auto after = [&](std::size_t i) {
                return segments[i].control.value_or(segments[i].to);
            };
            for (std::size_t i = 0; i + 1 < segments.size(); ++i)
                mark(before(i), segments[i].to, after(i + 1));
            // A closed contour turns at its start as well.
            if (segments.size() > 1 && segments.back().to == contour.start)
                mark(before(segments.size() - 1), contour.start, after(0));
        }
    }

    QPainter m_painter;
    const swf::Movie& m_movie;
    QTransform m_stage;
    int m_maskDepth = 0;
};

} // namespace

NativeRun::NativeRun(std::span<const std::uint8_t> file)
    : m_movie(swf::Movie::load(file))
{
    swf::PlayerHost& host = *this;
    m_player = std::make_unique<swf::Player>(m_movie, host);
}

NativeRun::~NativeRun() = default;

void NativeRun::advance(int frames)
{
    for (int i = 0; i < frames; ++i)
        m_player->advance();
}

QImage NativeRun::render(QSize size) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    player::PaintCache cache;
    player::SwfPainter renderer(painter, QRectF(QPointF(), size), cache);
    m_player->render(renderer);
    return image;
}

QImage NativeRun::blindSpots(QSize size) const
{
    QImage image(size, QImage::Format_RGB32);
    {
        BlindSpots renderer(image, *m_movie);
        m_player->render(renderer);
    }
    // One pixel more all round: the comparison looks at each pixel's neighbours.
    QImage grown(size, QImage::Format_RGB32);
    grown.fill(Qt::black);
    QPainter painter(&grown);
    painter.setCompositionMode(QPainter::CompositionMode_Lighten);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx)
            painter.drawImage(dx, dy, image);
    }
    return grown;
}

void NativeRun::moveTo(QPointF stagePixel)
{
    const swf::Rect& stage = m_movie->stage();
    m_player->mouseMove({stage.xMin + stagePixel.x() * 20, stage.yMin + stagePixel.y() * 20});
}

void NativeRun::click(QPointF stagePixel)
{
    moveTo(stagePixel);
    m_player->mouseDown();
    m_player->mouseUp();
}

std::vector<QPointF> NativeRun::buttonSpots(double step)
{
    const swf::Rect& stage = m_movie->stage();
    const int columns = static_cast<int>(stage.width() / 20 / step);
    const int rows = static_cast<int>(stage.height() / 20 / step);
    const auto at = [step](int column, int row) {
        return QPointF((column + 0.5) * step, (row + 0.5) * step);
    };
    std::vector<bool> hit(static_cast<std::size_t>(columns * rows));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            moveTo(at(column, row));
            hit[static_cast<std::size_t>(row * columns + column)] = m_player->overButton();
        }
    }
    m_player->mouseLeave();

    // Areas of neighbouring grid points, each reported by the member nearest its centroid.
    std::vector<QPointF> spots;
    std::vector<bool> seen(hit.size());
    for (std::size_t first = 0; first < hit.size(); ++first) {
        if (!hit[first] || seen[first])
            continue;
        std::vector<std::size_t> area{first};
        seen[first] = true;
        for (std::size_t next = 0; next < area.size(); ++next) {
            const int column = static_cast<int>(area[next]) % columns;
            const int row = static_cast<int>(area[next]) / columns;
            const std::pair<int, int> neighbours[] = {
                {column - 1, row}, {column + 1, row}, {column, row - 1}, {column, row + 1}};
            for (const auto& [c, r] : neighbours) {
                const auto index = static_cast<std::size_t>(r * columns + c);
                if (c < 0 || r < 0 || c >= columns || r >= rows || !hit[index] || seen[index])
                    continue;
                seen[index] = true;
                area.push_back(index);
            }
        }
        QPointF centre;
        for (const std::size_t index : area)
            centre += at(static_cast<int>(index) % columns, static_cast<int>(index) / columns);
        centre /= static_cast<double>(area.size());
        QPointF nearest;
        double best = std::numeric_limits<double>::infinity();
        for (const std::size_t index : area) {
            const QPointF point =
                at(static_cast<int>(index) % columns, static_cast<int>(index) / columns);
            const double distance = QPointF::dotProduct(point - centre, point - centre);
            if (distance < best) {
                best = distance;
                nearest = point;
            }
        }
        spots.push_back(nearest);
    }
    return spots;
}

void NativeRun::fsCommand(const std::string& command, const std::string& args)
{
    if (command == stopMarker)
        return;
    m_commands.emplace_back(QString::fromStdString(command), QString::fromStdString(args));
}

void NativeRun::trace(const std::string& text)
{
    m_traces.append(QString::fromStdString(text));
}

void NativeRun::openUrl(const std::string&, const std::string&)
{
}

} // namespace swfcompare
