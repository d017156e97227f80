#pragma once

#include "TracedMovie.h"

#include <cstdint>

namespace swfdiff
{

// A movie of `programs` random short programs, all from `seed`, in the SWF version (5 to 8) the
// seed picks: operands of every kind pushed, operations of the value table applied, values
// duplicated, swapped, kept in variables and registers, branched on, and traced as they go.
// Each line's label holds the seed, the program and the steps that led to it, so that a
// difference can be replayed from the label alone.
[[nodiscard]] TracedMovie fuzzMovie(std::uint32_t seed, int programs);

} // namespace swfdiff
