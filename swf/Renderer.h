#pragma once

#include "Geometry.h"

#include <string>

namespace swf
{

class Movie;
struct EditText;
struct Shape;

// Where a player draws a frame. Matrices map twips of the thing drawn to stage twips; the
// renderer places the stage in its target. Between beginMask() and applyMask() draws add to a
// mask instead of painting; applyMask() limits what follows to it until the matching popMask().
class Renderer
{
public:
    Renderer() = default;
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;
    virtual ~Renderer() = default;

    // The frame starts: clears to the movie's background; bitmaps are looked up in `movie`.
    virtual void beginFrame(const Movie& movie) = 0;
    virtual void drawShape(const Shape& shape, const Matrix& matrix,
                           const ColourTransform& colour) = 0;
    // A glyph outline filled with one colour (already transformed).
    virtual void drawGlyph(const Shape& glyph, const Matrix& matrix, Rgba colour) = 0;
    // Text in a device font, laid out by the renderer inside the field's bounds.
    virtual void drawDeviceText(const EditText& field, const std::string& text,
                                const Matrix& matrix, const ColourTransform& colour) = 0;

    virtual void beginMask() = 0;
    virtual void applyMask() = 0;
    virtual void popMask() = 0;
};

} // namespace swf
