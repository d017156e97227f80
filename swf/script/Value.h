#pragma once

#include <memory>
#include <string>
#include <variant>

namespace swf
{

class MovieClip;

struct Undefined {
    friend bool operator==(Undefined, Undefined) = default;
};
struct Null {
    friend bool operator==(Null, Null) = default;
};

// How a movie's SWF version changes the meaning of values: one row per era, in Value.cpp, so the
// rules that differ between versions live in one place.
struct VersionRules {
    double undefinedAsNumber; // and null
    const char* undefinedAsString;
    bool stringTruthByNumber; // a string is true when it reads as a non-zero number
    bool booleansAsNumbers;   // comparisons give 1 and 0, as there are no booleans yet
    bool namesIgnoreCase;
    bool radixPrefixes; // strings read "0x1A" as hexadecimal and "017" as octal
    // Characters are 16-bit codes; before, a character made from a code is one byte of it.
    bool unicodeStrings;
    // Whether the engine's values are known to follow the reference player here; where not, the
    // scan sends any script that computes a value elsewhere.
    bool valuesPinned;
};
[[nodiscard]] const VersionRules& rulesFor(int version);

// A script value: the primitive types, and a reference to a movie clip (which may be gone).
class Value final
{
public:
    Value() = default;
    Value(Null)
        : m_value(Null{})
    {
    }
    Value(bool value)
        : m_value(value)
    {
    }
    Value(double value)
        : m_value(value)
    {
    }
    Value(std::string value)
        : m_value(std::move(value))
    {
    }
    Value(const char* value)
        : m_value(std::string(value))
    {
    }
    explicit Value(const std::shared_ptr<MovieClip>& clip)
        : m_value(std::weak_ptr(clip))
    {
    }

    [[nodiscard]] bool isUndefined() const { return std::holds_alternative<Undefined>(m_value); }
    [[nodiscard]] bool isNull() const { return std::holds_alternative<Null>(m_value); }
    [[nodiscard]] bool isString() const { return std::holds_alternative<std::string>(m_value); }
    [[nodiscard]] bool isNumber() const { return std::holds_alternative<double>(m_value); }
    [[nodiscard]] bool isBoolean() const { return std::holds_alternative<bool>(m_value); }
    [[nodiscard]] std::shared_ptr<MovieClip> clip() const;

    // Conversions as ActionScript makes them; `version` is the movie's, since SWF 7 changed
    // how undefined reads and how strings count as true.
    [[nodiscard]] double toNumber(int version) const;
    [[nodiscard]] std::string toString(int version) const;
    [[nodiscard]] bool toBoolean(int version) const;
    [[nodiscard]] std::string typeOf() const;

    // ==, the loose equality of ActionScript 2.
    [[nodiscard]] bool looselyEquals(const Value& other, int version) const;
    // ===.
    [[nodiscard]] bool strictlyEquals(const Value& other) const;

private:
    std::variant<Undefined, Null, bool, double, std::string, std::weak_ptr<MovieClip>> m_value;
};

// How ActionScript prints a number: integers without a decimal point, others with up to 15
// significant digits, and NaN, Infinity, -Infinity.
[[nodiscard]] std::string formatNumber(double number);
// A number from text as ActionScript reads it in a movie of `version`: decimal with optional
// exponent after leading white space; from SWF 6, "0x" hex and leading-zero octal as well.
// Anything else, trailing white space included, is NaN.
[[nodiscard]] double parseNumber(const std::string& text, int version);

} // namespace swf
