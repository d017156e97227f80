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
    SetBackgroundColor = 9,
    DoAction = 12,
    PlaceObject2 = 26,
    RemoveObject2 = 28,
    DefineShape3 = 32,
    DefineButton2 = 34,
    DefineSprite = 39,
    FrameLabel = 43,
    FileAttributes = 69,
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

} // namespace swfwriter
