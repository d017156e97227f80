#pragma once

#include "ByteReader.h"
#include "Shape.h"

namespace swf
{

// DefineMorphShape and DefineMorphShape2: a shape given at its start and its end, drawn at any
// ratio between them.
struct MorphShape {
    Rect startBounds;
    Rect endBounds;
    ShapeOutline start;           // styles at the start, and the edges with every style change
    Styles endStyles;             // the same styles at the end
    std::vector<ShapeRecord> end; // the end's edges: moves and edges only

    // The shape at `ratio` (0 = start, 1 = end).
    [[nodiscard]] Shape at(double ratio) const;
};

// Reads the tag body after the character id; `version` is 1 or 2.
[[nodiscard]] MorphShape readMorphShape(ByteReader& reader, int version);

} // namespace swf
