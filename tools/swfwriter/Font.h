#pragma once

#include "BitWriter.h"
#include "Shape.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace swfwriter
{

// A font for text characters: glyph outlines with their character codes and advances, or, with
// no glyphs, a device font the player looks up by name ("_sans", "_serif", "_typewriter").
// Glyphs live in an em square of 1024 units; an outline is drawn in pixels scaled so that one
// twip is one unit (emPixels to the em), baseline at y = 0, y growing downwards.
class Font final
{
public:
    static constexpr int emUnits = 1024;
    static constexpr double emPixels = emUnits / 20.0;

    explicit Font(std::string name);

    // Codes are UTF-16 units; throws std::invalid_argument for a code added twice.
    void addGlyph(char16_t code, Shape outline, double advance);
    // Ascent and descent below and above the baseline, and the gap between lines, in em units.
    void setMetrics(double ascent, double descent, double leading);

    [[nodiscard]] bool device() const { return m_glyphs.empty(); }
    [[nodiscard]] std::optional<std::size_t> glyphIndex(char16_t code) const;
    // In em units.
    [[nodiscard]] double advance(std::size_t glyph) const;
    [[nodiscard]] double ascent() const { return m_ascent; }
    [[nodiscard]] double descent() const { return m_descent; }

    // The DefineFont2 body after the font id: glyphs sorted by code, wide codes, layout.
    void write(BitWriter& out) const;

private:
    struct Glyph {
        char16_t code;
        Shape outline;
        double advance;
    };

    std::string m_name;
    std::vector<Glyph> m_glyphs; // sorted by code
    double m_ascent = 0;
    double m_descent = 0;
    double m_leading = 0;
};

} // namespace swfwriter
