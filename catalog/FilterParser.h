#pragma once

#include "Field.h"
#include "Filter.h"

#include <string_view>
#include <vector>

namespace catalog::detail
{

// Parses a non-blank filter text into its expression and binds its names to `fields`: the work
// of compileFilter. Never throws.
[[nodiscard]] FilterResult parseFilter(std::string_view text, const std::vector<Field>& fields,
                                       const FilterOptions& options);

} // namespace catalog::detail
