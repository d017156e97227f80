#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace catalog
{

class Packet;

// The rows of `packet` sorted ascending on the key fields, the first field deciding first.
// Numbers compare as numbers, dates and times chronologically, booleans false first, and texts
// with text::collate (ignoring case and the accents of Latin letters, then by code point). NULL
// and values that do not convert to their field's type come before everything else. Rows equal
// on every key keep their file order.
[[nodiscard]] std::vector<std::uint32_t> indexOrder(const Packet& packet,
                                                    const std::vector<std::size_t>& keyFields);
// The same order over only the rows `rows`, in any order, as a filtered view needs it:
// the result is `indexOrder(packet, keyFields)` without the rows left out.
[[nodiscard]] std::vector<std::uint32_t> indexOrder(const Packet& packet,
                                                    const std::vector<std::size_t>& keyFields,
                                                    std::vector<std::uint32_t> rows);

} // namespace catalog
