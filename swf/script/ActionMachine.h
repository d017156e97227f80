#pragma once

#include "PlayerContext.h"
#include "Value.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace swf
{

class DisplayObject;
class MovieClip;

// Runs ActionScript 1 and 2 bytecode on the clips of one player: the timeline control, values,
// variables and properties that menu and button movies use.
class ActionMachine final
{
public:
    // No script may run longer than this, in actions or in time; one that does is stopped
    // where it is, as the Flash Player offers to do with a script that hangs.
    static constexpr std::size_t maximumActions = 200'000;
    static constexpr std::chrono::milliseconds maximumTime{250};
    static constexpr std::size_t maximumStack = 65'536;

    explicit ActionMachine(PlayerContext& context);

    // Runs `code` with `clip` as its timeline. Returns false when the script was stopped early:
    // by the limits, or by an action the engine does not run or cannot read.
    bool run(MovieClip& clip, std::span<const std::uint8_t> code);

private:
    class Run;

    PlayerContext& m_context;
    std::chrono::steady_clock::time_point m_started;
    // Both outlive the script that made them: what one action block leaves on the stack, and
    // the constants it declared, the next block still finds, as the reference player does.
    std::vector<Value> m_stack;
    std::vector<std::string> m_constants;
};

} // namespace swf
