#include "Value.h"

#include "MovieClip.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace swf
{

namespace
{

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// SWF 4 has no booleans; SWF 6 reads hexadecimal and octal strings and has Unicode; SWF 7 made
// undefined NaN and "undefined", strings true when not empty, and names case-sensitive. SWF 4
// values are not pinned: no reference output here covers them, and Ruffle's rules for them
// (booleans printed as 1 and 0, "#ERROR#" for a division by zero, NaN read as 0, clips unreadable
// by name) differ from the engine's on most of the value table.
constexpr VersionRules swf4{0, "", true, true, true, false, false, false};
constexpr VersionRules swf5{0, "", true, false, true, false, false, true};
constexpr VersionRules swf6{0, "", true, false, true, true, true, true};
constexpr VersionRules swf7{nan, "undefined", false, false, false, true, true, true};

bool isOctal(std::string_view digits)
{
    return digits.size() > 1 && digits[0] == '0'
           && digits.find_first_not_of("01234567") == std::string_view::npos;
}

// "0x" then an optionally signed hexadecimal integer, or a sign then a leading-zero octal one.
std::optional<double> radixNumber(std::string_view text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::string_view digits = text.substr(2);
        const bool negative = digits.front() == '-';
        if (digits.front() == '-' || digits.front() == '+')
            digits.remove_prefix(1);
        std::uint64_t value = 0;
        const auto read = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (digits.empty() || read.ec != std::errc() || read.ptr != digits.data() + digits.size())
            return nan;
        return negative ? -static_cast<double>(value) : static_cast<double>(value);
    }
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits =
        !text.empty() && (text.front() == '-' || text.front() == '+') ? text.substr(1) : text;
    if (!isOctal(digits))
        return std::nullopt;
    std::uint64_t value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value, 8);
    return negative ? -static_cast<double>(value) : static_cast<double>(value);
}

} // namespace

const VersionRules& rulesFor(int version)
{
    return version < 5 ? swf4 : version < 6 ? swf5 : version < 7 ? swf6 : swf7;
}

std::shared_ptr<MovieClip> Value::clip() const
{
    const auto* const clip = std::get_if<std::weak_ptr<MovieClip>>(&m_value);
    return clip ? clip->lock() : nullptr;
}

double Value::toNumber(int version) const
{
    return std::visit(
        [version](const auto& value) -> double {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, Undefined> || std::is_same_v<T, Null>)
                return rulesFor(version).undefinedAsNumber;
            else if constexpr (std::is_same_v<T, bool>)
                return value ? 1 : 0;
            else if constexpr (std::is_same_v<T, double>)
                return value;
            else if constexpr (std::is_same_v<T, std::string>)
                return parseNumber(value, version);
            else
                return nan;
        },
        m_value);
}

std::string Value::toString(int version) const
{
    return std::visit(
        [version](const auto& value) -> std::string {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, Undefined>)
                return rulesFor(version).undefinedAsString;
            else if constexpr (std::is_same_v<T, Null>)
                return "null";
            else if constexpr (std::is_same_v<T, bool>)
                return value ? "true" : "false";
            else if constexpr (std::is_same_v<T, double>)
                return formatNumber(value);
            else if constexpr (std::is_same_v<T, std::string>)
                return value;
            else {
                const auto clip = value.lock();
                return clip ? clip->targetPath() : "";
            }
        },
        m_value);
}

bool Value::toBoolean(int version) const
{
    if (const auto* number = std::get_if<double>(&m_value))
        return *number != 0 && !std::isnan(*number);
    if (const auto* boolean = std::get_if<bool>(&m_value))
        return *boolean;
    if (const auto* text = std::get_if<std::string>(&m_value)) {
        if (!rulesFor(version).stringTruthByNumber)
            return !text->empty();
        const double number = parseNumber(*text, version);
        return number != 0 && !std::isnan(number);
    }
    return clip() != nullptr;
}

std::string Value::typeOf() const
{
    if (isUndefined())
        return "undefined";
    if (isNull())
        return "null";
    if (isBoolean())
        return "boolean";
    if (isNumber())
        return "number";
    if (isString())
        return "string";
    return "movieclip";
}

bool Value::looselyEquals(const Value& other, int version) const
{
    const bool nullish = isUndefined() || isNull();
    const bool otherNullish = other.isUndefined() || other.isNull();
    if (nullish || otherNullish)
        return nullish && otherNullish;
    if (m_value.index() == other.m_value.index())
        return strictlyEquals(other);
    if (clip() || other.clip())
        return false;
    const double a = toNumber(version);
    const double b = other.toNumber(version);
    return a == b;
}

bool Value::strictlyEquals(const Value& other) const
{
    if (m_value.index() != other.m_value.index())
        return false;
    if (const auto* clip = std::get_if<std::weak_ptr<MovieClip>>(&m_value))
        return clip->lock() == other.clip();
    if (const auto* number = std::get_if<double>(&m_value)) {
        // The reference player holds NaN equal to itself.
        const double otherNumber = std::get<double>(other.m_value);
        return *number == otherNumber || (std::isnan(*number) && std::isnan(otherNumber));
    }
    if (const auto* boolean = std::get_if<bool>(&m_value))
        return *boolean == std::get<bool>(other.m_value);
    if (const auto* text = std::get_if<std::string>(&m_value))
        return *text == std::get<std::string>(other.m_value);
    return true; // undefined or null, like the other
}

std::string formatNumber(double number)
{
    if (std::isnan(number))
        return "NaN";
    if (std::isinf(number))
        return number > 0 ? "Infinity" : "-Infinity";
    if (number == 0)
        return "0";
    // to_chars, unlike printf, ignores the locale the program runs in.
    char text[32];
    const auto end =
        std::to_chars(text, text + sizeof text, number, std::chars_format::general, 15);
    return std::string(text, end.ptr);
}

double parseNumber(const std::string& text, int version)
{
    // Radix prefixes count only at the very start: "   017" is seventeen.
    if (rulesFor(version).radixPrefixes) {
        if (const auto number = radixNumber(text))
            return *number;
    }
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return nan;
    const char* const end = text.data() + text.size();
    // from_chars ignores the locale; it also reads "inf" and "nan", which ActionScript does not.
    if (text.find_first_of("iInN", first) != std::string::npos)
        return nan;
    const char* const start = text[first] == '+' ? text.data() + first + 1 : text.data() + first;
    double value = 0;
    const auto read = std::from_chars(start, end, value, std::chars_format::general);
    return read.ec == std::errc() && read.ptr == end ? value : nan;
}

} // namespace swf
