#pragma once

#include "BitWriter.h"
#include "Types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace swfwriter
{

class MorphShape;

struct GradientStop {
    double position = 0; // 0..1 along the gradient
    Rgba colour;
};

// What a gradient shows beyond its last stop.
enum class Spread { Pad, Reflect, Repeat };
// How colours between stops mix: in the stored sRGB values or in linear light.
enum class Interpolation { Normal, LinearRgb };
// Whether a bitmap fill tiles the plane or stretches its edge pixels beyond the image.
enum class BitmapWrap { Repeat, Clip };

// A fill style: a solid colour, a gradient given in the shape's pixels, or a bitmap.
struct Fill {
    enum class Kind { Solid, Linear, Radial, Focal, Bitmap };

    Kind kind = Kind::Solid;
    Rgba colour;
    std::vector<GradientStop> stops;
    Point from; // linear: where the first stop lies; radial and focal: the centre
    Point to;   // linear: where the last stop lies
    double radius = 0;
    double focus = 0; // focal: -1..1, where the first stop lies along the radius to the right
    Spread spread = Spread::Pad;
    Interpolation interpolation = Interpolation::Normal;
    CharacterId bitmap = 0;
    Matrix bitmapPlacement; // bitmap pixels to shape pixels
    BitmapWrap wrap = BitmapWrap::Repeat;
    bool smoothed = true;

    [[nodiscard]] static Fill solid(Rgba colour);
    [[nodiscard]] static Fill linear(Point from, Point to, std::vector<GradientStop> stops);
    [[nodiscard]] static Fill radial(Point centre, double radius, std::vector<GradientStop> stops);
    [[nodiscard]] static Fill focal(Point centre, double radius, double focus,
                                    std::vector<GradientStop> stops);
    [[nodiscard]] static Fill image(CharacterId bitmap, const Matrix& placement, BitmapWrap wrap,
                                    bool smoothed);

    // Whether only the newer shape tag can say this fill (focal point, spread and interpolation
    // modes, more than eight stops).
    [[nodiscard]] bool needsShape4() const;
    [[nodiscard]] bool translucent() const;
};

enum class Cap { Round, None, Square };
enum class Join { Round, Bevel, Miter };

// A line style. Caps other than round, joins other than round, and gradient or bitmap strokes
// need the newer shape tag.
struct Line {
    double width = 1;
    Rgba colour;
    Cap cap = Cap::Round;
    Join join = Join::Round;
    double miterLimit = 3; // miter joins only: how far a corner may reach, in line widths
    std::optional<Fill> fill;

    // A solid line with round caps and joins, to adjust from there.
    [[nodiscard]] static Line plain(double width, Rgba colour);
    [[nodiscard]] bool needsShape4() const;
};

// Builds the outline of one shape character: styles, then pen moves and straight or curved
// edges. Closed contours drawn with one fill are filled even-odd, so inner contours cut holes.
class Shape final
{
public:
    // Style numbers start at 1; 0 means "no fill" or "no line".
    [[nodiscard]] int addFill(const Fill& fill);
    [[nodiscard]] int addLine(double width, Rgba colour);
    [[nodiscard]] int addLine(const Line& line);

    void setFill(int fill);
    void setLine(int line);
    void moveTo(Point to);
    void lineTo(Point to);
    void curveTo(Point control, Point to);

    void rectangle(double x, double y, double width, double height);
    void roundedRectangle(double x, double y, double width, double height, double radius);
    void ellipse(Point centre, double radiusX, double radiusY);
    void polygon(const std::vector<Point>& corners);

    // Overlapping contours of one fill are filled by non-zero winding instead: the newer tag.
    void useNonZeroWinding() { m_nonZeroWinding = true; }
    [[nodiscard]] bool nonZeroWinding() const { return m_nonZeroWinding; }

    [[nodiscard]] bool empty() const { return m_records.empty(); }
    // The oldest shape tag that holds every style: 1 (DefineShape, RGB colours), 3
    // (DefineShape3, RGBA colours) or 4 (DefineShape4, RGBA and the newer line styles).
    [[nodiscard]] int tagVersion() const;
    // The SHAPEWITHSTYLE record in the form of the given tag version.
    void write(BitWriter& out, int version) const;
    // The SHAPE record alone (no style arrays), as font glyphs store their outlines.
    void writeOutline(BitWriter& out) const;
    // Bounds in twips, line widths included: xMin, xMax, yMin, yMax.
    [[nodiscard]] std::array<std::int32_t, 4> bounds() const;
    // Bounds in twips of the edges alone.
    [[nodiscard]] std::array<std::int32_t, 4> edgeBounds() const;

private:
    friend class MorphShape;

    struct StyleChange {
        std::optional<int> fill;
        std::optional<int> line;
        std::optional<std::array<std::int32_t, 2>> moveTo;
    };
    struct Edge {
        bool curved = false;
        std::int32_t controlX = 0;
        std::int32_t controlY = 0;
        std::int32_t anchorX = 0;
        std::int32_t anchorY = 0;
    };
    using Record = std::variant<StyleChange, Edge>;

    StyleChange& pendingStyle();
    void straightEdge(std::int32_t dx, std::int32_t dy);
    void curvedEdge(std::int32_t cx, std::int32_t cy, std::int32_t ax, std::int32_t ay);
    void include(std::int32_t x, std::int32_t y);
    [[nodiscard]] int fillBits() const;
    [[nodiscard]] int lineBits() const;
    // The outline's sequence of pen moves ('M') and edges ('E'); style changes without a move
    // are left out, because the end outline of a morph does not repeat them.
    [[nodiscard]] std::string skeleton() const;
    // The records and the end-of-shape mark. With moveOnly, style changes keep only their pen
    // moves, as the end outline of a morph is written.
    void writeRecords(BitWriter& out, int fillBits, int lineBits, bool moveOnly) const;

    std::vector<Fill> m_fills;
    std::vector<Line> m_lines;
    std::vector<Record> m_records;
    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
    std::int32_t m_widestLine = 0;
    std::optional<std::array<std::int32_t, 4>> m_bounds;
    bool m_nonZeroWinding = false;
};

// Style pieces shared by shapes and morph shapes.
void writeStyleCount(BitWriter& out, std::size_t count);
// The colour in RGB or RGBA form.
void writeColour(BitWriter& out, Rgba colour, bool withAlpha);
// The byte before a gradient's stops: spread, interpolation and stop count.
void writeGradientHeader(BitWriter& out, const Fill& fill);
[[nodiscard]] std::uint8_t gradientRatio(double position);
[[nodiscard]] std::uint16_t focalPoint(double focus);
// LINESTYLE2's caps, join and fill flag, and the miter limit when the join needs one.
void writeLine2Flags(BitWriter& out, const Line& line);
// A line width in twips, at least one.
[[nodiscard]] std::uint16_t lineWidth(double pixels);
// The gradient square (-16384..16384 twips on each axis) mapped onto the fill's geometry, or
// the bitmap's pixels onto the shape's, as the fill style's matrix.
[[nodiscard]] Matrix fillMatrix(const Fill& fill);

} // namespace swfwriter
