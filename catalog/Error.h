#pragma once

#include <stdexcept>
#include <string>

namespace catalog
{

// What a dataset operation throws. what() is the exact text the user sees, dataset name and colon
// included where the engine adds them ("cdxtb: Field 'serie' not found"); the message box adds
// the full stop.
class Error final : public std::runtime_error
{
public:
    explicit Error(const std::string& message)
        : std::runtime_error(message)
    {
    }
};

} // namespace catalog
