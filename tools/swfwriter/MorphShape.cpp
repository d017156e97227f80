#include "MorphShape.h"

#include "Records.h"

#include <algorithm>
#include <stdexcept>

namespace swfwriter
{

namespace
{

void writeBounds(BitWriter& out, const std::array<std::int32_t, 4>& b)
{
    writeRect(out, b[0], b[1], b[2], b[3]);
}

} // namespace

MorphShape::MorphShape(Shape start, Shape end)
    : m_start(std::move(start))
    , m_end(std::move(end))
{
    if (m_start.m_fills.size() != m_end.m_fills.size()
        || m_start.m_lines.size() != m_end.m_lines.size())
        throw std::invalid_argument("morph outlines have different style counts");
    for (std::size_t i = 0; i < m_start.m_fills.size(); ++i) {
        const Fill& a = m_start.m_fills[i];
        const Fill& b = m_end.m_fills[i];
        if (a.kind != b.kind || a.stops.size() != b.stops.size() || a.bitmap != b.bitmap
            || a.wrap != b.wrap || a.smoothed != b.smoothed)
            throw std::invalid_argument("morph fill styles differ in kind");
        if (a.kind == Fill::Kind::Focal)
            throw std::invalid_argument("morph shapes hold no focal gradients");
    }
    for (std::size_t i = 0; i < m_start.m_lines.size(); ++i) {
        const Line& a = m_start.m_lines[i];
        const Line& b = m_end.m_lines[i];
        if (a.cap != b.cap || a.join != b.join || a.fill.has_value() != b.fill.has_value())
            throw std::invalid_argument("morph line styles differ in kind");
    }
    if (m_start.skeleton() != m_end.skeleton())
        throw std::invalid_argument("morph outlines do not pair up edge for edge");
}

int MorphShape::tagVersion() const
{
    const auto& lines = m_start.m_lines;
    return std::any_of(lines.begin(), lines.end(), [](const Line& l) { return l.needsShape4(); })
               ? 2
               : 1;
}

void MorphShape::writeFill(BitWriter& out, const Fill& start, const Fill& end) const
{
    switch (start.kind) {
    case Fill::Kind::Solid:
        out.u8(0x00);
        writeRgba(out, start.colour);
        writeRgba(out, end.colour);
        return;
    case Fill::Kind::Bitmap:
        out.u8(static_cast<std::uint8_t>(0x40 + (start.wrap == BitmapWrap::Clip ? 1 : 0)
                                         + (start.smoothed ? 0 : 2)));
        out.u16(start.bitmap);
        writeMatrix(out, fillMatrix(start));
        writeMatrix(out, fillMatrix(end));
        return;
    case Fill::Kind::Linear:
    case Fill::Kind::Radial:
    case Fill::Kind::Focal:
        break;
    }
    out.u8(start.kind == Fill::Kind::Linear ? 0x10 : 0x12);
    writeMatrix(out, fillMatrix(start));
    writeMatrix(out, fillMatrix(end));
    if (start.stops.size() < 2 || start.stops.size() > 8)
        throw std::invalid_argument("a morph gradient needs 2 to 8 stops");
    writeGradientHeader(out, start);
    for (std::size_t i = 0; i < start.stops.size(); ++i) {
        out.u8(gradientRatio(start.stops[i].position));
        writeRgba(out, start.stops[i].colour);
        out.u8(gradientRatio(end.stops[i].position));
        writeRgba(out, end.stops[i].colour);
    }
}

void MorphShape::write(BitWriter& out) const
{
    const int version = tagVersion();
    writeBounds(out, m_start.bounds());
    writeBounds(out, m_end.bounds());
    if (version == 2) {
        writeBounds(out, m_start.edgeBounds());
        writeBounds(out, m_end.edgeBounds());
        out.ubits(6, 0);
        out.ubits(1, 0); // no non-scaling strokes
        out.ubits(1, m_start.m_lines.empty() ? 0 : 1);
    }

    BitWriter styles;
    writeStyleCount(styles, m_start.m_fills.size());
    for (std::size_t i = 0; i < m_start.m_fills.size(); ++i)
        writeFill(styles, m_start.m_fills[i], m_end.m_fills[i]);
    writeStyleCount(styles, m_start.m_lines.size());
    for (std::size_t i = 0; i < m_start.m_lines.size(); ++i) {
        const Line& start = m_start.m_lines[i];
        const Line& end = m_end.m_lines[i];
        styles.u16(lineWidth(start.width));
        styles.u16(lineWidth(end.width));
        if (version == 2)
            writeLine2Flags(styles, start);
        if (start.fill) {
            writeFill(styles, *start.fill, *end.fill);
        } else {
            writeRgba(styles, start.colour);
            writeRgba(styles, end.colour);
        }
    }
    m_start.writeOutline(styles);

    // The offset counts from the end of its own field to the end outline.
    out.u32(static_cast<std::uint32_t>(styles.size()));
    out.bytes(styles.data());
    // The end outline repeats only the moves and edges; styles come from the start.
    out.ubits(4, 0);
    out.ubits(4, 0);
    m_end.writeRecords(out, 0, 0, true);
}

} // namespace swfwriter
