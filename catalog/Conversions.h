#pragma once

#include "Field.h"

#include <cstdint>
#include <optional>
#include <string_view>

// Converting stored texts and typed-in texts to the values they stand for. Date and time values
// are day counts from 1899-12-30 with the time of day as the fraction, so that dates and times
// compare and subtract as plain numbers.
namespace catalog::conversions
{

// The platform's standard integer conversion: leading blanks, one optional sign, then decimal
// digits within signed 32 bits, or up to eight significant hexadecimal digits after "$", "x" or
// "0x" in either case, the 32-bit pattern taken as it is ("$FFFFFFFF" is -1). Nothing may follow
// the digits; an empty text fails.
[[nodiscard]] std::optional<std::int32_t> toInteger(std::string_view text);

// Stored values, in the packet's own syntax. They fail on anything else.
[[nodiscard]] std::optional<std::int64_t> storedInteger(std::string_view text);
[[nodiscard]] std::optional<double> storedFloat(std::string_view text);
[[nodiscard]] std::optional<bool> storedBoolean(std::string_view text);
[[nodiscard]] std::optional<double> storedDateTime(std::string_view text, FieldType type);

// Constants compared with date and time fields: the packet's own syntax, "yyyy-mm-dd" or
// "dd/mm/yyyy", each optionally followed by a blank or "T" and "hh:nn[:ss[.zzz]]".
[[nodiscard]] std::optional<double> dateTimeConstant(std::string_view text, FieldType type);

struct CivilTime final {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
[[nodiscard]] CivilTime decodeDateTime(double value);
[[nodiscard]] double now();

} // namespace catalog::conversions
