#pragma once

#include "BitWriter.h"
#include "Types.h"

#include <optional>
#include <string>

namespace swfwriter
{

// A text field (DefineEditText) showing its initial text, read-only and not selectable unless
// asked. With outlines it draws the glyphs of an embedded font; without, the player's own font
// of the given font character's name.
struct EditText {
    enum class Align { Left, Right, Centre, Justify };

    double width = 100; // the field's box, from its origin, in pixels
    double height = 20;
    std::optional<CharacterId> font;
    double fontHeight = 12; // pixels
    Rgba colour;
    std::string text; // UTF-8
    std::string variable;
    Align align = Align::Left;
    double leading = 0; // pixels between lines
    bool useOutlines = false;
    bool readOnly = true;
    bool selectable = false;
    bool multiline = false;
    bool wordWrap = false;
    bool border = false;

    // The tag body after the character id.
    void write(BitWriter& out) const;
};

} // namespace swfwriter
