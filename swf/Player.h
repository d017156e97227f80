#pragma once

#include "script/ActionMachine.h"
#include "Geometry.h"
#include "Movie.h"
#include "PlayerContext.h"

#include <memory>

namespace swf
{

class ButtonObject;
class MovieClip;
class Renderer;

// Plays one movie: frames, buttons under the mouse and scripts, drawn through a Renderer. The
// host calls advance() at the movie's frame rate and render() when needsRedraw() says so.
class Player final
{
public:
    Player(std::shared_ptr<const Movie> movie, PlayerHost& host);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    [[nodiscard]] const Movie& movie() const { return *m_movie; }

    // One frame passes: timelines step, then their scripts run.
    void advance();
    void render(Renderer& renderer) const;
    // Whether anything drawn changed since the last render().
    [[nodiscard]] bool needsRedraw() const { return m_context.dirty; }

    // The mouse, in stage twips.
    void mouseMove(Point point);
    void mouseDown();
    void mouseUp();
    void mouseLeave();
    // Whether the mouse is over a button (the host shows a hand then).
    [[nodiscard]] bool overButton() const { return !m_hovered.expired(); }

private:
    void hover(const std::shared_ptr<ButtonObject>& button);
    void runScripts();

    std::shared_ptr<const Movie> m_movie;
    mutable PlayerContext m_context;
    ActionMachine m_machine;
    std::shared_ptr<MovieClip> m_root;
    std::weak_ptr<ButtonObject> m_hovered;
    std::weak_ptr<ButtonObject> m_pressed;
    std::optional<Point> m_mouse;
};

} // namespace swf
