#pragma once

#include "ByteReader.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace swf
{

// A bitmap character. Lossless bitmaps arrive decoded; JPEG, PNG and GIF data stay encoded for
// the renderer's image decoder, with the alpha plane that DefineBitsJPEG3/4 add beside them.
struct Bitmap {
    // Decoding may not yield more pixels than this (a 4096 × 4096 picture).
    static constexpr std::size_t maximumPixels = 4096 * 4096;

    int width = 0;
    int height = 0;
    // Premultiplied RGBA, row by row, when decoded here.
    std::vector<std::uint8_t> pixels;
    // Encoded image data (JPEG with its tables merged in, PNG or GIF) otherwise.
    std::vector<std::uint8_t> encoded;
    // One alpha byte per pixel of the encoded image, when the tag has an alpha plane.
    std::vector<std::uint8_t> alpha;
};

// The tag codes this reads.
enum class BitmapTag : std::uint16_t {
    DefineBits = 6,
    DefineBitsJpeg2 = 21,
    DefineBitsJpeg3 = 35,
    DefineBitsJpeg4 = 90,
    DefineBitsLossless = 20,
    DefineBitsLossless2 = 36,
};

// Reads a bitmap tag's body after its character id. `jpegTables` is the movie's JPEGTables
// tag, which DefineBits images need. Throws MalformedMovie on data that does not add up
// (wrong lengths, a colour table or pixel data cut short, more pixels than allowed).
[[nodiscard]] Bitmap readBitmap(BitmapTag tag, ByteReader& reader,
                                std::span<const std::uint8_t> jpegTables);

} // namespace swf
