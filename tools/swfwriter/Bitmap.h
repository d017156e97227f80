#pragma once

#include "Types.h"

#include <cstdint>
#include <vector>

namespace swfwriter
{

// An image as straight (not premultiplied) colours, row by row from the top.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    [[nodiscard]] bool opaque() const;
    // The lossless tags' pixel data before compression: 0RGB per pixel when opaque, else ARGB
    // premultiplied by alpha, as DefineBitsLossless2 stores it.
    [[nodiscard]] std::vector<std::uint8_t> losslessPixels() const;
};

// A baseline JPEG file taken apart the way DefineBits stores it: the quantisation and Huffman
// tables go to the movie's one JPEGTables tag, the rest (frame, scan, data) to the image tag.
// Both parts are complete streams from their start-of-image to end-of-image mark.
struct JpegParts {
    std::vector<std::uint8_t> tables;
    std::vector<std::uint8_t> image;
    int width = 0;
    int height = 0;

    // Throws std::invalid_argument when the data is not a JPEG file or ends early.
    [[nodiscard]] static JpegParts split(const std::vector<std::uint8_t>& jpeg);
};

} // namespace swfwriter
