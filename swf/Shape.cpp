#include "Shape.h"

#include "Records.h"

#include <atomic>
#include <cmath>
#include <map>

namespace swf
{

Gradient::Interpolation interpolationOf(std::uint32_t bits)
{
    return bits == 1 ? Gradient::Interpolation::Linear : Gradient::Interpolation::Normal;
}

namespace
{

Gradient readGradient(ByteReader& reader, ShapeFormat format, bool focal)
{
    Gradient gradient;
    gradient.spread = static_cast<Gradient::Spread>(std::min<std::uint32_t>(reader.bits(2), 2));
    gradient.interpolation = interpolationOf(reader.bits(2));
    const std::uint32_t count = reader.bits(4);
    for (std::uint32_t i = 0; i < count; ++i) {
        const double position = reader.u8() / 255.0;
        gradient.stops.push_back({position, format.alpha() ? readRgba(reader) : readRgb(reader)});
    }
    if (focal)
        gradient.focalPoint = std::clamp(reader.fixed8(), -1.0, 1.0);
    return gradient;
}

LineStyle readLineStyle(ByteReader& reader, ShapeFormat format)
{
    LineStyle line;
    line.width = reader.u16();
    if (format.version < 4) {
        line.colour = format.alpha() ? readRgba(reader) : readRgb(reader);
        return line;
    }
    if (readLineFlags(reader, line)) {
        line.fill = readFillStyle(reader, format);
        line.colour = line.fill->colour;
    } else {
        line.colour = readRgba(reader);
    }
    return line;
}

std::uint32_t readCount(ByteReader& reader, ShapeFormat format)
{
    const std::uint32_t count = reader.u8();
    return count == 0xff && format.version >= 2 ? reader.u16() : count;
}

// Edges of one fill style, directed so that the fill lies on their right.
struct DirectedEdge {
    Point from;
    Point to;
    std::optional<Point> control;
};

std::vector<Contour> joinEdges(const std::vector<DirectedEdge>& edges)
{
    std::multimap<Point, std::size_t> starting;
    for (std::size_t i = 0; i < edges.size(); ++i)
        starting.emplace(edges[i].from, i);
    std::vector<bool> used(edges.size());
    std::vector<Contour> contours;
    for (std::size_t first = 0; first < edges.size(); ++first) {
        if (used[first])
            continue;
        Contour contour{edges[first].from, {}};
        std::size_t current = first;
        while (true) {
            used[current] = true;
            contour.segments.push_back({edges[current].to, edges[current].control});
            if (edges[current].to == contour.start)
                break;
            const auto [begin, end] = starting.equal_range(edges[current].to);
            const auto next =
                std::find_if(begin, end, [&](const auto& entry) { return !used[entry.second]; });
            if (next == end)
                break;
            current = next->second;
        }
        contours.push_back(std::move(contour));
    }
    return contours;
}

// The shape's layers, one group of styles at a time.
class ShapeBuilder final
{
public:
    explicit ShapeBuilder(Shape& shape)
        : m_shape(shape)
    {
    }

    void startGroup(const Styles& styles)
    {
        finishGroup();
        m_styles = &styles;
        m_fillEdges.assign(styles.fills.size(), {});
        m_strokes.assign(styles.lines.size(), {});
        m_fill0 = m_fill1 = m_line = 0;
        m_strokeOpen = false;
    }

    void change(const StyleChange& change)
    {
        if (change.moveTo) {
            m_pen = *change.moveTo;
            m_strokeOpen = false;
        }
        if (change.fill0)
            m_fill0 = *change.fill0;
        if (change.fill1)
            m_fill1 = *change.fill1;
        if (change.line) {
            m_line = *change.line;
            m_strokeOpen = false;
        }
    }

    void edge(const Edge& edge)
    {
        if (validFill(m_fill1))
            m_fillEdges[m_fill1 - 1].push_back({m_pen, edge.to, edge.control});
        if (validFill(m_fill0))
            m_fillEdges[m_fill0 - 1].push_back({edge.to, m_pen, edge.control});
        if (m_line > 0 && m_line <= m_strokes.size()) {
            auto& contours = m_strokes[m_line - 1];
            if (!m_strokeOpen)
                contours.push_back({m_pen, {}});
            contours.back().segments.push_back({edge.to, edge.control});
            m_strokeOpen = true;
        }
        m_pen = edge.to;
    }

    void finishGroup()
    {
        if (!m_styles)
            return;
        for (std::size_t i = 0; i < m_fillEdges.size(); ++i) {
            if (!m_fillEdges[i].empty())
                m_shape.layers.push_back({m_styles->fills[i], {}, joinEdges(m_fillEdges[i])});
        }
        for (std::size_t i = 0; i < m_strokes.size(); ++i) {
            if (!m_strokes[i].empty())
                m_shape.layers.push_back(
                    {std::nullopt, m_styles->lines[i], std::move(m_strokes[i])});
        }
        m_styles = nullptr;
    }

private:
    [[nodiscard]] bool validFill(std::uint32_t fill) const
    {
        return fill > 0 && fill <= m_fillEdges.size();
    }

    Shape& m_shape;
    const Styles* m_styles = nullptr;
    std::vector<std::vector<DirectedEdge>> m_fillEdges;
    std::vector<std::vector<Contour>> m_strokes;
    std::uint32_t m_fill0 = 0;
    std::uint32_t m_fill1 = 0;
    std::uint32_t m_line = 0;
    bool m_strokeOpen = false;
    Point m_pen;
};

// The contour as straight lines, curves cut into short pieces.
std::vector<Point> flatten(const Contour& contour)
{
    std::vector<Point> points{contour.start};
    for (const Segment& segment : contour.segments) {
        if (segment.control) {
            const Point from = points.back();
            constexpr int pieces = 8;
            for (int i = 1; i <= pieces; ++i) {
                const double t = double(i) / pieces;
                const double u = 1 - t;
                points.push_back(
                    {u * u * from.x + 2 * u * t * segment.control->x + t * t * segment.to.x,
                     u * u * from.y + 2 * u * t * segment.control->y + t * t * segment.to.y});
            }
        } else {
            points.push_back(segment.to);
        }
    }
    return points;
}

bool inside(const std::vector<Contour>& contours, Point p, FillRule rule)
{
    int winding = 0;
    for (const Contour& contour : contours) {
        const auto points = flatten(contour);
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Point a = points[i];
            const Point b = points[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                winding += a.y > p.y ? 1 : -1;
        }
    }
    return rule == FillRule::NonZero ? winding != 0 : winding % 2 != 0;
}

bool nearStroke(const std::vector<Contour>& contours, Point p, double reach)
{
    for (const Contour& contour : contours) {
        const auto points = flatten(contour);
        for (std::size_t i = 1; i < points.size(); ++i) {
            const Point a = points[i - 1];
            const Point b = points[i];
            const double dx = b.x - a.x;
            const double dy = b.y - a.y;
            const double length2 = dx * dx + dy * dy;
            const double t =
                length2 == 0
                    ? 0
                    : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0);
            if (std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y) <= reach)
                return true;
        }
    }
    return false;
}

} // namespace

bool readLineFlags(ByteReader& reader, LineStyle& line)
{
    const auto cap = [](std::uint32_t bits) {
        return bits == 1   ? LineStyle::Cap::None
               : bits == 2 ? LineStyle::Cap::Square
                           : LineStyle::Cap::Round;
    };
    line.startCap = cap(reader.bits(2));
    const std::uint32_t join = reader.bits(2);
    line.join = join == 1   ? LineStyle::Join::Bevel
                : join == 2 ? LineStyle::Join::Miter
                            : LineStyle::Join::Round;
    const bool hasFill = reader.flag();
    (void)reader.bits(3); // horizontal and vertical scaling, pixel hinting
    (void)reader.bits(5);
    line.noClose = reader.flag();
    line.endCap = cap(reader.bits(2));
    if (line.join == LineStyle::Join::Miter)
        line.miterLimit = reader.fixed8();
    return hasFill;
}

FillStyle readFillStyle(ByteReader& reader, ShapeFormat format)
{
    FillStyle fill;
    const std::uint8_t type = reader.u8();
    switch (type) {
    case 0x00:
        fill.colour = format.alpha() ? readRgba(reader) : readRgb(reader);
        break;
    case 0x10:
    case 0x12:
    case 0x13:
        fill.kind = type == 0x10   ? FillStyle::Kind::LinearGradient
                    : type == 0x12 ? FillStyle::Kind::RadialGradient
                                   : FillStyle::Kind::FocalGradient;
        fill.matrix = readMatrix(reader);
        fill.gradient = readGradient(reader, format, type == 0x13);
        if (!fill.gradient.stops.empty())
            fill.colour = fill.gradient.stops.front().colour;
        break;
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
        fill.kind = FillStyle::Kind::Bitmap;
        fill.bitmap = reader.u16();
        fill.matrix = readMatrix(reader);
        fill.repeating = (type & 1) == 0;
        fill.smoothed = (type & 2) == 0;
        break;
    default:
        throw MalformedMovie("unknown fill style type");
    }
    return fill;
}

Styles readStyles(ByteReader& reader, ShapeFormat format)
{
    Styles styles;
    const std::uint32_t fills = readCount(reader, format);
    for (std::uint32_t i = 0; i < fills; ++i)
        styles.fills.push_back(readFillStyle(reader, format));
    const std::uint32_t lines = readCount(reader, format);
    for (std::uint32_t i = 0; i < lines; ++i)
        styles.lines.push_back(readLineStyle(reader, format));
    return styles;
}

std::vector<ShapeRecord> readShapeRecords(ByteReader& reader, ShapeFormat format)
{
    unsigned fillBits = reader.bits(4);
    unsigned lineBits = reader.bits(4);
    std::vector<ShapeRecord> records;
    Point pen;
    while (true) {
        if (reader.flag()) {
            Edge edge;
            const bool straight = reader.flag();
            const unsigned bits = reader.bits(4) + 2;
            if (straight) {
                const bool general = reader.flag();
                const bool vertical = !general && reader.flag();
                const double dx = general || !vertical ? reader.signedBits(bits) : 0;
                const double dy = general || vertical ? reader.signedBits(bits) : 0;
                edge.to = {pen.x + dx, pen.y + dy};
            } else {
                const double cx = pen.x + reader.signedBits(bits);
                const double cy = pen.y + reader.signedBits(bits);
                edge.control = Point{cx, cy};
                edge.to = {cx + reader.signedBits(bits), cy + reader.signedBits(bits)};
            }
            pen = edge.to;
            records.emplace_back(edge);
            continue;
        }
        const std::uint32_t flags = reader.bits(5);
        if (flags == 0)
            break;
        StyleChange change;
        if (flags & 1) {
            const unsigned bits = reader.bits(5);
            const double x = reader.signedBits(bits);
            pen = {x, static_cast<double>(reader.signedBits(bits))};
            change.moveTo = pen;
        }
        if (flags & 2)
            change.fill0 = reader.bits(fillBits);
        if (flags & 4)
            change.fill1 = reader.bits(fillBits);
        if (flags & 8)
            change.line = reader.bits(lineBits);
        if (flags & 16) {
            change.newStyles = readStyles(reader, format);
            fillBits = reader.bits(4);
            lineBits = reader.bits(4);
        }
        records.emplace_back(std::move(change));
    }
    reader.alignToByte();
    return records;
}

Shape buildShape(const ShapeOutline& outline, const Rect& bounds)
{
    static std::atomic<std::uint64_t> lastSerial = 0;
    Shape shape{bounds, {}, FillRule::EvenOdd, ++lastSerial};
    ShapeBuilder builder(shape);
    builder.startGroup(outline.styles);
    for (const ShapeRecord& record : outline.records) {
        if (const auto* change = std::get_if<StyleChange>(&record)) {
            if (change->newStyles)
                builder.startGroup(*change->newStyles);
            builder.change(*change);
        } else {
            builder.edge(std::get<Edge>(record));
        }
    }
    builder.finishGroup();
    return shape;
}

bool Shape::hits(Point point) const
{
    if (!bounds.contains(point))
        return false;
    for (const ShapeLayer& layer : layers) {
        if (layer.fill ? inside(layer.contours, point, fillRule)
                       : nearStroke(layer.contours, point, std::max(layer.line.width, 20.0) / 2))
            return true;
    }
    return false;
}

} // namespace swf
