#pragma once

#include "BitWriter.h"
#include "Types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace swfwriter
{

class Font;

// A static text character (DefineText, or DefineText2 when a colour is translucent): runs of
// glyphs of embedded fonts, each placed at its baseline with its height and colour.
class StaticText final
{
public:
    // Lays out one line starting at the baseline point; height is the em size in pixels.
    // Throws std::invalid_argument when the font lacks a character.
    void add(CharacterId fontId, const Font& font, double height, Rgba colour, Point baseline,
             std::u16string_view text);

    [[nodiscard]] bool needsAlpha() const;
    // The tag body after the character id.
    void write(BitWriter& out) const;

private:
    struct Run {
        CharacterId font;
        std::uint16_t height; // twips
        Rgba colour;
        std::int16_t x; // twips
        std::int16_t y;
        std::vector<std::uint32_t> glyphs;
        std::vector<std::int32_t> advances; // twips
    };

    std::vector<Run> m_runs;
    std::optional<std::array<std::int32_t, 4>> m_bounds; // twips
};

} // namespace swfwriter
