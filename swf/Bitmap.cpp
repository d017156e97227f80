#include "Bitmap.h"

#include "Records.h"

#include <zlib.h>

#include <algorithm>
#include <array>

namespace swf
{
namespace
{

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t markerStart = 0xff;
constexpr std::uint8_t startOfImage = 0xd8;
constexpr std::uint8_t endOfImage = 0xd9;
constexpr std::uint8_t startOfScan = 0xda;

[[nodiscard]] bool startsWith(std::span<const std::uint8_t> data,
                              std::initializer_list<std::uint8_t> prefix)
{
    return data.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), data.begin());
}

[[nodiscard]] std::size_t checkedPixelCount(std::uint32_t width, std::uint32_t height)
{
    const std::uint64_t count = std::uint64_t{width} * height;
    if (count == 0)
        throw MalformedMovie("a bitmap has no pixels");
    if (count > Bitmap::maximumPixels)
        throw MalformedMovie("a bitmap has more pixels than allowed");
    return static_cast<std::size_t>(count);
}

// The segments of a JPEG stream up to its first scan, which is where the tables and the frame
// header live, and the scan data after them. Start- and end-of-image markers are dropped:
// writers put a table stream and an image stream back to back, or "FF D9 FF D8" in front of
// the data, and decoders read only one stream.
struct JpegSegments {
    // Tables and headers, each segment with its marker.
    Bytes headers;
    // From the first start-of-scan marker to the end, as written.
    std::span<const std::uint8_t> scan;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

[[nodiscard]] bool isFrameHeader(std::uint8_t marker)
{
    // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

[[nodiscard]] JpegSegments splitJpeg(std::span<const std::uint8_t> data)
{
    JpegSegments segments;
    std::size_t at = 0;
    while (at < data.size()) {
        if (data[at] != markerStart)
            throw MalformedMovie("JPEG data has bytes outside its segments");
        // Any number of fill bytes may precede a marker.
        while (at < data.size() && data[at] == markerStart)
            ++at;
        if (at == data.size())
            break;
        const std::uint8_t marker = data[at++];
        if (marker == 0x00)
            throw MalformedMovie("JPEG data has a stuffed byte outside its scans");
        // Markers without a length: start and end of image, TEM, restarts.
        if (marker == startOfImage || marker == endOfImage || marker == 0x01
            || (marker >= 0xd0 && marker <= 0xd7))
            continue;
        if (marker == startOfScan) {
            segments.scan = data.subspan(at - 2);
            break;
        }
        if (data.size() - at < 2)
            throw MalformedMovie("a JPEG segment is cut short");
        const std::size_t length = std::size_t{data[at]} << 8 | data[at + 1];
        if (length < 2 || length > data.size() - at)
            throw MalformedMovie("a JPEG segment runs past its data");
        if (isFrameHeader(marker) && length >= 7) {
            segments.height = std::uint32_t{data[at + 3]} << 8 | data[at + 4];
            segments.width = std::uint32_t{data[at + 5]} << 8 | data[at + 6];
        }
        segments.headers.push_back(markerStart);
        segments.headers.push_back(marker);
        segments.headers.insert(segments.headers.end(),
                                data.begin() + static_cast<std::ptrdiff_t>(at),
                                data.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    }
    return segments;
}

// One decodable JPEG stream: a single start-of-image, the movie's tables (if any), the image's
// own tables and frame, its scans.
[[nodiscard]] Bitmap mergeJpeg(std::span<const std::uint8_t> tables,
                               std::span<const std::uint8_t> image)
{
    const JpegSegments tableSegments = splitJpeg(tables);
    const JpegSegments imageSegments = splitJpeg(image);
    if (imageSegments.scan.empty() || imageSegments.width == 0)
        throw MalformedMovie("JPEG data has no frame or no scan");
    Bitmap bitmap;
    bitmap.width = static_cast<int>(imageSegments.width);
    bitmap.height = static_cast<int>(imageSegments.height);
    (void)checkedPixelCount(imageSegments.width, imageSegments.height);
    Bytes& out = bitmap.encoded;
    out.reserve(2 + tableSegments.headers.size() + imageSegments.headers.size()
                + imageSegments.scan.size());
    out.push_back(markerStart);
    out.push_back(startOfImage);
    out.insert(out.end(), tableSegments.headers.begin(), tableSegments.headers.end());
    out.insert(out.end(), imageSegments.headers.begin(), imageSegments.headers.end());
    out.insert(out.end(), imageSegments.scan.begin(), imageSegments.scan.end());
    return bitmap;
}

[[nodiscard]] std::uint32_t bigEndian32(std::span<const std::uint8_t> data, std::size_t at)
{
    return std::uint32_t{data[at]} << 24 | std::uint32_t{data[at + 1]} << 16
           | std::uint32_t{data[at + 2]} << 8 | data[at + 3];
}

// JPEG, PNG or GIF data of DefineBitsJPEG2/3/4; only JPEG data needs its streams merged.
[[nodiscard]] Bitmap readEmbeddedImage(std::span<const std::uint8_t> data)
{
    if (startsWith(data, {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a})) {
        if (data.size() < 24)
            throw MalformedMovie("PNG data ends before its header");
        const std::uint32_t width = bigEndian32(data, 16);
        const std::uint32_t height = bigEndian32(data, 20);
        (void)checkedPixelCount(width, height);
        return {
            static_cast<int>(width), static_cast<int>(height), {}, {data.begin(), data.end()}, {}};
    }
    if (startsWith(data, {'G', 'I', 'F', '8'})) {
        if (data.size() < 10)
            throw MalformedMovie("GIF data ends before its header");
        const std::uint32_t width = data[6] | std::uint32_t{data[7]} << 8;
        const std::uint32_t height = data[8] | std::uint32_t{data[9]} << 8;
        (void)checkedPixelCount(width, height);
        return {
            static_cast<int>(width), static_cast<int>(height), {}, {data.begin(), data.end()}, {}};
    }
    return mergeJpeg({}, data);
}

// Inflates zlib data up to `limit` bytes, growing the output only as far as the data really
// inflates, so a small tag cannot make us allocate what it merely claims.
[[nodiscard]] Bytes inflateUpTo(std::span<const std::uint8_t> compressed, std::size_t limit)
{
    Bytes out;
    if (compressed.empty() || limit == 0)
        return out;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        throw MalformedMovie("cannot start inflating bitmap data");
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    constexpr std::size_t chunk = 64 * 1024;
    int status = Z_OK;
    while (status == Z_OK && out.size() < limit) {
        const std::size_t start = out.size();
        out.resize(std::min(limit, start + chunk));
        stream.next_out = out.data() + start;
        stream.avail_out = static_cast<uInt>(out.size() - start);
        status = inflate(&stream, Z_NO_FLUSH);
        out.resize(out.size() - stream.avail_out);
    }
    inflateEnd(&stream);
    return out;
}

[[nodiscard]] std::uint8_t expandFiveBits(unsigned value)
{
    return static_cast<std::uint8_t>(value << 3 | value >> 2);
}

// A premultiplied pixel, channels clamped to alpha so that no file yields an invalid one.
void putPremultiplied(std::uint8_t* pixel, Rgba colour)
{
    pixel[0] = std::min(colour.r, colour.a);
    pixel[1] = std::min(colour.g, colour.a);
    pixel[2] = std::min(colour.b, colour.a);
    pixel[3] = colour.a;
}

[[nodiscard]] std::size_t paddedRow(std::size_t bytes)
{
    return (bytes + 3) & ~std::size_t{3};
}

[[nodiscard]] Bitmap readLossless(ByteReader& reader, bool withAlpha)
{
    const std::uint8_t format = reader.u8();
    Bitmap bitmap;
    const std::uint16_t width = reader.u16();
    const std::uint16_t height = reader.u16();
    const std::size_t pixelCount = checkedPixelCount(width, height);
    bitmap.width = width;
    bitmap.height = height;

    std::size_t tableSize = 0;
    std::size_t rowBytes = 0;
    switch (format) {
    case 3:
        tableSize = std::size_t{reader.u8()} + 1;
        rowBytes = paddedRow(width);
        break;
    case 4:
        rowBytes = paddedRow(std::size_t{width} * 2);
        break;
    case 5:
        rowBytes = std::size_t{width} * 4;
        break;
    default:
        throw MalformedMovie("unknown lossless bitmap format");
    }
    const std::size_t entryBytes = withAlpha ? 4 : 3;
    const std::size_t needed = tableSize * entryBytes + rowBytes * height;
    const Bytes data = inflateUpTo(reader.rest(), needed);
    reader.skip(reader.remaining());
    if (data.size() < needed)
        throw MalformedMovie("lossless bitmap data is cut short");

    std::vector<Rgba> table;
    table.reserve(tableSize);
    for (std::size_t i = 0; i < tableSize; ++i) {
        const std::uint8_t* entry = data.data() + i * entryBytes;
        table.push_back({entry[0], entry[1], entry[2], withAlpha ? entry[3] : std::uint8_t{255}});
    }
    const std::uint8_t* const rows = data.data() + tableSize * entryBytes;

    bitmap.pixels.resize(pixelCount * 4);
    std::uint8_t* out = bitmap.pixels.data();
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* row = rows + y * rowBytes;
        for (std::size_t x = 0; x < width; ++x, out += 4) {
            Rgba colour;
            if (format == 3) {
                // An index past the table is a writer's error; such pixels stay transparent.
                colour = row[x] < table.size() ? table[row[x]] : Rgba{0, 0, 0, 0};
            } else if (format == 4) {
                const unsigned value = unsigned{row[2 * x]} << 8 | row[2 * x + 1];
                colour = {expandFiveBits(value >> 10 & 0x1f), expandFiveBits(value >> 5 & 0x1f),
                          expandFiveBits(value & 0x1f), 255};
            } else {
                const std::uint8_t* pixel = row + 4 * x;
                colour = {pixel[1], pixel[2], pixel[3], withAlpha ? pixel[0] : std::uint8_t{255}};
            }
            putPremultiplied(out, colour);
        }
    }
    return bitmap;
}

// DefineBitsJPEG3/4: the image, then its alpha plane compressed.
[[nodiscard]] Bitmap readJpegWithAlpha(ByteReader& reader, bool deblocking)
{
    const std::uint32_t alphaOffset = reader.u32();
    if (deblocking)
        (void)reader.u16();
    if (alphaOffset > reader.remaining())
        throw MalformedMovie("a bitmap's alpha plane starts past its data");
    Bitmap bitmap = readEmbeddedImage(reader.bytes(alphaOffset));
    const auto compressedAlpha = reader.rest();
    reader.skip(reader.remaining());
    // PNG and GIF data carry their own transparency; the plane applies to JPEG data only.
    if (!bitmap.pixels.empty() || !startsWith(bitmap.encoded, {markerStart, startOfImage})
        || compressedAlpha.empty())
        return bitmap;
    const std::size_t pixelCount = std::size_t(bitmap.width) * std::size_t(bitmap.height);
    bitmap.alpha = inflateUpTo(compressedAlpha, pixelCount);
    if (bitmap.alpha.size() < pixelCount)
        throw MalformedMovie("a bitmap's alpha plane is cut short");
    return bitmap;
}

} // namespace

Bitmap readBitmap(BitmapTag tag, ByteReader& reader, std::span<const std::uint8_t> jpegTables)
{
    switch (tag) {
    case BitmapTag::DefineBits: {
        const auto image = reader.rest();
        reader.skip(reader.remaining());
        return mergeJpeg(jpegTables, image);
    }
    case BitmapTag::DefineBitsJpeg2: {
        const auto image = reader.rest();
        reader.skip(reader.remaining());
        return readEmbeddedImage(image);
    }
    case BitmapTag::DefineBitsJpeg3:
        return readJpegWithAlpha(reader, false);
    case BitmapTag::DefineBitsJpeg4:
        return readJpegWithAlpha(reader, true);
    case BitmapTag::DefineBitsLossless:
        return readLossless(reader, false);
    case BitmapTag::DefineBitsLossless2:
        return readLossless(reader, true);
    }
    throw MalformedMovie("not a bitmap tag");
}

} // namespace swf
