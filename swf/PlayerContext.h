#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace swf
{

class Movie;
class MovieClip;

// What the program hosting a player hears from its movie.
class PlayerHost
{
public:
    PlayerHost() = default;
    PlayerHost(const PlayerHost&) = delete;
    PlayerHost& operator=(const PlayerHost&) = delete;
    virtual ~PlayerHost() = default;

    virtual void fsCommand(const std::string& command, const std::string& args) = 0;
    virtual void trace(const std::string& text) = 0;
    // Any other getURL: the launcher opens no web pages, but may want to log it.
    virtual void openUrl(const std::string& url, const std::string& target) = 0;
};

// A script waiting to run at the end of a frame, on its clip (unless that is gone by then).
struct PendingScript {
    std::weak_ptr<MovieClip> target;
    std::span<const std::uint8_t> code;
};

// State every object of one player shares.
struct PlayerContext {
    // A movie may not nest sprites deeper, nor keep more objects alive at once: beyond these a
    // sprite that places itself, or a tree that doubles at every level, would never end.
    static constexpr int maximumNesting = 64;
    static constexpr std::size_t maximumObjects = 20'000;

    const Movie& movie;
    PlayerHost& host;
    int version = 0;
    std::uint64_t tick = 0;
    bool dirty = true; // something changed since the last frame was drawn
    std::vector<PendingScript> scripts;
    std::size_t liveObjects = 0;
};

} // namespace swf
