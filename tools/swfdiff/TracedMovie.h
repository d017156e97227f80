#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace swfdiff
{

// A generated movie that says what it computes: one trace per case, in order. `labels` names the
// case behind each line, so that a difference can be told by what was computed rather than by
// a line number.
struct TracedMovie {
    std::string name;
    std::vector<std::uint8_t> file;
    std::vector<std::string> labels;
    // Frames to advance past the first until its main timeline has stopped.
    int framesAfterFirst = 0;
};

} // namespace swfdiff
