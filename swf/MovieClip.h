#pragma once

#include "DisplayObject.h"
#include "script/Value.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace swf
{

// A timeline playing: the main movie or a sprite instance, with its display list and variables.
class MovieClip final : public DisplayObject
{
public:
    MovieClip(PlayerContext& context, std::uint16_t character, MovieClip* parent, int nesting,
              const Timeline& timeline);

    // Enters the first frame; called once, right after the clip is made.
    void start();

    void render(Renderer& renderer, const Matrix& matrix,
                const ColourTransform& colour) const override;
    [[nodiscard]] bool hits(Point point) const override;
    [[nodiscard]] Rect bounds() const override;
    void advance() override;
    [[nodiscard]] std::shared_ptr<ButtonObject> buttonAt(Point point) override;

    [[nodiscard]] bool playing() const { return m_playing; }
    void play() { m_playing = true; }
    void stop() { m_playing = false; }
    // Frames count from 0 here; scripts count from 1.
    [[nodiscard]] std::size_t currentFrame() const { return m_frame; }
    [[nodiscard]] std::size_t frameCount() const { return m_timeline.frames.size(); }
    // Frames past the end go to the last one, as the Flash Player does.
    void gotoFrame(std::size_t frame, bool play);
    // False, changing nothing, when the clip has no such label.
    bool gotoLabel(std::string_view label, bool play);

    // The child named `name` on the display list (without case for movies before SWF 7).
    [[nodiscard]] std::shared_ptr<DisplayObject> child(std::string_view name) const;
    // "_level0", "_level0.menu.button" for scripts; "/" and "/menu/button" in slash form.
    [[nodiscard]] std::string targetPath() const;
    [[nodiscard]] std::string slashPath() const;
    [[nodiscard]] MovieClip& root();
    [[nodiscard]] std::shared_ptr<MovieClip> self();

    [[nodiscard]] Value variable(std::string_view name) const;
    void setVariable(std::string_view name, Value value);

private:
    void enterFrame(std::size_t frame, bool runScripts);
    void enterFrameScripts(std::size_t frame);
    void place(const PlaceCommand& command);
    void rewindTo(std::size_t frame);
    [[nodiscard]] std::string key(std::string_view name) const;

    const Timeline& m_timeline;
    std::size_t m_frame = 0;
    bool m_playing = true;
    std::map<std::uint16_t, std::shared_ptr<DisplayObject>> m_displayList;
    std::map<std::string, Value, std::less<>> m_variables;
};

} // namespace swf
