#pragma once

#include "Field.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace catalog
{

struct FilterOptions final {
    // `=`, `<>`, `LIKE` and `IN` between a text field and a constant ignore letter case.
    bool caseInsensitive = false;
    // A constant ending in `*` is compared literally instead of as "begins with".
    bool noPartialCompare = false;
};

enum class FilterStatus {
    Ok,
    UnterminatedString,
    UnterminatedFieldName,
    InvalidCharacter,
    IncorrectlyTerminated,
    ExpressionExpected,
    OpenParenthesisExpected,
    CloseParenthesisExpected,
    CloseParenthesisOrCommaExpected,
    InvalidUseOfKeyword,
    NullOnlyWithEquality,
    EmptyInList,
    AggregateNotAllowed,
    NotBoolean,
    TypeMismatch,
    InvalidConstant, // a constant that does not convert to its field's type
    FieldNotFound,
    TooComplex, // nesting deeper than the evaluator allows
};

class Packet;

namespace detail
{
struct FilterNode;
}

// A compiled filter: decides which records of a packet with the fields it was compiled for
// are visible. A default-constructed filter lets every record through.
class Filter final
{
public:
    Filter();
    explicit Filter(std::shared_ptr<const detail::FilterNode> root);

    // Whether the record at `row` of `packet` (which has the fields the filter was compiled for)
    // passes: the expression is true. A comparison with NULL is neither true nor false, and so
    // is its NOT.
    [[nodiscard]] bool matches(const Packet& packet, std::size_t row) const;

private:
    std::shared_ptr<const detail::FilterNode> m_root;
};

struct FilterResult final {
    FilterStatus status = FilterStatus::Ok;
    std::size_t offset = 0; // byte offset in the filter text where the fault was found
    std::string detail;     // the token, field name or constant the description names
    Filter filter;          // lets everything through unless status is Ok

    // The engine's text: "Unterminated string constant", "Field 'x' not found", ...; empty when
    // Ok. The dataset adds its name to the field error.
    [[nodiscard]] std::string description() const;
    explicit operator bool() const { return status == FilterStatus::Ok; }
};

// Parses a filter text and binds its names (matched without case) to `fields`. Never throws.
// A text of blanks only compiles to a filter that lets everything through.
[[nodiscard]] FilterResult compileFilter(std::string_view text, const std::vector<Field>& fields,
                                         const FilterOptions& options);

} // namespace catalog
