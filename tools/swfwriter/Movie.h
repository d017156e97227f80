#pragma once

#include "BitWriter.h"
#include "Timeline.h"
#include "Types.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace swfwriter
{

class Button;
class Shape;

enum class Compression { None, Zlib };

// One SWF file: stage, background, character definitions and the main timeline. Definitions
// are written ahead of the timeline, so every character exists before its first frame.
class Movie final
{
public:
    static constexpr std::uint8_t version = 8;

    Movie(double width, double height, double frameRate, Rgba background);

    CharacterId define(const Shape& shape);
    CharacterId define(const Timeline& sprite);
    CharacterId define(const Button& button);

    [[nodiscard]] Timeline& timeline() { return m_timeline; }

    // The whole file: "FWS" when uncompressed, "CWS" with everything after the 8-byte header
    // compressed with zlib.
    [[nodiscard]] std::vector<std::uint8_t> bytes(Compression compression) const;
    // Throws std::runtime_error when the file cannot be written.
    void save(const std::filesystem::path& file, Compression compression) const;

private:
    CharacterId nextId();

    double m_width;
    double m_height;
    double m_frameRate;
    Rgba m_background;
    BitWriter m_definitions;
    Timeline m_timeline;
    CharacterId m_lastId = 0;
};

} // namespace swfwriter
