#pragma once

#include "ByteReader.h"
#include "Geometry.h"

namespace swf
{

// The records many tags share, each read from the reader's current position.
[[nodiscard]] Rect readRect(ByteReader& reader);
[[nodiscard]] Matrix readMatrix(ByteReader& reader);
[[nodiscard]] ColourTransform readColourTransform(ByteReader& reader, bool withAlpha);
[[nodiscard]] Rgba readRgb(ByteReader& reader);
[[nodiscard]] Rgba readRgba(ByteReader& reader);
// ARGB, as the lossless bitmaps and a few later tags store colours.
[[nodiscard]] Rgba readArgb(ByteReader& reader);

} // namespace swf
