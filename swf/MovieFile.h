#pragma once

#include "Geometry.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace swf
{

// The whole file after its signature is undone: header fields and the tag stream.
struct MovieFile {
    // A file may not inflate beyond this: no menu or activity movie comes near it, and a file
    // that claims more is not to be believed.
    static constexpr std::size_t maximumSize = 64 * 1024 * 1024;

    std::uint8_t version = 0;
    Rect stage; // twips
    double frameRate = 0;
    std::uint16_t frameCount = 0;
    std::vector<std::uint8_t> body; // the bytes after the signature, uncompressed
    std::size_t tagsStart = 0;      // where the tag stream starts in `body`

    [[nodiscard]] std::span<const std::uint8_t> tags() const
    {
        return std::span(body).subspan(tagsStart);
    }
};

// Reads the signature ("FWS", "CWS" with zlib, "ZWS" with LZMA) and the header, and inflates
// the rest. A file whose compressed data ends early keeps what could be inflated, as players
// do with a download cut short. Throws MalformedMovie when it is no movie at all.
[[nodiscard]] MovieFile readMovieFile(std::span<const std::uint8_t> file);

// One tag of a tag stream: its code and body.
struct Tag {
    std::uint16_t code = 0;
    std::span<const std::uint8_t> body;
};

// Walks a tag stream up to its End tag or its last whole tag. A header that claims more bytes
// than are left throws MalformedMovie.
class TagStream final
{
public:
    explicit TagStream(std::span<const std::uint8_t> bytes)
        : m_bytes(bytes)
    {
    }

    // The next tag, or false at the End tag or the end of the data.
    [[nodiscard]] bool next(Tag& tag);

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

} // namespace swf
