#pragma once

#include "BitWriter.h"
#include "Types.h"

#include <cstdint>
#include <vector>

namespace swfwriter
{

enum class TagCode : std::uint16_t {
    End = 0,
    ShowFrame = 1,
    DefineShape = 2,
    DefineBits = 6,
    JpegTables = 8,
    SetBackgroundColor = 9,
    DefineText = 11,
    DoAction = 12,
    DefineSound = 14,
    StartSound = 15,
    DefineBitsLossless = 20,
    DefineBitsJpeg2 = 21,
    PlaceObject2 = 26,
    RemoveObject2 = 28,
    DefineShape3 = 32,
    DefineText2 = 33,
    DefineButton2 = 34,
    DefineBitsJpeg3 = 35,
    DefineBitsLossless2 = 36,
    DefineEditText = 37,
    DefineSprite = 39,
    FrameLabel = 43,
    DefineMorphShape = 46,
    DefineFont2 = 48,
    FileAttributes = 69,
    DefineShape4 = 83,
    DefineMorphShape2 = 84,
};

// Pixels to twips, the unit of every SWF coordinate.
[[nodiscard]] std::int32_t twips(double pixels);

// A tag: short header for bodies under 63 bytes, long header otherwise.
void writeTag(BitWriter& out, TagCode code, const std::vector<std::uint8_t>& body);

// Bounds in twips.
void writeRect(BitWriter& out, std::int32_t xMin, std::int32_t xMax, std::int32_t yMin,
               std::int32_t yMax);
void writeMatrix(BitWriter& out, const Matrix& matrix);
// The CXFORMWITHALPHA record.
void writeColorTransform(BitWriter& out, const ColorTransform& transform);
void writeRgb(BitWriter& out, Rgba colour);
void writeRgba(BitWriter& out, Rgba colour);

// The data compressed with zlib, as compressed movies and lossless bitmaps store it.
[[nodiscard]] std::vector<std::uint8_t> deflated(const std::vector<std::uint8_t>& data);

} // namespace swfwriter
