#pragma once

#include "BitWriter.h"
#include "Shape.h"

namespace swfwriter
{

// A shape that blends between two outlines by the ratio it is placed with (0 shows the start,
// 65535 the end). Both outlines are drawn with the same calls: the same styles in the same
// order, and the same moves and edges; only coordinates and colours differ.
class MorphShape final
{
public:
    // Throws std::invalid_argument when the two do not pair up style for style and edge for
    // edge, or use a focal gradient (which morphs cannot hold).
    MorphShape(Shape start, Shape end);

    // 1 (DefineMorphShape) or 2 (DefineMorphShape2, for the newer line styles).
    [[nodiscard]] int tagVersion() const;
    // The tag body after the character id.
    void write(BitWriter& out) const;

private:
    void writeFill(BitWriter& out, const Fill& start, const Fill& end) const;

    Shape m_start;
    Shape m_end;
};

} // namespace swfwriter
