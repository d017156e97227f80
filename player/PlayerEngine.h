#pragma once

#include <QString>

#include <functional>

class QRect;

namespace player
{

// What an engine reports to its player. Every call arrives on the user-interface thread from
// the event loop, never from inside a call into the engine, so a handler may destroy the
// engine.
struct EngineEvents {
    std::function<void(const QString& command, const QString& args)> command;
    // The movie being played turned out to be unplayable (corrupt, or refused by the engine).
    std::function<void()> cannotPlay;
    // The movie being played has drawn its first frame.
    std::function<void()> firstFrame;
};

// The engine behind one player: it exists only while the player holds a playable movie, and
// draws into a child widget of the player.
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

    // Where the engine draws, in the player's coordinates.
    virtual void setGeometry(const QRect& rect) = 0;
};

} // namespace player
