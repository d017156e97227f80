#include "FilterNodes.h"

#include "Conversions.h"
#include "Packet.h"
#include "Text.h"

#include <cmath>
#include <optional>

namespace catalog::detail
{

namespace
{

std::string trimText(std::string_view s, bool left, bool right, std::optional<char32_t> what)
{
    const auto trims = [&](char32_t c) { return what ? c == *what : c <= U' '; };
    std::size_t begin = 0;
    std::size_t end = s.size();
    if (left) {
        while (begin < end) {
            std::size_t pos = begin;
            if (!trims(text::next(s, pos)))
                break;
            begin = pos;
        }
    }
    if (right) {
        while (end > begin) {
            std::size_t start = end - 1;
            while (start > begin && (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80)
                --start;
            std::size_t pos = start;
            if (!trims(text::next(s, pos)) || pos != end)
                break;
            end = start;
        }
    }
    return std::string(s.substr(begin, end - begin));
}

std::int64_t clampedInteger(const Value& v)
{
    if (v.type == ValueType::Integer)
        return v.integer;
    if (!(v.number > -1e15 && v.number < 1e15))
        return v.number > 0 ? INT64_C(1000000000000000) : INT64_C(-1000000000000000);
    return static_cast<std::int64_t>(v.number);
}

std::string substring(std::string_view s, std::int64_t start, std::optional<std::int64_t> count)
{
    if (start < 1)
        start = 1;
    std::size_t pos = 0;
    for (std::int64_t i = 1; i < start && pos < s.size(); ++i)
        (void)text::next(s, pos);
    std::size_t end = pos;
    if (!count) {
        end = s.size();
    } else {
        for (std::int64_t i = 0; i < *count && end < s.size(); ++i)
            (void)text::next(s, end);
    }
    return std::string(s.substr(pos, end - pos));
}

} // namespace

Value FieldNode::eval(const Packet& packet, std::size_t row) const
{
    return cellValue(packet.cell(row, m_index), m_fieldType);
}

Value FieldTextNode::eval(const Packet& packet, std::size_t row) const
{
    const int t = truth(packet, row);
    return t < 0 ? nullValue() : booleanValue(t == 1);
}

int FieldTextNode::truth(const Packet& packet, std::size_t row) const
{
    const std::string_view cell = packet.cell(row, m_index);
    if (cell.data() == nullptr)
        return -1;
    if (m_op == Op::Like)
        return text::like(cell, m_constant, m_ignoreCase) ? 1 : 0;
    // Exact equality, what a view's own filters ask of every record, is compared right here.
    const bool same = m_partial      ? text::startsWith(cell, m_constant, m_ignoreCase)
                      : m_ignoreCase ? text::equal(cell, m_constant, true)
                                     : cell == m_constant;
    return same == (m_op == Op::Eq) ? 1 : 0;
}

Value CompareNode::eval(const Packet& packet, std::size_t row) const
{
    const Value a = m_left->eval(packet, row);
    if (a.type == ValueType::Null)
        return nullValue();
    const Value b = m_right->eval(packet, row);
    if (b.type == ValueType::Null)
        return nullValue();
    switch (m_op) {
    case Op::Eq:
        return booleanValue(valuesEqual(a, b));
    case Op::Ne:
        return booleanValue(!valuesEqual(a, b));
    case Op::Lt:
        return booleanValue(compareValues(a, b) < 0);
    case Op::Le:
        return booleanValue(compareValues(a, b) <= 0);
    case Op::Gt:
        return booleanValue(compareValues(a, b) > 0);
    case Op::Ge:
        return booleanValue(compareValues(a, b) >= 0);
    case Op::Like:
        return booleanValue(text::like(a.text, b.text, false));
    default:
        return nullValue();
    }
}

Value InNode::eval(const Packet& packet, std::size_t row) const
{
    const Value a = m_left->eval(packet, row);
    if (a.type == ValueType::Null)
        return nullValue();
    bool unknown = false;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const Value b = m_items[i]->eval(packet, row);
        if (b.type == ValueType::Null) {
            unknown = true;
            continue;
        }
        const bool same = m_ignoreCase[i] ? text::equal(a.text, b.text, true) : valuesEqual(a, b);
        if (same)
            return booleanValue(true);
    }
    return unknown ? nullValue() : booleanValue(false);
}

Value NullTestNode::eval(const Packet& packet, std::size_t row) const
{
    return booleanValue((m_operand->eval(packet, row).type == ValueType::Null) == m_wantNull);
}

Value LogicNode::eval(const Packet& packet, std::size_t row) const
{
    const int t = truth(packet, row);
    return t < 0 ? nullValue() : booleanValue(t == 1);
}

int LogicNode::truth(const Packet& packet, std::size_t row) const
{
    const int decisive = m_isAnd ? 0 : 1;
    const int a = m_left->truth(packet, row);
    if (a == decisive)
        return a;
    const int b = m_right->truth(packet, row);
    if (b == decisive)
        return b;
    return (a < 0 || b < 0) ? -1 : 1 - decisive;
}

Value NotNode::eval(const Packet& packet, std::size_t row) const
{
    const int t = truth(packet, row);
    return t < 0 ? nullValue() : booleanValue(t == 1);
}

int NotNode::truth(const Packet& packet, std::size_t row) const
{
    const int a = m_operand->truth(packet, row);
    return a < 0 ? -1 : 1 - a;
}

Value ArithmeticNode::eval(const Packet& packet, std::size_t row) const
{
    Value a = m_left->eval(packet, row);
    if (a.type == ValueType::Null)
        return a;
    const Value b = m_right->eval(packet, row);
    if (b.type == ValueType::Null)
        return b;
    if (type == ValueType::Text) {
        a.text += b.text;
        return a;
    }
    if (a.type == ValueType::Integer && b.type == ValueType::Integer && m_op != Op::Div) {
        std::int64_t r = 0;
        const bool overflow = m_op == Op::Add   ? __builtin_add_overflow(a.integer, b.integer, &r)
                              : m_op == Op::Sub ? __builtin_sub_overflow(a.integer, b.integer, &r)
                                                : __builtin_mul_overflow(a.integer, b.integer, &r);
        if (!overflow)
            return integerValue(r);
    }
    const double x = asDouble(a);
    const double y = asDouble(b);
    double r = 0;
    switch (m_op) {
    case Op::Add:
        r = x + y;
        break;
    case Op::Sub:
        r = x - y;
        break;
    case Op::Mul:
        r = x * y;
        break;
    default:
        r = x / y;
        break;
    }
    return numberValue(type == ValueType::DateTime ? ValueType::DateTime : ValueType::Float, r);
}

Value NegateNode::eval(const Packet& packet, std::size_t row) const
{
    Value a = m_operand->eval(packet, row);
    if (a.type == ValueType::Integer && a.integer != INT64_MIN)
        a.integer = -a.integer;
    else if (a.type == ValueType::Integer)
        a = numberValue(ValueType::Float, -static_cast<double>(a.integer));
    else
        a.number = -a.number;
    return a;
}

Value FunctionNode::eval(const Packet& packet, std::size_t row) const
{
    if (m_function == Function::GetDate)
        return numberValue(ValueType::DateTime, conversions::now());
    std::vector<Value> args;
    args.reserve(m_args.size());
    for (const auto& arg : m_args) {
        args.push_back(arg->eval(packet, row));
        if (args.back().type == ValueType::Null)
            return nullValue();
    }
    const Value& a = args.front();
    switch (m_function) {
    case Function::Upper:
        return textValue(ValueType::Text, text::toUpper(a.text));
    case Function::Lower:
        return textValue(ValueType::Text, text::toLower(a.text));
    case Function::Trim:
    case Function::TrimLeft:
    case Function::TrimRight: {
        std::optional<char32_t> what;
        if (args.size() > 1 && !args[1].text.empty()) {
            std::size_t pos = 0;
            what = text::next(args[1].text, pos);
        }
        return textValue(ValueType::Text, trimText(a.text, m_function != Function::TrimRight,
                                                   m_function != Function::TrimLeft, what));
    }
    case Function::Substring:
        return textValue(
            ValueType::Text,
            substring(a.text, clampedInteger(args[1]),
                      args.size() > 2 ? std::optional(clampedInteger(args[2])) : std::nullopt));
    case Function::Date:
        return numberValue(ValueType::DateTime, std::floor(a.number));
    case Function::Time:
        return numberValue(ValueType::DateTime, a.number - std::floor(a.number));
    default:
        break;
    }
    const auto civil = conversions::decodeDateTime(a.number);
    switch (m_function) {
    case Function::Year:
        return integerValue(civil.year);
    case Function::Month:
        return integerValue(civil.month);
    case Function::Day:
        return integerValue(civil.day);
    case Function::Hour:
        return integerValue(civil.hour);
    case Function::Minute:
        return integerValue(civil.minute);
    default:
        return integerValue(civil.second);
    }
}

} // namespace catalog::detail
