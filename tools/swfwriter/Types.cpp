#include "Types.h"

#include <cmath>
#include <numbers>

namespace swfwriter
{

Matrix Matrix::translation(double x, double y)
{
    return {1, 0, 0, 1, x, y};
}

Matrix Matrix::placed(double x, double y, double scale, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180;
    const double c = std::cos(radians) * scale;
    const double s = std::sin(radians) * scale;
    return {c, s, -s, c, x, y};
}

ColorTransform ColorTransform::tint(Rgba colour, double amount)
{
    const double keep = 1 - amount;
    return {keep,
            keep,
            keep,
            1,
            static_cast<int>(std::lround(colour.r * amount)),
            static_cast<int>(std::lround(colour.g * amount)),
            static_cast<int>(std::lround(colour.b * amount)),
            0};
}

ColorTransform ColorTransform::alpha(double opacity)
{
    ColorTransform transform;
    transform.multiplyA = opacity;
    return transform;
}

} // namespace swfwriter
