#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace swf
{

// The first thing in one action block that the engine would not do as the reference player
// does: an action it lacks, a name of the player's built-in objects and functions, a property it
// does not keep, a branch out of the block, or a load. Throws MalformedMovie on a record cut
// short.
[[nodiscard]] std::optional<std::string> scanActions(std::span<const std::uint8_t> code);

} // namespace swf
