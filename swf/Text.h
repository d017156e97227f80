#pragma once

#include "ByteReader.h"
#include "Geometry.h"
#include "Shape.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace swf
{

// An embedded font: glyph outlines and, when the file gives them, codes and metrics.
struct Font {
    std::string name;
    bool bold = false;
    bool italic = false;
    // Glyph outlines are drawn in an em square of this many units (1024, or 20480 for
    // DefineFont3), so a glyph at text height h is scaled by h / emSize.
    double emSize = 1024;
    std::vector<Shape> glyphs;
    std::vector<std::uint16_t> codes; // character code of each glyph (UCS-2 or the file's)
    std::vector<double> advances;     // in em units, when the font has layout
    double ascent = 0;
    double descent = 0;
    double leading = 0;

    // The glyph index for a character code, if the font has it.
    [[nodiscard]] std::optional<std::size_t> glyphFor(std::uint16_t code) const;
};

// One run of a static text: glyphs of one font, height and colour from a starting point.
struct GlyphRun {
    std::uint16_t font = 0;
    double height = 0; // twips
    Rgba colour;
    Point origin; // baseline start, twips, in the text's space
    struct Glyph {
        std::uint32_t index = 0;
        double advance = 0; // twips to the next glyph
    };
    std::vector<Glyph> glyphs;
};

// DefineText and DefineText2.
struct StaticText {
    Rect bounds;
    Matrix matrix; // from text space into the character's space
    std::vector<GlyphRun> runs;
};

// DefineEditText: a text field. Only what drawing its text needs is kept.
struct EditText {
    enum class Align { Left, Right, Centre, Justify };

    Rect bounds;
    std::optional<std::uint16_t> font; // embedded font character id
    std::string fontClass;
    double height = 240; // twips
    Rgba colour{0, 0, 0, 255};
    Align align = Align::Left;
    double leftMargin = 0;
    double rightMargin = 0;
    double indent = 0;
    double leading = 0;
    std::string variableName;
    std::string initialText; // UTF-8 (the movie's text as written for SWF 6 and later)
    bool wordWrap = false;
    bool multiline = false;
    bool password = false;
    bool readOnly = false;
    bool border = false;
    bool html = false;
    bool useOutlines = false; // draw with the embedded font's glyphs, not a device font
    bool noSelect = false;
    bool autoSize = false;
};

// The tag codes these read.
enum class TextTag : std::uint16_t {
    DefineFont = 10,
    DefineFont2 = 48,
    DefineFont3 = 75,
    DefineFontInfo = 13,
    DefineFontInfo2 = 62,
    DefineText = 11,
    DefineText2 = 33,
    DefineEditText = 37,
};

// Each reads the tag's body after its character id (font id for DefineFontInfo, which adds
// codes and names to `font`). They throw MalformedMovie on data that does not add up.
[[nodiscard]] Font readFont(TextTag tag, ByteReader& reader);
void readFontInfo(TextTag tag, ByteReader& reader, Font& font);
[[nodiscard]] StaticText readStaticText(TextTag tag, ByteReader& reader);
[[nodiscard]] EditText readEditText(ByteReader& reader);

// A glyph to draw: the font's outline `glyph` through `matrix` (em units to the character's
// twips) in `colour`.
struct PlacedGlyph {
    const Shape* glyph = nullptr;
    Matrix matrix;
    Rgba colour;
};

// Where the glyphs of a static text go, fonts looked up in `fonts` (character id to font);
// glyphs of missing fonts or indices are left out.
[[nodiscard]] std::vector<PlacedGlyph>
layOutStaticText(const StaticText& text, const std::map<std::uint16_t, const Font*>& fonts);

// Where the glyphs of an edit field's text go when it is drawn with its embedded `font`: lines
// broken at newlines ("\r", "\n" or "\r\n") and, when the field wraps, at spaces that keep a line
// inside the field; each line aligned as the field says, the first baseline one ascent below the
// top margin (2 pixels). Characters the font lacks are skipped.
[[nodiscard]] std::vector<PlacedGlyph> layOutEditText(const EditText& field, const Font& font,
                                                      const std::string& text);

} // namespace swf
