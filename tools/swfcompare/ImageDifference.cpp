#include "ImageDifference.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace swfcompare
{
namespace
{

std::array<int, 3> channels(QRgb pixel)
{
    return {qRed(pixel), qGreen(pixel), qBlue(pixel)};
}

// Whether `pixel` lies within the colour range of `other` around (x, y), widened by `tolerance`.
bool fitsAround(QRgb pixel, const QImage& other, int x, int y, int tolerance)
{
    std::array<int, 3> low{255, 255, 255};
    std::array<int, 3> high{0, 0, 0};
    for (int dy = -1; dy <= 1; ++dy) {
        const int row = y + dy;
        if (row < 0 || row >= other.height())
            continue;
        const auto* line = reinterpret_cast<const QRgb*>(other.constScanLine(row));
        for (int dx = -1; dx <= 1; ++dx) {
            const int column = x + dx;
            if (column < 0 || column >= other.width())
                continue;
            const auto around = channels(line[column]);
            for (std::size_t c = 0; c < 3; ++c) {
                low[c] = std::min(low[c], around[c]);
                high[c] = std::max(high[c], around[c]);
            }
        }
    }
    const auto own = channels(pixel);
    for (std::size_t c = 0; c < 3; ++c) {
        if (own[c] < low[c] - tolerance || own[c] > high[c] + tolerance)
            return false;
    }
    return true;
}

// How the difference map marks a differing pixel.
constexpr QRgb marked = 0xffff0000;

int largestCluster(const QImage& map)
{
    const int width = map.width();
    const int height = map.height();
    std::vector<bool> seen(static_cast<std::size_t>(width) * height);
    const auto isMarked = [&map](int x, int y) { return map.pixel(x, y) == marked; };
    int largest = 0;
    std::vector<QPoint> pending;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto index = static_cast<std::size_t>(y) * width + x;
            if (seen[index] || !isMarked(x, y))
                continue;
            seen[index] = true;
            pending.assign(1, QPoint(x, y));
            int size = 0;
            while (!pending.empty()) {
                const QPoint at = pending.back();
                pending.pop_back();
                ++size;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = at.x() + dx;
                        const int ny = at.y() + dy;
                        if (nx < 0 || ny < 0 || nx >= width || ny >= height)
                            continue;
                        const auto next = static_cast<std::size_t>(ny) * width + nx;
                        if (!seen[next] && isMarked(nx, ny)) {
                            seen[next] = true;
                            pending.emplace_back(nx, ny);
                        }
                    }
                }
            }
            largest = std::max(largest, size);
        }
    }
    return largest;
}

QRgb pale(QRgb pixel)
{
    const int grey = qGray(pixel);
    return qRgb(170 + grey / 3, 170 + grey / 3, 170 + grey / 3);
}

} // namespace

ImageDifference compareImages(const QImage& first, const QImage& second, int tolerance,
                              const QImage& ignore)
{
    const QImage skipped =
        ignore.size() == first.size() ? ignore.convertToFormat(QImage::Format_RGB32) : QImage();
    ImageDifference result;
    const QImage a = first.convertToFormat(QImage::Format_RGB32);
    const QImage b = second.convertToFormat(QImage::Format_RGB32);
    result.map = QImage(a.size(), QImage::Format_RGB32);
    if (a.size() != b.size() || a.isNull()) {
        result.map.fill(Qt::red);
        result.meanDifference = 255;
        result.differingShare = 1;
        result.differingPixels = a.width() * a.height();
        result.largestCluster = result.differingPixels;
        return result;
    }
    long long sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* lineA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lineB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.map.scanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const auto pa = channels(lineA[x]);
            const auto pb = channels(lineB[x]);
            for (std::size_t c = 0; c < 3; ++c)
                sum += std::abs(pa[c] - pb[c]);
            if (!skipped.isNull() && qRed(skipped.pixel(x, y)) > 127) {
                ++result.ignoredPixels;
                out[x] = qRgb(120, 160, 255);
                continue;
            }
            const bool differs = !fitsAround(lineA[x], b, x, y, tolerance)
                                 || !fitsAround(lineB[x], a, x, y, tolerance);
            result.differingPixels += differs;
            out[x] = differs ? marked : pale(lineA[x]);
        }
    }
    const double pixels = static_cast<double>(a.width()) * a.height();
    result.meanDifference = static_cast<double>(sum) / (3 * pixels);
    result.differingShare = result.differingPixels / pixels;
    result.largestCluster = largestCluster(result.map);
    return result;
}

} // namespace swfcompare
