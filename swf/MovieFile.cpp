#include "MovieFile.h"

#include "ByteReader.h"
#include "Records.h"

#include <lzma.h>
#include <zlib.h>

#include <algorithm>

namespace swf
{
namespace
{

constexpr std::size_t headerSize = 8; // signature, version, file length

// Inflates zlib data into at most `limit` bytes; stops early, keeping what it has, when the
// data is cut short or damaged after the start.
std::vector<std::uint8_t> inflateZlib(std::span<const std::uint8_t> data, std::size_t limit)
{
    std::vector<std::uint8_t> out(limit);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        throw MalformedMovie("cannot start inflating");
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(std::min<std::size_t>(data.size(), UINT32_MAX));
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(limit);
    const int result = inflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    inflateEnd(&stream);
    if (out.empty() && result != Z_STREAM_END)
        throw MalformedMovie("the compressed data cannot be inflated");
    return out;
}

std::vector<std::uint8_t> inflateLzma(std::span<const std::uint8_t> data, std::size_t limit)
{
    // After the header: the compressed length (4 bytes) and the 5 bytes of LZMA properties; the
    // ".lzma" container liblzma reads wants the properties followed by the 8-byte size.
    ByteReader reader(data);
    (void)reader.u32();
    const auto properties = reader.bytes(5);
    std::vector<std::uint8_t> input(properties.begin(), properties.end());
    for (int i = 0; i < 8; ++i)
        input.push_back(static_cast<std::uint8_t>((std::uint64_t{limit} >> (8 * i)) & 0xff));
    const auto rest = reader.rest();
    input.insert(input.end(), rest.begin(), rest.end());

    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_alone_decoder(&stream, 256u * 1024 * 1024) != LZMA_OK)
        throw MalformedMovie("cannot start decompressing");
    std::vector<std::uint8_t> out(limit);
    stream.next_in = input.data();
    stream.avail_in = input.size();
    stream.next_out = out.data();
    stream.avail_out = out.size();
    const lzma_ret result = lzma_code(&stream, LZMA_FINISH);
    out.resize(stream.total_out);
    lzma_end(&stream);
    if (out.empty() && result != LZMA_STREAM_END)
        throw MalformedMovie("the compressed data cannot be decompressed");
    return out;
}

} // namespace

MovieFile readMovieFile(std::span<const std::uint8_t> file)
{
    ByteReader reader(file);
    const auto signature = reader.bytes(3);
    MovieFile movie;
    movie.version = reader.u8();
    const std::uint32_t declared = reader.u32();
    if (declared < headerSize)
        throw MalformedMovie("the header declares a file shorter than itself");
    const std::size_t bodySize =
        std::min<std::size_t>(declared - headerSize, MovieFile::maximumSize);
    const auto rest = reader.rest();
    if (signature[0] == 'F' && signature[1] == 'W' && signature[2] == 'S')
        movie.body.assign(rest.begin(), rest.begin() + std::min(rest.size(), bodySize));
    else if (signature[0] == 'C' && signature[1] == 'W' && signature[2] == 'S')
        movie.body = inflateZlib(rest, bodySize);
    else if (signature[0] == 'Z' && signature[1] == 'W' && signature[2] == 'S')
        movie.body = inflateLzma(rest, bodySize);
    else
        throw MalformedMovie("not a movie: unknown signature");

    ByteReader header(movie.body);
    movie.stage = readRect(header);
    movie.frameRate = header.u16() / 256.0;
    movie.frameCount = header.u16();
    movie.tagsStart = header.position();
    return movie;
}

bool TagStream::next(Tag& tag)
{
    ByteReader reader(m_bytes.subspan(m_position));
    if (reader.remaining() < 2)
        return false;
    const std::uint16_t codeAndLength = reader.u16();
    std::uint32_t length = codeAndLength & 0x3f;
    if (length == 0x3f)
        length = reader.u32();
    tag.code = codeAndLength >> 6;
    if (tag.code == 0)
        return false;
    if (length > reader.remaining())
        throw MalformedMovie("a tag runs past the end of the movie");
    tag.body = reader.bytes(length);
    m_position += reader.position();
    return true;
}

} // namespace swf
