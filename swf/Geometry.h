#pragma once

#include <algorithm>
#include <cstdint>

namespace swf
{

// Coordinates are in twips (1/20 pixel), as the file stores them, until the renderer draws.
struct Point {
    double x = 0;
    double y = 0;

    friend bool operator==(const Point&, const Point&) = default;
    friend auto operator<=>(const Point&, const Point&) = default;
};

struct Rect {
    double xMin = 0;
    double xMax = 0;
    double yMin = 0;
    double yMax = 0;

    [[nodiscard]] double width() const { return xMax - xMin; }
    [[nodiscard]] double height() const { return yMax - yMin; }
    [[nodiscard]] bool contains(Point p) const
    {
        return p.x >= xMin && p.x <= xMax && p.y >= yMin && p.y <= yMax;
    }
};

struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;

    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// x' = a·x + c·y + tx, y' = b·x + d·y + ty.
struct Matrix {
    double a = 1;
    double b = 0;
    double c = 0;
    double d = 1;
    double tx = 0;
    double ty = 0;

    [[nodiscard]] Point map(Point p) const
    {
        return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty};
    }
    // This matrix applied after `inner`.
    [[nodiscard]] Matrix operator*(const Matrix& inner) const
    {
        return {a * inner.a + c * inner.b,        b * inner.a + d * inner.b,
                a * inner.c + c * inner.d,        b * inner.c + d * inner.d,
                a * inner.tx + c * inner.ty + tx, b * inner.tx + d * inner.ty + ty};
    }
    // The inverse, or nothing usable (all zeros) when the matrix collapses the plane.
    [[nodiscard]] Matrix inverted() const
    {
        const double det = a * d - b * c;
        if (det == 0)
            return {0, 0, 0, 0, 0, 0};
        return {
            d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
    }

    friend bool operator==(const Matrix&, const Matrix&) = default;
};

// colour' = colour · multiply + add, per channel, clamped to 0..255.
struct ColourTransform {
    double redMultiply = 1;
    double greenMultiply = 1;
    double blueMultiply = 1;
    double alphaMultiply = 1;
    double redAdd = 0;
    double greenAdd = 0;
    double blueAdd = 0;
    double alphaAdd = 0;

    [[nodiscard]] Rgba apply(Rgba colour) const
    {
        const auto channel = [](double value, double multiply, double add) {
            return static_cast<std::uint8_t>(std::clamp(value * multiply + add, 0.0, 255.0));
        };
        return {channel(colour.r, redMultiply, redAdd), channel(colour.g, greenMultiply, greenAdd),
                channel(colour.b, blueMultiply, blueAdd),
                channel(colour.a, alphaMultiply, alphaAdd)};
    }
    // This transform applied after `inner`.
    [[nodiscard]] ColourTransform operator*(const ColourTransform& inner) const
    {
        return {inner.redMultiply * redMultiply,        inner.greenMultiply * greenMultiply,
                inner.blueMultiply * blueMultiply,      inner.alphaMultiply * alphaMultiply,
                inner.redAdd * redMultiply + redAdd,    inner.greenAdd * greenMultiply + greenAdd,
                inner.blueAdd * blueMultiply + blueAdd, inner.alphaAdd * alphaMultiply + alphaAdd};
    }
    [[nodiscard]] bool isIdentity() const { return *this == ColourTransform{}; }

    friend bool operator==(const ColourTransform&, const ColourTransform&) = default;
};

// The smallest rectangle holding `rect` mapped through `matrix`.
[[nodiscard]] inline Rect transformedBounds(const Matrix& matrix, const Rect& rect)
{
    const Point corners[] = {matrix.map({rect.xMin, rect.yMin}), matrix.map({rect.xMax, rect.yMin}),
                             matrix.map({rect.xMin, rect.yMax}),
                             matrix.map({rect.xMax, rect.yMax})};
    Rect mapped{corners[0].x, corners[0].x, corners[0].y, corners[0].y};
    for (const Point& p : corners) {
        mapped.xMin = std::min(mapped.xMin, p.x);
        mapped.xMax = std::max(mapped.xMax, p.x);
        mapped.yMin = std::min(mapped.yMin, p.y);
        mapped.yMax = std::max(mapped.yMax, p.y);
    }
    return mapped;
}

[[nodiscard]] inline Rect unite(const Rect& a, const Rect& b)
{
    return {std::min(a.xMin, b.xMin), std::max(a.xMax, b.xMax), std::min(a.yMin, b.yMin),
            std::max(a.yMax, b.yMax)};
}

} // namespace swf
