#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace swfcompare
{

// Where a probe copy of a movie holds still. Ruffle cannot be told to show a given frame, so
// both engines play a copy whose timelines stop by themselves.
struct ProbeRequest {
    int frame = 1; // of the main timeline, from 1; past its last frame means the last
    // Every sprite stops on this frame of its own (its last when it has fewer), so that what a
    // clip shows does not depend on how long an engine has been running when it is looked at.
    int spriteFrame = 1;
    // The copy plays at least this fast (frames per second), so that Ruffle reaches the frame
    // sooner; a stopped movie shows the same whatever its rate. 0 keeps the movie's own rate.
    double minimumFrameRate = 60;
};

// The FSCommand a probe sends when its main timeline stops: the host learns that the frame has
// been reached, however fast or slow the engine runs.
inline constexpr std::string_view stopMarker = "swfcompare-stopped";

struct Probe {
    std::vector<std::uint8_t> file; // always uncompressed ("FWS")
    int frame = 1;                  // the main-timeline frame it stops on, after clamping
    int frameCount = 0;             // frames of the main timeline
    // Frames to advance from the first one until every timeline in the copy has stopped.
    int settleFrames = 0;
    // Of those, the frames after the main timeline stopped (sprites placed late still running).
    int framesAfterStop = 0;
    double frameRate = 0;
};

// The number of frames of the movie's main timeline, counted from its tags rather than taken
// from the header. Throws swf::MalformedMovie for a file that is no movie.
[[nodiscard]] int countFrames(std::span<const std::uint8_t> movie);

// Writes the copy: a stop action is inserted right before the ShowFrame that ends the chosen
// frame of the main timeline (there after the stop marker) and of each sprite, after the frame's
// own scripts, so a frame that jumps elsewhere still jumps and then stops there. Throws
// swf::MalformedMovie for a file that is no movie.
[[nodiscard]] Probe makeProbe(std::span<const std::uint8_t> movie, const ProbeRequest& request);

} // namespace swfcompare
