#pragma once

#include "BitWriter.h"
#include "Types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace swfwriter
{

struct GradientStop {
    double position = 0; // 0..1 along the gradient
    Rgba colour;
};

// A fill style: a solid colour, or a linear or radial gradient given in the shape's pixels.
struct Fill {
    enum class Kind { Solid, Linear, Radial };

    Kind kind = Kind::Solid;
    Rgba colour;
    std::vector<GradientStop> stops;
    Point from; // linear: where the first stop lies; radial: the centre
    Point to;   // linear: where the last stop lies
    double radius = 0;

    [[nodiscard]] static Fill solid(Rgba colour);
    [[nodiscard]] static Fill linear(Point from, Point to, std::vector<GradientStop> stops);
    [[nodiscard]] static Fill radial(Point centre, double radius, std::vector<GradientStop> stops);
};

// Builds the outline of one shape character: styles, then pen moves and straight or curved
// edges. Closed contours drawn with one fill are filled even-odd, so inner contours cut holes.
class Shape final
{
public:
    // Style numbers start at 1; 0 means "no fill" or "no line".
    [[nodiscard]] int addFill(const Fill& fill);
    [[nodiscard]] int addLine(double width, Rgba colour);

    void setFill(int fill);
    void setLine(int line);
    void moveTo(Point to);
    void lineTo(Point to);
    void curveTo(Point control, Point to);

    void rectangle(double x, double y, double width, double height);
    void roundedRectangle(double x, double y, double width, double height, double radius);
    void ellipse(Point centre, double radiusX, double radiusY);
    void polygon(const std::vector<Point>& corners);

    [[nodiscard]] bool empty() const { return m_records.empty(); }
    // Whether any colour is translucent, which needs the RGBA form of the shape tag.
    [[nodiscard]] bool needsAlpha() const;
    // The SHAPEWITHSTYLE record, colours as RGB (DefineShape) or RGBA (DefineShape3).
    void write(BitWriter& out, bool withAlpha) const;
    // Bounds in twips, line widths included: xMin, xMax, yMin, yMax.
    [[nodiscard]] std::array<std::int32_t, 4> bounds() const;

private:
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

    StyleChange& pendingStyle();
    void straightEdge(std::int32_t dx, std::int32_t dy);
    void curvedEdge(std::int32_t cx, std::int32_t cy, std::int32_t ax, std::int32_t ay);
    void include(std::int32_t x, std::int32_t y);

    std::vector<Fill> m_fills;
    std::vector<std::pair<std::uint16_t, Rgba>> m_lines;
    std::vector<std::variant<StyleChange, Edge>> m_records;
    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
    std::uint16_t m_widestLine = 0;
    std::optional<std::array<std::int32_t, 4>> m_bounds;
};

} // namespace swfwriter
