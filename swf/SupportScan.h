#pragma once

#include "Geometry.h"

#include <cstdint>
#include <span>
#include <string>

namespace swf
{

// What a quick look at a movie tells: whether it can be read at all, and whether this engine
// supports every tag and action it uses.
struct MovieSummary {
    bool readable = false;
    bool supported = false;
    // The first thing the engine does not support (or why the file cannot be read).
    std::string firstUnsupported;
    std::uint8_t version = 0;
    Rect stage; // twips
    double frameRate = 0;
    std::uint16_t frameCount = 0;
};

// Walks the tags, the sprites' tags and the scripts without building anything: a menu movie
// takes well under a millisecond.
[[nodiscard]] MovieSummary scanMovie(std::span<const std::uint8_t> file);

} // namespace swf
