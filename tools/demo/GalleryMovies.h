#pragma once

#include <filesystem>

namespace swfwriter
{
class GlyphOutline;
}

// Small movies that together use every drawing feature a SWF 8 player draws, so that two
// engines can be compared frame by frame on them: gradients, strokes, bitmaps, morphs, sprites
// and clip layers, text, buttons and a script. Each plays a few animated frames and stops on its
// last, every sprite in it as well, so that any frame can be compared at leisure.
class GalleryMovies final
{
public:
    GalleryMovies(const swfwriter::GlyphOutline& glyphs, std::filesystem::path folder);

    void writeAll() const;

private:
    void gradients() const;
    void strokes() const;
    void bitmaps() const;
    void morph() const;
    void spritesAndClips() const;
    void text() const;
    void buttons() const;
    void actions() const;

    const swfwriter::GlyphOutline& m_glyphs;
    std::filesystem::path m_folder;
};
