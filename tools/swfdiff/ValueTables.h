#pragma once

#include "TracedMovie.h"
#include "swfwriter/Actions.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace swfdiff
{

// One kind of value an operation may meet. A clip has no literal: it is read by its name.
struct Operand {
    std::string_view name;
    swfwriter::Actions::Value literal;
    bool clip = false;
};

// An action that takes values from the stack and leaves one result.
struct Operation {
    std::string_view name;
    std::uint8_t code;
    int operands;             // 1 to 3
    bool unicodeOnly = false; // refused by the scan before SWF 6
};

[[nodiscard]] std::span<const Operand> operands();
[[nodiscard]] std::span<const Operation> operations();

// Every operation on every operand (every ordered pair for two), in a movie of `version`, except
// those the scan refuses in that version; each
// line is the result's type and its text. Trace itself is a row of its own: the value as printed.
[[nodiscard]] TracedMovie valueTable(std::uint8_t version);

// Writes the operand's value onto the stack.
void pushOperand(swfwriter::Actions& actions, const Operand& operand);
// Replaces the value on top with "type text", so that 1 and "1" or false and 0 read apart.
void describeTop(swfwriter::Actions& actions);
// A movie of one frame that runs `actions` (which end by stopping it) on a main timeline holding
// an empty clip named "box", the clip operand.
[[nodiscard]] std::vector<std::uint8_t> scriptMovie(std::uint8_t version,
                                                    const swfwriter::Actions& actions);

} // namespace swfdiff
