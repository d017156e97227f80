#pragma once

#include "TracedMovie.h"

#include <vector>

namespace swfdiff
{

// Movies whose traces show the order in which clips' frame scripts run (clips placed, frames
// advanced, a sprite looping, the main timeline going back and a clip removed) and how names
// and paths reach variables (slash and dot syntax, _root and _parent, tellTarget to a clip that
// is missing or gone). Their lines are not labelled case by case: they are read by line number.
[[nodiscard]] std::vector<TracedMovie> timelineMovies();

} // namespace swfdiff
