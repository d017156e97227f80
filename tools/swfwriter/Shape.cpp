#include "Shape.h"

#include "Records.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace swfwriter
{

namespace
{

// Edge deltas have at most 17 bits (a 4-bit count of bits minus 2).
constexpr int maxEdgeBits = 17;
// Older shape tags read at most eight stops; DefineShape4 reads up to fifteen.
constexpr std::size_t oldStopLimit = 8;
constexpr std::size_t stopLimit = 15;

std::uint8_t fillType(const Fill& fill)
{
    switch (fill.kind) {
    case Fill::Kind::Solid:
        return 0x00;
    case Fill::Kind::Linear:
        return 0x10;
    case Fill::Kind::Radial:
        return 0x12;
    case Fill::Kind::Focal:
        return 0x13;
    case Fill::Kind::Bitmap:
        // 0x40 repeating, 0x41 clipped, and 2 more for the unsmoothed forms.
        return static_cast<std::uint8_t>(0x40 + (fill.wrap == BitmapWrap::Clip ? 1 : 0)
                                         + (fill.smoothed ? 0 : 2));
    }
    return 0x00;
}

std::uint32_t capCode(Cap cap)
{
    switch (cap) {
    case Cap::Round:
        return 0;
    case Cap::None:
        return 1;
    case Cap::Square:
        return 2;
    }
    return 0;
}

std::uint32_t joinCode(Join join)
{
    switch (join) {
    case Join::Round:
        return 0;
    case Join::Bevel:
        return 1;
    case Join::Miter:
        return 2;
    }
    return 0;
}

bool isGradient(const Fill& fill)
{
    return fill.kind == Fill::Kind::Linear || fill.kind == Fill::Kind::Radial
           || fill.kind == Fill::Kind::Focal;
}

void writeFill(BitWriter& out, const Fill& fill, bool withAlpha)
{
    out.u8(fillType(fill));
    if (fill.kind == Fill::Kind::Solid) {
        writeColour(out, fill.colour, withAlpha);
        return;
    }
    if (fill.kind == Fill::Kind::Bitmap) {
        out.u16(fill.bitmap);
        writeMatrix(out, fillMatrix(fill));
        return;
    }
    writeMatrix(out, fillMatrix(fill));
    if (fill.stops.size() < 2 || fill.stops.size() > stopLimit)
        throw std::invalid_argument("a gradient needs 2 to 15 stops");
    writeGradientHeader(out, fill);
    for (const GradientStop& stop : fill.stops) {
        out.u8(gradientRatio(stop.position));
        writeColour(out, stop.colour, withAlpha);
    }
    if (fill.kind == Fill::Kind::Focal)
        out.u16(focalPoint(fill.focus));
}

// LINESTYLE2: the caps, join and fill that only DefineShape4 knows.
void writeLine2(BitWriter& out, const Line& line)
{
    out.u16(lineWidth(line.width));
    writeLine2Flags(out, line);
    if (line.fill)
        writeFill(out, *line.fill, true);
    else
        writeRgba(out, line.colour);
}

} // namespace

void writeStyleCount(BitWriter& out, std::size_t count)
{
    if (count < 0xff) {
        out.u8(static_cast<std::uint8_t>(count));
    } else {
        if (count > 0xffff)
            throw std::length_error("too many styles in one shape");
        out.u8(0xff);
        out.u16(static_cast<std::uint16_t>(count));
    }
}

void writeColour(BitWriter& out, Rgba colour, bool withAlpha)
{
    if (withAlpha)
        writeRgba(out, colour);
    else
        writeRgb(out, colour);
}

void writeGradientHeader(BitWriter& out, const Fill& fill)
{
    out.ubits(2, static_cast<std::uint32_t>(fill.spread));
    out.ubits(2, static_cast<std::uint32_t>(fill.interpolation));
    out.ubits(4, static_cast<std::uint32_t>(fill.stops.size()));
}

std::uint8_t gradientRatio(double position)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(position, 0.0, 1.0) * 255));
}

std::uint16_t focalPoint(double focus)
{
    // Signed 8.8 fixed point.
    const auto fixed = static_cast<std::int16_t>(std::lround(std::clamp(focus, -1.0, 1.0) * 256));
    return static_cast<std::uint16_t>(fixed);
}

void writeLine2Flags(BitWriter& out, const Line& line)
{
    out.ubits(2, capCode(line.cap));
    out.ubits(2, joinCode(line.join));
    out.ubits(1, line.fill ? 1 : 0);
    out.ubits(3, 0); // scales both ways, no pixel hinting
    out.ubits(5, 0);
    out.ubits(1, 0); // closed contours join their ends
    out.ubits(2, capCode(line.cap));
    if (line.join == Join::Miter)
        out.u16(
            static_cast<std::uint16_t>(std::lround(std::clamp(line.miterLimit, 1.0, 255.0) * 256)));
}

std::uint16_t lineWidth(double pixels)
{
    return static_cast<std::uint16_t>(std::clamp(twips(pixels), 1, 0xffff));
}

Matrix fillMatrix(const Fill& fill)
{
    if (fill.kind == Fill::Kind::Bitmap) {
        // Bitmap matrices map image pixels to twips: one image pixel spans 20 units.
        const Matrix& m = fill.bitmapPlacement;
        return {m.scaleX * 20, m.skew0 * 20, m.skew1 * 20,
                m.scaleY * 20, m.translateX, m.translateY};
    }
    constexpr double half = 16384.0 / 20; // the gradient square's half size in pixels
    if (fill.kind == Fill::Kind::Radial || fill.kind == Fill::Kind::Focal)
        return Matrix::placed(fill.from.x, fill.from.y, fill.radius / half);
    const double dx = fill.to.x - fill.from.x;
    const double dy = fill.to.y - fill.from.y;
    const double length = std::hypot(dx, dy);
    const double degrees = std::atan2(dy, dx) * 180 / std::numbers::pi;
    return Matrix::placed((fill.from.x + fill.to.x) / 2, (fill.from.y + fill.to.y) / 2,
                          length / (2 * half), degrees);
}

Fill Fill::solid(Rgba colour)
{
    Fill fill;
    fill.colour = colour;
    return fill;
}

Fill Fill::linear(Point from, Point to, std::vector<GradientStop> stops)
{
    Fill fill;
    fill.kind = Kind::Linear;
    fill.from = from;
    fill.to = to;
    fill.stops = std::move(stops);
    return fill;
}

Fill Fill::radial(Point centre, double radius, std::vector<GradientStop> stops)
{
    Fill fill;
    fill.kind = Kind::Radial;
    fill.from = centre;
    fill.radius = radius;
    fill.stops = std::move(stops);
    return fill;
}

Fill Fill::focal(Point centre, double radius, double focus, std::vector<GradientStop> stops)
{
    Fill fill = radial(centre, radius, std::move(stops));
    fill.kind = Kind::Focal;
    fill.focus = focus;
    return fill;
}

Fill Fill::image(CharacterId bitmap, const Matrix& placement, BitmapWrap wrap, bool smoothed)
{
    Fill fill;
    fill.kind = Kind::Bitmap;
    fill.bitmap = bitmap;
    fill.bitmapPlacement = placement;
    fill.wrap = wrap;
    fill.smoothed = smoothed;
    return fill;
}

bool Fill::needsShape4() const
{
    return kind == Kind::Focal
           || (isGradient(*this)
               && (spread != Spread::Pad || interpolation != Interpolation::Normal
                   || stops.size() > oldStopLimit));
}

bool Fill::translucent() const
{
    if (kind == Kind::Solid)
        return !colour.opaque();
    return std::any_of(stops.begin(), stops.end(),
                       [](const GradientStop& stop) { return !stop.colour.opaque(); });
}

Line Line::plain(double width, Rgba colour)
{
    Line line;
    line.width = width;
    line.colour = colour;
    return line;
}

bool Line::needsShape4() const
{
    return cap != Cap::Round || join != Join::Round || fill.has_value();
}

int Shape::addFill(const Fill& fill)
{
    m_fills.push_back(fill);
    return static_cast<int>(m_fills.size());
}

int Shape::addLine(double width, Rgba colour)
{
    return addLine(Line::plain(width, colour));
}

int Shape::addLine(const Line& line)
{
    m_lines.push_back(line);
    return static_cast<int>(m_lines.size());
}

Shape::StyleChange& Shape::pendingStyle()
{
    if (m_records.empty() || !std::holds_alternative<StyleChange>(m_records.back()))
        m_records.emplace_back(StyleChange{});
    return std::get<StyleChange>(m_records.back());
}

void Shape::setFill(int fill)
{
    assert(fill >= 0 && fill <= static_cast<int>(m_fills.size()));
    pendingStyle().fill = fill;
}

void Shape::setLine(int line)
{
    assert(line >= 0 && line <= static_cast<int>(m_lines.size()));
    pendingStyle().line = line;
    if (line > 0)
        m_widestLine = std::max<std::int32_t>(
            m_widestLine, lineWidth(m_lines[static_cast<std::size_t>(line - 1)].width));
}

void Shape::moveTo(Point to)
{
    m_x = twips(to.x);
    m_y = twips(to.y);
    pendingStyle().moveTo = std::array{m_x, m_y};
    include(m_x, m_y);
}

void Shape::lineTo(Point to)
{
    const std::int32_t x = twips(to.x);
    const std::int32_t y = twips(to.y);
    straightEdge(x - m_x, y - m_y);
    m_x = x;
    m_y = y;
    include(x, y);
}

void Shape::curveTo(Point control, Point to)
{
    const std::int32_t cx = twips(control.x);
    const std::int32_t cy = twips(control.y);
    const std::int32_t x = twips(to.x);
    const std::int32_t y = twips(to.y);
    curvedEdge(cx - m_x, cy - m_y, x - cx, y - cy);
    m_x = x;
    m_y = y;
    include(cx, cy);
    include(x, y);
}

void Shape::straightEdge(std::int32_t dx, std::int32_t dy)
{
    if (dx == 0 && dy == 0)
        return;
    if (BitWriter::signedBits(dx, dy) > maxEdgeBits) {
        straightEdge(dx / 2, dy / 2);
        straightEdge(dx - dx / 2, dy - dy / 2);
        return;
    }
    m_records.emplace_back(Edge{false, 0, 0, dx, dy});
}

void Shape::curvedEdge(std::int32_t cx, std::int32_t cy, std::int32_t ax, std::int32_t ay)
{
    if (BitWriter::signedBits(cx, cy, ax, ay) > maxEdgeBits) {
        // Split at the middle (de Casteljau); the halves' control points are the midpoints.
        const std::int32_t c1x = cx / 2;
        const std::int32_t c1y = cy / 2;
        const std::int32_t c2x = cx + ax / 2;
        const std::int32_t c2y = cy + ay / 2;
        const std::int32_t midX = (c1x + c2x) / 2;
        const std::int32_t midY = (c1y + c2y) / 2;
        curvedEdge(c1x, c1y, midX - c1x, midY - c1y);
        curvedEdge(c2x - midX, c2y - midY, cx + ax - c2x, cy + ay - c2y);
        return;
    }
    m_records.emplace_back(Edge{true, cx, cy, ax, ay});
}

void Shape::include(std::int32_t x, std::int32_t y)
{
    if (!m_bounds) {
        m_bounds = std::array{x, x, y, y};
        return;
    }
    auto& b = *m_bounds;
    b[0] = std::min(b[0], x);
    b[1] = std::max(b[1], x);
    b[2] = std::min(b[2], y);
    b[3] = std::max(b[3], y);
}

void Shape::rectangle(double x, double y, double width, double height)
{
    polygon({{x, y}, {x + width, y}, {x + width, y + height}, {x, y + height}});
}

void Shape::roundedRectangle(double x, double y, double width, double height, double radius)
{
    const double r = std::min({radius, width / 2, height / 2});
    const double right = x + width;
    const double bottom = y + height;
    moveTo({x + r, y});
    lineTo({right - r, y});
    curveTo({right, y}, {right, y + r});
    lineTo({right, bottom - r});
    curveTo({right, bottom}, {right - r, bottom});
    lineTo({x + r, bottom});
    curveTo({x, bottom}, {x, bottom - r});
    lineTo({x, y + r});
    curveTo({x, y}, {x + r, y});
}

void Shape::ellipse(Point centre, double radiusX, double radiusY)
{
    // Eight quadratic arcs; each control point lies on the tangents at the arc's ends.
    constexpr double step = std::numbers::pi / 4;
    const double reach = 1 / std::cos(step / 2);
    moveTo({centre.x + radiusX, centre.y});
    for (int i = 1; i <= 8; ++i) {
        const double middle = (i - 0.5) * step;
        const double end = i * step;
        curveTo({centre.x + radiusX * reach * std::cos(middle),
                 centre.y + radiusY * reach * std::sin(middle)},
                {centre.x + radiusX * std::cos(end), centre.y + radiusY * std::sin(end)});
    }
}

void Shape::polygon(const std::vector<Point>& corners)
{
    if (corners.empty())
        return;
    moveTo(corners.front());
    for (std::size_t i = 1; i < corners.size(); ++i)
        lineTo(corners[i]);
    lineTo(corners.front());
}

int Shape::tagVersion() const
{
    const bool newer =
        std::any_of(m_fills.begin(), m_fills.end(), [](const Fill& f) { return f.needsShape4(); })
        || std::any_of(m_lines.begin(), m_lines.end(),
                       [](const Line& l) { return l.needsShape4(); });
    if (newer || m_nonZeroWinding)
        return 4;
    const bool alpha =
        std::any_of(m_fills.begin(), m_fills.end(), [](const Fill& f) { return f.translucent(); })
        || std::any_of(m_lines.begin(), m_lines.end(),
                       [](const Line& l) { return !l.colour.opaque(); });
    return alpha ? 3 : 1;
}

std::array<std::int32_t, 4> Shape::edgeBounds() const
{
    return m_bounds.value_or(std::array<std::int32_t, 4>{0, 0, 0, 0});
}

std::array<std::int32_t, 4> Shape::bounds() const
{
    if (!m_bounds)
        return {0, 0, 0, 0};
    const std::int32_t margin = (m_widestLine + 1) / 2;
    const auto& b = *m_bounds;
    return {b[0] - margin, b[1] + margin, b[2] - margin, b[3] + margin};
}

int Shape::fillBits() const
{
    return BitWriter::unsignedBits(static_cast<std::uint32_t>(m_fills.size()));
}

int Shape::lineBits() const
{
    return BitWriter::unsignedBits(static_cast<std::uint32_t>(m_lines.size()));
}

std::string Shape::skeleton() const
{
    std::string result;
    for (const Record& record : m_records) {
        if (const auto* style = std::get_if<StyleChange>(&record)) {
            if (style->moveTo)
                result += 'M';
        } else {
            result += 'E';
        }
    }
    return result;
}

void Shape::write(BitWriter& out, int version) const
{
    const bool withAlpha = version >= 3;
    writeStyleCount(out, m_fills.size());
    for (const Fill& fill : m_fills)
        writeFill(out, fill, withAlpha);
    writeStyleCount(out, m_lines.size());
    for (const Line& line : m_lines) {
        if (version >= 4) {
            writeLine2(out, line);
        } else {
            out.u16(lineWidth(line.width));
            writeColour(out, line.colour, withAlpha);
        }
    }
    writeOutline(out);
}

void Shape::writeOutline(BitWriter& out) const
{
    out.ubits(4, static_cast<std::uint32_t>(fillBits()));
    out.ubits(4, static_cast<std::uint32_t>(lineBits()));
    writeRecords(out, fillBits(), lineBits(), false);
}

void Shape::writeRecords(BitWriter& out, int fillBits, int lineBits, bool moveOnly) const
{
    for (const auto& record : m_records) {
        if (const auto* style = std::get_if<StyleChange>(&record)) {
            const bool fill = style->fill && !moveOnly;
            const bool line = style->line && !moveOnly;
            // A style change with no flag set would read as the end of the shape.
            if (!fill && !line && !style->moveTo)
                continue;
            out.ubits(1, 0);
            out.ubits(1, 0); // no new styles
            out.ubits(1, line ? 1 : 0);
            out.ubits(1, 0); // fill style 1 stays unused: contours fill by fill style 0 alone
            out.ubits(1, fill ? 1 : 0);
            out.ubits(1, style->moveTo ? 1 : 0);
            if (style->moveTo) {
                const auto [x, y] = *style->moveTo;
                const int bits = BitWriter::signedBits(x, y);
                out.ubits(5, static_cast<std::uint32_t>(bits));
                out.sbits(bits, x);
                out.sbits(bits, y);
            }
            if (fill)
                out.ubits(fillBits, static_cast<std::uint32_t>(*style->fill));
            if (line)
                out.ubits(lineBits, static_cast<std::uint32_t>(*style->line));
            continue;
        }
        const Edge& edge = std::get<Edge>(record);
        out.ubits(1, 1);
        if (edge.curved) {
            const int bits = std::max(
                2, BitWriter::signedBits(edge.controlX, edge.controlY, edge.anchorX, edge.anchorY));
            out.ubits(1, 0);
            out.ubits(4, static_cast<std::uint32_t>(bits - 2));
            out.sbits(bits, edge.controlX);
            out.sbits(bits, edge.controlY);
            out.sbits(bits, edge.anchorX);
            out.sbits(bits, edge.anchorY);
            continue;
        }
        const int bits = std::max(2, BitWriter::signedBits(edge.anchorX, edge.anchorY));
        out.ubits(1, 1);
        out.ubits(4, static_cast<std::uint32_t>(bits - 2));
        const bool general = edge.anchorX != 0 && edge.anchorY != 0;
        out.ubits(1, general ? 1 : 0);
        if (general) {
            out.sbits(bits, edge.anchorX);
            out.sbits(bits, edge.anchorY);
        } else {
            const bool vertical = edge.anchorX == 0;
            out.ubits(1, vertical ? 1 : 0);
            out.sbits(bits, vertical ? edge.anchorY : edge.anchorX);
        }
    }
    out.ubits(6, 0); // end of shape
    out.align();
}

} // namespace swfwriter
