#pragma once

#include "ByteReader.h"
#include "Geometry.h"

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace swf
{

struct GradientStop {
    double position = 0; // 0..1
    Rgba colour;
};

struct Gradient {
    enum class Spread { Pad, Reflect, Repeat };
    enum class Interpolation { Normal, Linear };

    Spread spread = Spread::Pad;
    Interpolation interpolation = Interpolation::Normal;
    std::vector<GradientStop> stops;
    double focalPoint = 0; // -1..1 along the radius, for focal gradients
};

struct FillStyle {
    enum class Kind { Solid, LinearGradient, RadialGradient, FocalGradient, Bitmap };

    Kind kind = Kind::Solid;
    Rgba colour;
    // Gradients: maps the gradient square (-16384..16384 twips) into the shape.
    // Bitmaps: maps bitmap pixels (20 units each) into the shape.
    Matrix matrix;
    Gradient gradient;
    std::uint16_t bitmap = 0;
    bool repeating = true;
    bool smoothed = true;
};

struct LineStyle {
    enum class Cap { Round, None, Square };
    enum class Join { Round, Bevel, Miter };

    double width = 20; // twips
    Rgba colour;
    Cap startCap = Cap::Round;
    Cap endCap = Cap::Round;
    Join join = Join::Round;
    double miterLimit = 3;
    bool noClose = false;
    std::optional<FillStyle> fill; // a line painted with a fill instead of a colour
};

struct Styles {
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
};

// The edges of a shape as the file gives them, with absolute coordinates.
struct StyleChange {
    std::optional<Point> moveTo;
    std::optional<std::uint32_t> fill0;
    std::optional<std::uint32_t> fill1;
    std::optional<std::uint32_t> line;
    std::optional<Styles> newStyles;
};
struct Edge {
    Point to;
    std::optional<Point> control; // a quadratic curve when present
};
using ShapeRecord = std::variant<StyleChange, Edge>;

struct ShapeOutline {
    Styles styles;
    std::vector<ShapeRecord> records;
};

// A path made of closed or open contours.
struct Segment {
    Point to;
    std::optional<Point> control;
};
struct Contour {
    Point start;
    std::vector<Segment> segments;
};

// What a renderer draws, in order: filled regions and strokes.
struct ShapeLayer {
    std::optional<FillStyle> fill; // filled region (by the shape's fill rule) when set
    LineStyle line;                // else a stroke
    std::vector<Contour> contours;
};

// How overlapping contours of one fill combine: DefineShape4 may ask for non-zero winding.
enum class FillRule { EvenOdd, NonZero };

struct Shape {
    Rect bounds;
    std::vector<ShapeLayer> layers;
    FillRule fillRule = FillRule::EvenOdd;
    // Tells this built shape from every other one (a morph builds a new one at each ratio), so
    // that a renderer may keep what it derives from a shape under this key.
    std::uint64_t serial = 0;

    // Whether the point (in the shape's own twips) lies on something drawn.
    [[nodiscard]] bool hits(Point point) const;
};

// Which tag a shape came from decides how its styles are encoded.
struct ShapeFormat {
    int version = 1; // 1..4 for DefineShape..DefineShape4; 1 also for glyphs
    [[nodiscard]] bool alpha() const { return version >= 3; }
};

// The two interpolation bits of a gradient's header.
[[nodiscard]] Gradient::Interpolation interpolationOf(std::uint32_t bits);
[[nodiscard]] Styles readStyles(ByteReader& reader, ShapeFormat format);
[[nodiscard]] FillStyle readFillStyle(ByteReader& reader, ShapeFormat format);
// The caps, join, miter limit and flags of a LINESTYLE2 (and MORPHLINESTYLE2) into `line`;
// returns whether a fill style follows instead of a colour.
bool readLineFlags(ByteReader& reader, LineStyle& line);
// The edge records after the styles: bit counts, then records up to the end record.
[[nodiscard]] std::vector<ShapeRecord> readShapeRecords(ByteReader& reader, ShapeFormat format);

// Joins the edges into the regions each fill style paints (an edge bounds fill 0 on its left
// and fill 1 on its right, so fill-0 edges are walked backwards) and the strokes of each line
// style, in the order the format draws them.
[[nodiscard]] Shape buildShape(const ShapeOutline& outline, const Rect& bounds);

} // namespace swf
