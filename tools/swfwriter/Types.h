#pragma once

#include <cstdint>

namespace swfwriter
{

// Identifies a defined character (shape, sprite, button) within one movie.
using CharacterId = std::uint16_t;

struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;

    [[nodiscard]] static constexpr Rgba hex(std::uint32_t rgb, std::uint8_t alpha = 255)
    {
        return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                static_cast<std::uint8_t>(rgb), alpha};
    }
    [[nodiscard]] constexpr bool opaque() const { return a == 255; }
};

// Coordinates in pixels; the writer converts them to twips (1/20 pixel).
struct Point {
    double x = 0;
    double y = 0;
};

// An affine placement in pixels: x' = scaleX*x + skew1*y + translateX, y' = skew0*x + scaleY*y +
// translateY, as SWF's MATRIX record defines it.
struct Matrix {
    double scaleX = 1;
    double skew0 = 0;
    double skew1 = 0;
    double scaleY = 1;
    double translateX = 0;
    double translateY = 0;

    [[nodiscard]] static Matrix translation(double x, double y);
    // Scales and rotates (degrees, clockwise on screen) about the origin, then moves to (x, y).
    [[nodiscard]] static Matrix placed(double x, double y, double scale, double degrees = 0);
};

// Multiplies each channel by a factor (1 keeps it), then adds an offset (-255..255).
struct ColorTransform {
    double multiplyR = 1;
    double multiplyG = 1;
    double multiplyB = 1;
    double multiplyA = 1;
    int addR = 0;
    int addG = 0;
    int addB = 0;
    int addA = 0;

    [[nodiscard]] static ColorTransform tint(Rgba colour, double amount);
    [[nodiscard]] static ColorTransform alpha(double opacity);
};

} // namespace swfwriter
