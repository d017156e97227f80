#include "Filter.h"

#include "FilterNodes.h"
#include "FilterParser.h"
#include "Messages.h"

#include <algorithm>

namespace catalog
{

Filter::Filter() = default;

Filter::Filter(std::shared_ptr<const detail::FilterNode> root)
    : m_root(std::move(root))
{
}

bool Filter::matches(const Packet& packet, std::size_t row) const
{
    if (!m_root)
        return true;
    return m_root->truth(packet, row) == 1;
}

std::string FilterResult::description() const
{
    switch (status) {
    case FilterStatus::Ok:
        return {};
    case FilterStatus::UnterminatedString:
        return "Unterminated string constant";
    case FilterStatus::UnterminatedFieldName:
        return "Unterminated field name";
    case FilterStatus::InvalidCharacter:
        return "Invalid filter expression character: '" + detail + "'";
    case FilterStatus::IncorrectlyTerminated:
        return "Filter expression incorrectly terminated";
    case FilterStatus::ExpressionExpected:
        return "Expression expected but " + detail + " found";
    case FilterStatus::OpenParenthesisExpected:
        return "'(' expected but " + detail + " found";
    case FilterStatus::CloseParenthesisExpected:
        return "')' expected but " + detail + " found";
    case FilterStatus::CloseParenthesisOrCommaExpected:
        return "')' or ',' expected but " + detail + " found";
    case FilterStatus::InvalidUseOfKeyword:
        return "Invalid use of keyword";
    case FilterStatus::NullOnlyWithEquality:
        return "NULL only allowed with '=' and '<>'";
    case FilterStatus::EmptyInList:
        return "IN predicate list may not be empty";
    case FilterStatus::AggregateNotAllowed:
        return "Aggregate expressions not allowed in filters";
    case FilterStatus::NotBoolean:
        return "Incorrectly formed filter expression";
    case FilterStatus::TypeMismatch:
        return "Type mismatch in expression";
    case FilterStatus::InvalidConstant:
        return detail;
    case FilterStatus::FieldNotFound:
        return messages::fieldNotFound(detail);
    case FilterStatus::TooComplex:
        return "Filter expression too complex";
    }
    return {};
}

FilterResult compileFilter(std::string_view text, const std::vector<Field>& fields,
                           const FilterOptions& options)
{
    // An empty filter text filters nothing out.
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) <= ' '; }))
        return {};
    return detail::parseFilter(text, fields, options);
}

} // namespace catalog
