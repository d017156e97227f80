#include "Bitmap.h"

#include <algorithm>
#include <stdexcept>

namespace swfwriter
{

namespace
{

constexpr std::uint8_t startOfImage = 0xd8;
constexpr std::uint8_t endOfImage = 0xd9;
constexpr std::uint8_t quantisationTable = 0xdb;
constexpr std::uint8_t huffmanTable = 0xc4;
constexpr std::uint8_t startOfScan = 0xda;

bool isStartOfFrame(std::uint8_t marker)
{
    // SOF0..SOF15, less the codes that share the range (DHT, JPG, DAC).
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

std::uint8_t premultiply(std::uint8_t channel, std::uint8_t alpha)
{
    return static_cast<std::uint8_t>((channel * alpha + 127) / 255);
}

} // namespace

bool Bitmap::opaque() const
{
    return std::all_of(pixels.begin(), pixels.end(), [](const Rgba& p) { return p.opaque(); });
}

std::vector<std::uint8_t> Bitmap::losslessPixels() const
{
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height)
        throw std::invalid_argument("bitmap size does not match its pixels");
    const bool withAlpha = !opaque();
    std::vector<std::uint8_t> data;
    data.reserve(pixels.size() * 4);
    for (const Rgba& p : pixels) {
        data.push_back(withAlpha ? p.a : 0);
        data.push_back(withAlpha ? premultiply(p.r, p.a) : p.r);
        data.push_back(withAlpha ? premultiply(p.g, p.a) : p.g);
        data.push_back(withAlpha ? premultiply(p.b, p.a) : p.b);
    }
    return data;
}

JpegParts JpegParts::split(const std::vector<std::uint8_t>& jpeg)
{
    if (jpeg.size() < 4 || jpeg[0] != 0xff || jpeg[1] != startOfImage)
        throw std::invalid_argument("not a JPEG file");
    JpegParts parts;
    parts.tables = {0xff, startOfImage};
    parts.image = {0xff, startOfImage};
    std::size_t at = 2;
    while (true) {
        if (at + 4 > jpeg.size() || jpeg[at] != 0xff)
            throw std::invalid_argument("JPEG file ends inside its headers");
        const std::uint8_t marker = jpeg[at + 1];
        if (marker == 0xff) {
            ++at; // fill byte
            continue;
        }
        if (marker == startOfScan) {
            // The scan header and the coded data run to the end of the file.
            parts.image.insert(parts.image.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(at),
                               jpeg.end());
            break;
        }
        const std::size_t length = static_cast<std::size_t>(jpeg[at + 2] << 8 | jpeg[at + 3]);
        if (length < 2 || at + 2 + length > jpeg.size())
            throw std::invalid_argument("JPEG segment runs past the file");
        if (isStartOfFrame(marker)) {
            if (length < 7)
                throw std::invalid_argument("JPEG frame header too short");
            parts.height = jpeg[at + 5] << 8 | jpeg[at + 6];
            parts.width = jpeg[at + 7] << 8 | jpeg[at + 8];
        }
        auto& target =
            (marker == quantisationTable || marker == huffmanTable) ? parts.tables : parts.image;
        const auto begin = jpeg.begin() + static_cast<std::ptrdiff_t>(at);
        target.insert(target.end(), begin, begin + static_cast<std::ptrdiff_t>(2 + length));
        at += 2 + length;
    }
    if (parts.image.size() < 4 || parts.image[parts.image.size() - 2] != 0xff
        || parts.image.back() != endOfImage)
        throw std::invalid_argument("JPEG file has no end mark");
    if (parts.width == 0 || parts.height == 0)
        throw std::invalid_argument("JPEG file has no frame header");
    parts.tables.push_back(0xff);
    parts.tables.push_back(endOfImage);
    return parts;
}

} // namespace swfwriter
