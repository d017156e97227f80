#include "Bitmap.h"

#include <gtest/gtest.h>
#include <zlib.h>

using swf::Bitmap;
using swf::BitmapTag;
using Bytes = std::vector<std::uint8_t>;

namespace
{

Bytes deflated(const Bytes& data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    EXPECT_EQ(compress(out.data(), &size, data.data(), static_cast<uLong>(data.size())), Z_OK);
    out.resize(size);
    return out;
}

Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bitmap read(BitmapTag tag, const Bytes& body, const Bytes& tables = {})
{
    swf::ByteReader reader(body);
    return swf::readBitmap(tag, reader, tables);
}

// A lossless tag body: format, width, height, the colour table size when mapped, pixel data.
Bytes lossless(std::uint8_t format, std::uint16_t width, std::uint16_t height, const Bytes& data,
               int tableSize = 0)
{
    Bytes body{format, std::uint8_t(width), std::uint8_t(width >> 8), std::uint8_t(height),
               std::uint8_t(height >> 8)};
    if (format == 3)
        body.push_back(std::uint8_t(tableSize - 1));
    return join({body, deflated(data)});
}

// A JPEG segment: marker and the big-endian length that counts itself.
Bytes segment(std::uint8_t marker, const Bytes& payload)
{
    const std::size_t length = payload.size() + 2;
    return join({{0xff, marker, std::uint8_t(length >> 8), std::uint8_t(length)}, payload});
}

const Bytes soi{0xff, 0xd8};
const Bytes eoi{0xff, 0xd9};
const Bytes quantisation = segment(0xdb, {0x00, 1, 2, 3, 4});
const Bytes huffman = segment(0xc4, {0x00, 9, 8, 7});

// A baseline frame header for a picture of the given size.
Bytes frame(std::uint16_t width, std::uint16_t height)
{
    return segment(0xc0, {8, std::uint8_t(height >> 8), std::uint8_t(height),
                          std::uint8_t(width >> 8), std::uint8_t(width), 1, 1, 0x11, 0});
}

// A scan header and entropy-coded data with a stuffed byte and a restart marker, which belong to
// the scan and must come out untouched.
const Bytes scan = join({segment(0xda, {1, 1, 0, 0, 63, 0}), {0x12, 0xff, 0x00, 0x34, 0xff, 0xd0}});

Bytes png(std::uint32_t width, std::uint32_t height)
{
    return {0x89,
            'P',
            'N',
            'G',
            0x0d,
            0x0a,
            0x1a,
            0x0a,
            0,
            0,
            0,
            13,
            'I',
            'H',
            'D',
            'R',
            std::uint8_t(width >> 24),
            std::uint8_t(width >> 16),
            std::uint8_t(width >> 8),
            std::uint8_t(width),
            std::uint8_t(height >> 24),
            std::uint8_t(height >> 16),
            std::uint8_t(height >> 8),
            std::uint8_t(height),
            8,
            6,
            0,
            0,
            0};
}

Bytes withAlpha(const Bytes& image, const Bytes& compressedAlpha, bool deblocking = false)
{
    const auto size = static_cast<std::uint32_t>(image.size());
    Bytes body{std::uint8_t(size), std::uint8_t(size >> 8), std::uint8_t(size >> 16),
               std::uint8_t(size >> 24)};
    if (deblocking)
        body.insert(body.end(), {0x00, 0x01});
    return join({body, image, compressedAlpha});
}

} // namespace

TEST(Bitmap, LosslessFormatsDecodeToPremultipliedRgba)
{
    struct Case {
        const char* name;
        BitmapTag tag;
        Bytes body;
        int width;
        int height;
        Bytes pixels;
    };
    const Case cases[] = {
        {"colour-mapped RGB, rows padded to four bytes",
         BitmapTag::DefineBitsLossless,
         lossless(3, 3, 2,
                  {10, 20, 30, 200, 100, 0, // table
                   0, 1, 0, 1,              // row 0 and a padding byte naming entry 1
                   1, 1, 0, 0},
                  2),
         3,
         2,
         {10,  20,  30, 255, 200, 100, 0, 255, 10, 20, 30, 255,
          200, 100, 0,  255, 200, 100, 0, 255, 10, 20, 30, 255}},
        {"15-bit RGB, rows padded to four bytes",
         BitmapTag::DefineBitsLossless,
         lossless(4, 3, 2,
                  {0x7c, 0x00, 0x03, 0xe0, 0x00, 0x1f, 0xff, 0xff, //
                   0x42, 0x10, 0x00, 0x00, 0x7f, 0xff, 0xff, 0xff}),
         3,
         2,
         {255, 0,   0,   255, 0, 255, 0, 255, 0,   0,   255, 255, //
          132, 132, 132, 255, 0, 0,   0, 255, 255, 255, 255, 255}},
        {"24-bit RGB with a padding byte first",
         BitmapTag::DefineBitsLossless,
         lossless(5, 2, 1, {99, 10, 20, 30, 0, 40, 50, 60}),
         2,
         1,
         {10, 20, 30, 255, 40, 50, 60, 255}},
        {"colour-mapped RGBA, entries kept premultiplied and clamped to alpha",
         BitmapTag::DefineBitsLossless2,
         lossless(3, 2, 1, {50, 40, 30, 128, 200, 50, 10, 100, 0, 1, 0, 0}, 2),
         2,
         1,
         {50, 40, 30, 128, 100, 50, 10, 100}},
        {"ARGB, clamped to alpha",
         BitmapTag::DefineBitsLossless2,
         lossless(5, 2, 1, {128, 64, 32, 200, 0, 9, 9, 9}),
         2,
         1,
         {64, 32, 128, 128, 0, 0, 0, 0}},
        {"colour-mapped, an index past the table is transparent",
         BitmapTag::DefineBitsLossless,
         lossless(3, 2, 1, {1, 2, 3, 0, 5, 0, 0}, 1),
         2,
         1,
         {1, 2, 3, 255, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bitmap bitmap = read(c.tag, c.body);
        EXPECT_EQ(bitmap.width, c.width);
        EXPECT_EQ(bitmap.height, c.height);
        EXPECT_EQ(bitmap.pixels, c.pixels);
        EXPECT_TRUE(bitmap.encoded.empty());
    }
}

TEST(Bitmap, JpegDataBecomesOneDecodableStream)
{
    struct Case {
        const char* name;
        BitmapTag tag;
        Bytes tables;
        Bytes body;
        Bytes encoded;
    };
    const Bytes merged = join({soi, quantisation, huffman, frame(2, 3), scan, eoi});
    const Case cases[] = {
        {"the movie's tables merged before the image's frame", BitmapTag::DefineBits,
         join({soi, quantisation, huffman, eoi}), join({soi, frame(2, 3), scan, eoi}), merged},
        {"stray end and start markers that older writers put first, on both parts",
         BitmapTag::DefineBits, join({eoi, soi, soi, quantisation, huffman, eoi}),
         join({eoi, soi, soi, frame(2, 3), scan, eoi}), merged},
        {"an image that carries all it needs and empty tables",
         BitmapTag::DefineBits,
         {},
         join({soi, quantisation, huffman, frame(2, 3), scan, eoi}),
         merged},
        {"tables and image written as two streams in one tag",
         BitmapTag::DefineBitsJpeg2,
         {},
         join({soi, quantisation, huffman, eoi, soi, frame(2, 3), scan, eoi}),
         merged},
        {"fill bytes before a marker",
         BitmapTag::DefineBitsJpeg2,
         {},
         join({soi, {0xff}, quantisation, huffman, frame(2, 3), scan, eoi}),
         merged},
        {"PNG data kept as it is", BitmapTag::DefineBitsJpeg2, {}, png(2, 3), png(2, 3)},
        {"GIF data kept as it is",
         BitmapTag::DefineBitsJpeg2,
         {},
         {'G', 'I', 'F', '8', '9', 'a', 2, 0, 3, 0, 0},
         {'G', 'I', 'F', '8', '9', 'a', 2, 0, 3, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bitmap bitmap = read(c.tag, c.body, c.tables);
        EXPECT_EQ(bitmap.encoded, c.encoded);
        EXPECT_EQ(bitmap.width, 2);
        EXPECT_EQ(bitmap.height, 3);
        EXPECT_TRUE(bitmap.pixels.empty());
        EXPECT_TRUE(bitmap.alpha.empty());
    }
}

TEST(Bitmap, JpegAlphaPlaneIsKeptBesideTheImage)
{
    const Bytes jpeg = join({soi, quantisation, huffman, frame(2, 3), scan, eoi});
    const Bytes plane{0, 51, 102, 153, 204, 255};
    struct Case {
        const char* name;
        BitmapTag tag;
        Bytes body;
        Bytes alpha;
    };
    const Case cases[] = {
        {"JPEG3", BitmapTag::DefineBitsJpeg3, withAlpha(jpeg, deflated(plane)), plane},
        {"JPEG4 with its deblocking field", BitmapTag::DefineBitsJpeg4,
         withAlpha(jpeg, deflated(plane), true), plane},
        {"a plane longer than the picture is cut to it", BitmapTag::DefineBitsJpeg3,
         withAlpha(jpeg, deflated(join({plane, {1, 2, 3}}))), plane},
        {"no plane at all: opaque", BitmapTag::DefineBitsJpeg3, withAlpha(jpeg, {}), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bitmap bitmap = read(c.tag, c.body);
        EXPECT_EQ(bitmap.encoded, jpeg);
        EXPECT_EQ(bitmap.alpha, c.alpha);
    }

    // PNG data has its own transparency: a plane after it means nothing.
    const Bitmap fromPng = read(BitmapTag::DefineBitsJpeg3, withAlpha(png(2, 3), deflated(plane)));
    EXPECT_EQ(fromPng.encoded, png(2, 3));
    EXPECT_TRUE(fromPng.alpha.empty());
}

TEST(Bitmap, DataThatDoesNotAddUpIsMalformed)
{
    const Bytes jpeg = join({soi, frame(2, 3), scan, eoi});
    struct Case {
        const char* name;
        BitmapTag tag;
        Bytes body;
    };
    const Case cases[] = {
        {"empty lossless body", BitmapTag::DefineBitsLossless, {}},
        {"lossless header cut short", BitmapTag::DefineBitsLossless, {5, 2, 0, 1}},
        {"colour-mapped without its table size", BitmapTag::DefineBitsLossless, {3, 2, 0, 1, 0}},
        {"unknown lossless format", BitmapTag::DefineBitsLossless, lossless(7, 1, 1, {0, 0, 0, 0})},
        {"zero width", BitmapTag::DefineBitsLossless2, lossless(5, 0, 4, {})},
        {"zero height", BitmapTag::DefineBitsLossless, lossless(5, 4, 0, {})},
        {"more pixels than allowed", BitmapTag::DefineBitsLossless, lossless(5, 4097, 4096, {})},
        {"the largest picture the fields allow", BitmapTag::DefineBitsLossless2,
         lossless(5, 65535, 65535, Bytes(64, 0))},
        {"pixel data cut short", BitmapTag::DefineBitsLossless, lossless(5, 3, 2, Bytes(20, 0))},
        {"row padding missing", BitmapTag::DefineBitsLossless, lossless(4, 3, 2, Bytes(12, 0))},
        {"colour table cut short", BitmapTag::DefineBitsLossless2,
         lossless(3, 1, 1, Bytes(9, 0), 256)},
        {"pixel data that is no zlib stream",
         BitmapTag::DefineBitsLossless,
         {5, 1, 0, 1, 0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {"DefineBits without any data", BitmapTag::DefineBits, {}},
        {"JPEG data that starts with no marker", BitmapTag::DefineBitsJpeg2, {0x12, 0x34, 0x56}},
        {"JPEG segment longer than the data",
         BitmapTag::DefineBitsJpeg2,
         {0xff, 0xd8, 0xff, 0xdb, 0x01, 0x00, 1, 2}},
        {"JPEG segment length too small",
         BitmapTag::DefineBitsJpeg2,
         {0xff, 0xd8, 0xff, 0xdb, 0x00, 0x01, 1, 2}},
        {"JPEG without a frame", BitmapTag::DefineBitsJpeg2, join({soi, quantisation, scan, eoi})},
        {"JPEG without a scan", BitmapTag::DefineBitsJpeg2, join({soi, frame(2, 3), eoi})},
        {"JPEG of zero height", BitmapTag::DefineBitsJpeg2, join({soi, frame(2, 0), scan, eoi})},
        {"JPEG with more pixels than allowed", BitmapTag::DefineBitsJpeg2,
         join({soi, frame(65535, 65535), scan, eoi})},
        {"PNG header cut short",
         BitmapTag::DefineBitsJpeg2,
         {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a, 0, 0}},
        {"PNG with more pixels than allowed", BitmapTag::DefineBitsJpeg2, png(70000, 70000)},
        {"GIF header cut short", BitmapTag::DefineBitsJpeg2, {'G', 'I', 'F', '8', '9', 'a', 2}},
        {"alpha offset past the data", BitmapTag::DefineBitsJpeg3,
         join({{0xff, 0xff, 0xff, 0xff}, jpeg})},
        {"alpha offset without the deblocking field", BitmapTag::DefineBitsJpeg4, {0, 0, 0, 0, 1}},
        {"alpha plane shorter than the picture", BitmapTag::DefineBitsJpeg3,
         withAlpha(jpeg, deflated({1, 2, 3}))},
        {"alpha plane that is no zlib stream", BitmapTag::DefineBitsJpeg3,
         withAlpha(jpeg, {1, 2, 3, 4, 5, 6, 7, 8})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW((void)read(c.tag, c.body), swf::MalformedMovie);
    }
}
