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

std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace swftest
