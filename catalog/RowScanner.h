#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace catalog
{

class RowCollector;

// Reads the ROWDATA element of a packet straight from its text, without building a document:
// nearly all of a packet is ROW elements, and the engine writes them in one plain shape. The
// scanner accepts only a shape whose reading by the XML parser it matches exactly; anything else
// (comments, nested rows, other elements, unusual references, raw control characters) makes it
// decline, and the caller reads the packet through the parser instead.
class RowScanner final
{
public:
    // Where the ROWDATA element lies in a text: the whole element and the rows between its tags.
    struct Extent final {
        std::size_t begin = 0;
        std::size_t end = 0;
        std::size_t rowsBegin = 0;
        std::size_t rowsEnd = 0;
    };

    // The first `<ROWDATA` tag and the last `</ROWDATA>` of `text`; nullopt when either is missing
    // or the tags carry anything but blanks. Says nothing about what lies between them.
    [[nodiscard]] static std::optional<Extent> locate(std::string_view text);

    // Feeds the rows of `rows` (the text between the tags) to `collector`. Values without
    // references are views into `rows`; decoded ones are stored in `decoded`. Returns false, with
    // the collector in an unspecified state, as soon as the text leaves the plain shape.
    [[nodiscard]] static bool scan(std::string_view rows, RowCollector& collector,
                                   std::deque<std::string>& decoded);
};

} // namespace catalog
