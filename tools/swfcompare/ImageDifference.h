#pragma once

#include <QImage>

namespace swfcompare
{

// How far two pictures of the same frame are apart. The engines anti-alias differently, so a
// pixel counts as different only when its colour lies outside the colour range of the other
// picture's pixels around it (itself and its eight neighbours), widened by a tolerance per
// channel: an edge that is a pixel off or blended differently passes, while a missing or moved
// shape, a wrong colour or wrong text do not.
struct ImageDifference {
    double meanDifference = 0; // mean absolute difference per channel, 0 to 255, pixel by pixel
    double differingShare = 0; // share of pixels that differ, 0 to 1
    int differingPixels = 0;
    // The most differing pixels that touch one another (including diagonally): anti-aliasing
    // leaves scattered pixels, a missing line or a shifted edge leaves a connected run.
    int largestCluster = 0;
    int ignoredPixels = 0; // not judged: white in the `ignore` picture

    // The first picture in pale grey, the differing pixels in pure red, the ignored in blue.
    QImage map;
};

// Pictures of different sizes differ everywhere. Pixels white in `ignore` (when not null, of the
// same size) are not judged.
[[nodiscard]] ImageDifference compareImages(const QImage& first, const QImage& second,
                                            int tolerance, const QImage& ignore = {});

} // namespace swfcompare
