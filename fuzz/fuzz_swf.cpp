// Feeds arbitrary bytes to the SWF engine the way the player does: the support scan, then the
// loader, then a few frames of the movie with the mouse moving, pressing and releasing over
// it, every frame drawn. Scripts run inside the interpreter's limits, so every input ends.
#include "ByteReader.h"
#include "Movie.h"
#include "Player.h"
#include "Renderer.h"
#include "SupportScan.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace
{

// Walks everything a renderer is handed, so that the shapes' data is read, not just built.
class CountingRenderer final : public swf::Renderer
{
public:
    void beginFrame(const swf::Movie&) override {}
    void drawShape(const swf::Shape& shape, const swf::Matrix& matrix,
                   const swf::ColourTransform& colour) override
    {
        for (const swf::ShapeLayer& layer : shape.layers) {
            for (const swf::Contour& contour : layer.contours)
                m_points += contour.segments.size();
        }
        (void)matrix.map({0, 0});
        (void)colour.apply({});
    }
    void drawGlyph(const swf::Shape& glyph, const swf::Matrix& matrix, swf::Rgba) override
    {
        drawShape(glyph, matrix, {});
    }
    void drawDeviceText(const swf::EditText&, const std::string& text, const swf::Matrix&,
                        const swf::ColourTransform&) override
    {
        m_points += text.size();
    }
    void beginMask() override {}
    void applyMask() override {}
    void popMask() override {}

private:
    std::size_t m_points = 0;
};

class QuietHost final : public swf::PlayerHost
{
public:
    void fsCommand(const std::string&, const std::string&) override {}
    void trace(const std::string&) override {}
    void openUrl(const std::string&, const std::string&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    (void)swf::scanMovie(file);
    std::shared_ptr<const swf::Movie> movie;
    try {
        movie = swf::Movie::load(file);
    } catch (const swf::MalformedMovie&) {
        return 0;
    }
    QuietHost host;
    CountingRenderer renderer;
    swf::Player player(movie, host);
    const swf::Rect& stage = movie->stage();
    for (int frame = 0; frame < 8; ++frame) {
        player.mouseMove({stage.xMin + stage.width() * frame / 8, stage.yMin + stage.height() / 2});
        if (frame % 3 == 1)
            player.mouseDown();
        if (frame % 3 == 2)
            player.mouseUp();
        player.advance();
        player.render(renderer);
    }
    return 0;
}
