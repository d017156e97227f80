#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace player
{

// What an engine reports to its player. Every call arrives on the user-interface thread, and
// none from inside a call into the engine, except `entered`, which comes from the mouse press
// that moved the focus; a handler may destroy the engine.
struct EngineEvents {
    std::function<void(const QString& command, const QString& args)> command;
    // The movie being played turned out to be unplayable (corrupt, or refused by the engine).
    std::function<void()> cannotPlay;
    // The movie being played has drawn its first frame.
    std::function<void()> firstFrame;
    // A click moved the focus onto this player from another player drawn by the same view, so
    // the focus widget itself did not change.
    std::function<void()> entered;
};

// The engine behind one player: it exists only while the player holds a playable movie, and
// draws over the player's rectangle, following its geometry and visibility. Destroying an
// engine stops its movie at once but never deletes a widget at once (deleteLater): a player
// drops its movie from handlers that run inside the delivery of an input event to the engine's
// own widget, and Qt goes on using that widget once the handler returns.
class PlayerEngine
{
public:
    PlayerEngine() = default;
    PlayerEngine(const PlayerEngine&) = delete;
    PlayerEngine& operator=(const PlayerEngine&) = delete;
    virtual ~PlayerEngine() = default;

    // Starts playing `movieFile` (an existing file with a SWF signature) in place of what was
    // shown. Returns false, showing nothing, when this engine may not read that file.
    [[nodiscard]] virtual bool play(const QString& movieFile) = 0;

    // True when the focus sitting on `widget` means this player holds it: while it does, the
    // focus is in the widget the engine draws with, not on the player.
    [[nodiscard]] virtual bool holdsFocus(const QWidget* widget) const = 0;

    // The player itself has just received the focus (by the keyboard, say): hand it on to where
    // the movie gets its keys.
    virtual void takeFocus() = 0;
};

} // namespace player
