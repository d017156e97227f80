#include "Morph.h"

#include "Records.h"

#include <cmath>

namespace swf
{
namespace
{

double mix(double from, double to, double ratio)
{
    return from + (to - from) * ratio;
}

Point mix(Point from, Point to, double ratio)
{
    return {mix(from.x, to.x, ratio), mix(from.y, to.y, ratio)};
}

Rgba mix(Rgba from, Rgba to, double ratio)
{
    const auto channel = [ratio](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(mix(a, b, ratio)));
    };
    return {channel(from.r, to.r), channel(from.g, to.g), channel(from.b, to.b),
            channel(from.a, to.a)};
}

Matrix mix(const Matrix& from, const Matrix& to, double ratio)
{
    return {mix(from.a, to.a, ratio), mix(from.b, to.b, ratio),   mix(from.c, to.c, ratio),
            mix(from.d, to.d, ratio), mix(from.tx, to.tx, ratio), mix(from.ty, to.ty, ratio)};
}

Rect mix(const Rect& from, const Rect& to, double ratio)
{
    return {mix(from.xMin, to.xMin, ratio), mix(from.xMax, to.xMax, ratio),
            mix(from.yMin, to.yMin, ratio), mix(from.yMax, to.yMax, ratio)};
}

FillStyle mix(const FillStyle& from, const FillStyle& to, double ratio)
{
    FillStyle fill = from;
    fill.colour = mix(from.colour, to.colour, ratio);
    fill.matrix = mix(from.matrix, to.matrix, ratio);
    for (std::size_t i = 0; i < fill.gradient.stops.size() && i < to.gradient.stops.size(); ++i) {
        fill.gradient.stops[i] = {
            mix(from.gradient.stops[i].position, to.gradient.stops[i].position, ratio),
            mix(from.gradient.stops[i].colour, to.gradient.stops[i].colour, ratio)};
    }
    return fill;
}

Styles mix(const Styles& from, const Styles& to, double ratio)
{
    Styles styles = from;
    for (std::size_t i = 0; i < styles.fills.size() && i < to.fills.size(); ++i)
        styles.fills[i] = mix(from.fills[i], to.fills[i], ratio);
    for (std::size_t i = 0; i < styles.lines.size() && i < to.lines.size(); ++i) {
        styles.lines[i].width = mix(from.lines[i].width, to.lines[i].width, ratio);
        styles.lines[i].colour = mix(from.lines[i].colour, to.lines[i].colour, ratio);
        if (styles.lines[i].fill && to.lines[i].fill)
            styles.lines[i].fill = mix(*from.lines[i].fill, *to.lines[i].fill, ratio);
    }
    return styles;
}

// Morph fill styles hold the start and the end of each value side by side.
void readMorphFill(ByteReader& reader, Styles& start, Styles& end)
{
    FillStyle from;
    FillStyle to;
    const std::uint8_t type = reader.u8();
    if (type == 0x00) {
        from.colour = readRgba(reader);
        to.colour = readRgba(reader);
    } else if (type == 0x10 || type == 0x12 || type == 0x13) {
        from.kind = to.kind = type == 0x10   ? FillStyle::Kind::LinearGradient
                              : type == 0x12 ? FillStyle::Kind::RadialGradient
                                             : FillStyle::Kind::FocalGradient;
        from.matrix = readMatrix(reader);
        to.matrix = readMatrix(reader);
        const std::uint8_t header = reader.u8();
        from.gradient.spread = to.gradient.spread =
            static_cast<Gradient::Spread>(std::min(header >> 6, 2));
        from.gradient.interpolation = to.gradient.interpolation =
            interpolationOf((header >> 4) & 3u);
        const unsigned count = header & 0x0f;
        for (unsigned i = 0; i < count; ++i) {
            const double fromPosition = reader.u8() / 255.0;
            const Rgba fromColour = readRgba(reader);
            const double toPosition = reader.u8() / 255.0;
            from.gradient.stops.push_back({fromPosition, fromColour});
            to.gradient.stops.push_back({toPosition, readRgba(reader)});
        }
        if (type == 0x13) {
            from.gradient.focalPoint = std::clamp(reader.fixed8(), -1.0, 1.0);
            to.gradient.focalPoint = std::clamp(reader.fixed8(), -1.0, 1.0);
        }
    } else if (type >= 0x40 && type <= 0x43) {
        from.kind = to.kind = FillStyle::Kind::Bitmap;
        from.bitmap = to.bitmap = reader.u16();
        from.matrix = readMatrix(reader);
        to.matrix = readMatrix(reader);
        from.repeating = to.repeating = (type & 1) == 0;
        from.smoothed = to.smoothed = (type & 2) == 0;
    } else {
        throw MalformedMovie("unknown morph fill style type");
    }
    start.fills.push_back(from);
    end.fills.push_back(to);
}

void readMorphLine(ByteReader& reader, int version, Styles& start, Styles& end)
{
    LineStyle from;
    from.width = reader.u16();
    const double endWidth = reader.u16();
    const bool hasFill = version >= 2 && readLineFlags(reader, from);
    LineStyle to = from; // caps, join and flags hold for both ends
    to.width = endWidth;
    if (hasFill) {
        Styles fillFrom;
        Styles fillTo;
        readMorphFill(reader, fillFrom, fillTo);
        from.fill = fillFrom.fills.front();
        to.fill = fillTo.fills.front();
        from.colour = from.fill->colour;
        to.colour = to.fill->colour;
    } else {
        from.colour = readRgba(reader);
        to.colour = readRgba(reader);
    }
    start.lines.push_back(from);
    end.lines.push_back(to);
}

std::uint32_t readCount(ByteReader& reader)
{
    const std::uint32_t count = reader.u8();
    return count == 0xff ? reader.u16() : count;
}

} // namespace

MorphShape readMorphShape(ByteReader& reader, int version)
{
    MorphShape morph;
    morph.startBounds = readRect(reader);
    morph.endBounds = readRect(reader);
    if (version >= 2) {
        (void)readRect(reader); // edge bounds, without the lines
        (void)readRect(reader);
        (void)reader.u8();
    }
    const std::uint32_t endOffset = reader.u32();
    const std::size_t endStart = reader.position() + endOffset;
    const std::uint32_t fills = readCount(reader);
    for (std::uint32_t i = 0; i < fills; ++i)
        readMorphFill(reader, morph.start.styles, morph.endStyles);
    const std::uint32_t lines = readCount(reader);
    for (std::uint32_t i = 0; i < lines; ++i)
        readMorphLine(reader, version, morph.start.styles, morph.endStyles);
    const ShapeFormat format{version >= 2 ? 4 : 3};
    morph.start.records = readShapeRecords(reader, format);
    if (endStart < reader.position())
        throw MalformedMovie("the end shape of a morph starts inside its start shape");
    reader.skip(endStart - reader.position());
    morph.end = readShapeRecords(reader, format);
    return morph;
}

Shape MorphShape::at(double ratio) const
{
    ShapeOutline outline{mix(start.styles, endStyles, ratio), {}};
    std::size_t next = 0;
    // The end's records pair with the start's: moves with style changes, edges with edges.
    const auto nextEnd = [&](bool wantEdge) -> const ShapeRecord* {
        while (next < end.size()) {
            const ShapeRecord& record = end[next];
            if (std::holds_alternative<Edge>(record) == wantEdge) {
                ++next;
                return &record;
            }
            if (!wantEdge)
                return nullptr;
            ++next;
        }
        return nullptr;
    };
    Point fromPen;
    Point toPen;
    for (const ShapeRecord& record : start.records) {
        if (const auto* change = std::get_if<StyleChange>(&record)) {
            StyleChange mixed = *change;
            const ShapeRecord* const other = nextEnd(false);
            const auto* const otherChange = other ? std::get_if<StyleChange>(other) : nullptr;
            if (mixed.moveTo) {
                fromPen = *mixed.moveTo;
                toPen = otherChange && otherChange->moveTo ? *otherChange->moveTo : fromPen;
                mixed.moveTo = mix(fromPen, toPen, ratio);
            }
            outline.records.emplace_back(std::move(mixed));
            continue;
        }
        const Edge& from = std::get<Edge>(record);
        const ShapeRecord* const other = nextEnd(true);
        const Edge to = other ? std::get<Edge>(*other) : from;
        Edge mixed{mix(from.to, to.to, ratio), std::nullopt};
        if (from.control || to.control) {
            // A straight edge morphing into a curve is a curve with its control point halfway.
            const Point fromControl = from.control.value_or(mix(fromPen, from.to, 0.5));
            const Point toControl = to.control.value_or(mix(toPen, to.to, 0.5));
            mixed.control = mix(fromControl, toControl, ratio);
        }
        fromPen = from.to;
        toPen = to.to;
        outline.records.emplace_back(mixed);
    }
    return buildShape(outline, mix(startBounds, endBounds, ratio));
}

} // namespace swf
