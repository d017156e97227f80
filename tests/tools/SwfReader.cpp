#include "SwfReader.h"

#include <zlib.h>

#include <fstream>
#include <iterator>

namespace swftest
{

Swf readSwf(const std::vector<std::uint8_t>& file)
{
    if (file.size() < 8)
        throw std::runtime_error("shorter than a header");
    Swf swf;
    for (int i = 0; i < 3; ++i)
        swf.signature[i] = static_cast<char>(file[static_cast<std::size_t>(i)]);
    swf.version = file[3];
    swf.fileLength = static_cast<std::uint32_t>(file[4] | file[5] << 8 | file[6] << 16)
                     | static_cast<std::uint32_t>(file[7]) << 24;
    const std::string signature(swf.signature, 3);
    if (signature == "FWS") {
        swf.plain.assign(file.begin() + 8, file.end());
    } else if (signature == "CWS") {
        swf.plain.resize(swf.fileLength - 8);
        uLongf size = static_cast<uLongf>(swf.plain.size());
        if (uncompress(swf.plain.data(), &size, file.data() + 8,
                       static_cast<uLong>(file.size() - 8))
                != Z_OK
            || size != swf.plain.size())
            throw std::runtime_error("zlib body does not inflate to the recorded length");
    } else {
        throw std::runtime_error("unknown signature " + signature);
    }
    if (swf.plain.size() + 8 != swf.fileLength)
        throw std::runtime_error("file length in the header is wrong");
    BitReader in(swf.plain.data(), swf.plain.size());
    swf.stage = readRect(in);
    swf.frameRate = in.u16() / 256.0;
    swf.frameCount = in.u16();
    swf.tags = readTags(in);
    if (in.position() != in.size())
        throw std::runtime_error("bytes after the End tag");
    return swf;
}

const std::vector<std::uint8_t>& tagBody(const Swf& swf, std::uint16_t code)
{
    for (const Tag& tag : swf.tags)
        if (tag.code == code)
            return tag.body;
    throw std::runtime_error("no tag " + std::to_string(code));
}

std::vector<std::vector<std::uint8_t>> tagBodies(const Swf& swf, std::uint16_t code)
{
    std::vector<std::vector<std::uint8_t>> bodies;
    for (const Tag& tag : swf.tags)
        if (tag.code == code)
            bodies.push_back(tag.body);
    return bodies;
}

FillStyle readFillStyle(BitReader& in, int shapeVersion)
{
    const bool withAlpha = shapeVersion >= 3;
    FillStyle fill;
    fill.type = in.u8();
    switch (fill.type) {
    case 0x00:
        fill.colour = readColour(in, withAlpha);
        break;
    case 0x10:
    case 0x12:
    case 0x13: {
        fill.matrix = readMatrix(in);
        fill.spread = static_cast<int>(in.ubits(2));
        fill.interpolation = static_cast<int>(in.ubits(2));
        const int count = static_cast<int>(in.ubits(4));
        for (int i = 0; i < count; ++i) {
            GradientStop stop;
            stop.ratio = in.u8();
            stop.colour = readColour(in, withAlpha);
            fill.stops.push_back(stop);
        }
        if (fill.type == 0x13)
            fill.focalPoint = static_cast<std::int16_t>(in.u16()) / 256.0;
        break;
    }
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
        fill.bitmap = in.u16();
        fill.matrix = readMatrix(in);
        break;
    default:
        throw std::runtime_error("unknown fill style type " + std::to_string(fill.type));
    }
    return fill;
}

LineStyle readLineStyle(BitReader& in, int shapeVersion)
{
    LineStyle line;
    line.width = in.u16();
    if (shapeVersion < 4) {
        line.colour = readColour(in, shapeVersion >= 3);
        return line;
    }
    line.startCap = static_cast<int>(in.ubits(2));
    line.join = static_cast<int>(in.ubits(2));
    line.hasFill = in.ubits(1) != 0;
    in.ubits(3); // no horizontal or vertical scaling, pixel hinting
    in.ubits(5);
    line.noClose = in.ubits(1) != 0;
    line.endCap = static_cast<int>(in.ubits(2));
    if (line.join == 2)
        line.miterLimit = in.u16() / 256.0;
    if (line.hasFill)
        line.fill = readFillStyle(in, 4);
    else
        line.colour = readColour(in, true);
    return line;
}

namespace
{

std::size_t styleCount(BitReader& in)
{
    const std::uint8_t count = in.u8();
    return count == 0xff ? in.u16() : count;
}

} // namespace

std::vector<FillStyle> readFillStyles(BitReader& in, int shapeVersion)
{
    std::vector<FillStyle> fills(styleCount(in));
    for (FillStyle& fill : fills)
        fill = readFillStyle(in, shapeVersion);
    return fills;
}

std::vector<LineStyle> readLineStyles(BitReader& in, int shapeVersion)
{
    std::vector<LineStyle> lines(styleCount(in));
    for (LineStyle& line : lines)
        line = readLineStyle(in, shapeVersion);
    return lines;
}

Outline readOutline(BitReader& in)
{
    const int fillBits = static_cast<int>(in.ubits(4));
    const int lineBits = static_cast<int>(in.ubits(4));
    Outline outline;
    std::int32_t x = 0;
    std::int32_t y = 0;
    while (true) {
        if (in.ubits(1) == 0) {
            const std::uint32_t flags = in.ubits(5);
            if (flags == 0)
                break;
            if (flags & 0x10)
                throw std::runtime_error("new styles inside a shape");
            ++outline.styleChanges;
            if (flags & 0x01) {
                const int bits = static_cast<int>(in.ubits(5));
                x = in.sbits(bits);
                y = in.sbits(bits);
                ++outline.moves;
                outline.points.emplace_back(x, y);
            }
            if (flags & 0x02)
                in.ubits(fillBits);
            if (flags & 0x04)
                in.ubits(fillBits);
            if (flags & 0x08)
                in.ubits(lineBits);
            continue;
        }
        if (in.ubits(1) == 1) {
            const int bits = static_cast<int>(in.ubits(4)) + 2;
            if (in.ubits(1) == 1) {
                x += in.sbits(bits);
                y += in.sbits(bits);
            } else if (in.ubits(1) == 1) {
                y += in.sbits(bits);
            } else {
                x += in.sbits(bits);
            }
        } else {
            const int bits = static_cast<int>(in.ubits(4)) + 2;
            x += in.sbits(bits);
            y += in.sbits(bits);
            x += in.sbits(bits);
            y += in.sbits(bits);
        }
        ++outline.edges;
        outline.points.emplace_back(x, y);
    }
    in.align();
    return outline;
}

std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace swftest
