#include "EditText.h"

#include "Records.h"

#include <cmath>
#include <stdexcept>

namespace swfwriter
{

void EditText::write(BitWriter& out) const
{
    writeRect(out, 0, twips(width), 0, twips(height));
    out.ubits(1, text.empty() ? 0 : 1);
    out.ubits(1, wordWrap ? 1 : 0);
    out.ubits(1, multiline ? 1 : 0);
    out.ubits(1, 0); // not a password
    out.ubits(1, readOnly ? 1 : 0);
    out.ubits(1, 1); // has a colour
    out.ubits(1, 0); // no maximum length
    out.ubits(1, font ? 1 : 0);
    out.ubits(1, 0); // no font class
    out.ubits(1, 0); // no automatic size
    out.ubits(1, 1); // has layout
    out.ubits(1, selectable ? 0 : 1);
    out.ubits(1, border ? 1 : 0);
    out.ubits(1, 0); // not converted from static text
    out.ubits(1, 0); // plain text, not HTML
    out.ubits(1, useOutlines ? 1 : 0);
    if (font) {
        const std::int32_t size = twips(fontHeight);
        if (size <= 0 || size > 0xffff)
            throw std::out_of_range("font height out of range");
        out.u16(*font);
        out.u16(static_cast<std::uint16_t>(size));
    }
    writeRgba(out, colour);
    out.u8(static_cast<std::uint8_t>(align));
    out.u16(0); // left margin
    out.u16(0); // right margin
    out.u16(0); // indent
    out.u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(twips(leading))));
    out.string(variable);
    if (!text.empty())
        out.string(text);
}

} // namespace swfwriter
