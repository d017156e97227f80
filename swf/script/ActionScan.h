#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace swf
{

struct ActionScan {
    // The first thing in the block that the engine would not do as the reference player does:
    // an action it lacks, a name of the player's built-in objects and functions, a property it
    // does not keep, a branch out of the block, or a load.
    std::optional<std::string> problem;
    // Whether the block may read a clip's name or path (this, _parent, _name, _target, relative
    // slash paths, targetPath), which for an unnamed clip the player makes up and the engine
    // does not.
    bool namesClips = false;
};

// For a movie of `version`. Throws MalformedMovie on a record cut short.
[[nodiscard]] ActionScan scanActions(std::span<const std::uint8_t> code, int version);

} // namespace swf
