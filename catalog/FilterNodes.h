#pragma once

#include "Field.h"
#include "FilterValue.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace catalog
{

class Packet;

// The nodes of a compiled filter expression: the parser builds them, each evaluates itself on
// one record.
namespace detail
{

struct FilterNode {
    FilterNode() = default;
    FilterNode(const FilterNode&) = delete;
    FilterNode& operator=(const FilterNode&) = delete;
    virtual ~FilterNode() = default;

    [[nodiscard]] virtual Value eval(const Packet& packet, std::size_t row) const = 0;

    // For boolean nodes: 1 true, 0 false, -1 unknown. Conditions override it so that a filter
    // tests a record without building values.
    [[nodiscard]] virtual int truth(const Packet& packet, std::size_t row) const
    {
        const Value v = eval(packet, row);
        return v.type == ValueType::Boolean ? static_cast<int>(v.boolean) : -1;
    }

    ValueType type = ValueType::Null;
    int depth = 1;
};

using NodePtr = std::unique_ptr<FilterNode>;

class ConstantNode final : public FilterNode
{
public:
    ConstantNode(Value value, std::string source)
        : m_value(std::move(value))
        , m_source(std::move(source))
    {
        type = m_value.type;
    }
    Value eval(const Packet&, std::size_t) const override { return m_value; }

    const Value& value() const { return m_value; }
    Value& value() { return m_value; }
    const std::string& source() const { return m_source; }
    void retype() { type = m_value.type; }

private:
    Value m_value;
    std::string m_source;
};

class FieldNode final : public FilterNode
{
public:
    FieldNode(std::size_t index, FieldType fieldType)
        : m_index(index)
        , m_fieldType(fieldType)
    {
        type = valueTypeOf(fieldType);
    }
    [[nodiscard]] Value eval(const Packet& packet, std::size_t row) const override;
    std::size_t index() const { return m_index; }
    FieldType fieldType() const { return m_fieldType; }

private:
    std::size_t m_index;
    FieldType m_fieldType;
};

// field = 'text', field <> 'text' and field LIKE 'text' on a text field: the comparisons the
// program's own filters are made of, evaluated on the stored text without copying it.
class FieldTextNode final : public FilterNode
{
public:
    FieldTextNode(std::size_t index, Op op, std::string constant, bool partial, bool ignoreCase)
        : m_index(index)
        , m_op(op)
        , m_constant(std::move(constant))
        , m_partial(partial)
        , m_ignoreCase(ignoreCase)
    {
        type = ValueType::Boolean;
        if (m_partial) {
            m_constant.pop_back();
            if (m_op == Op::Like)
                m_constant += '%';
        }
    }
    [[nodiscard]] Value eval(const Packet& packet, std::size_t row) const override;
    [[nodiscard]] int truth(const Packet& packet, std::size_t row) const override;

private:
    std::size_t m_index;
    Op m_op;
    std::string m_constant;
    bool m_partial;
    bool m_ignoreCase;
};

class CompareNode final : public FilterNode
{
public:
    CompareNode(Op op, NodePtr left, NodePtr right)
        : m_op(op)
        , m_left(std::move(left))
        , m_right(std::move(right))
    {
        type = ValueType::Boolean;
    }
    [[nodiscard]] Value eval(const Packet& packet, std::size_t row) const override;

private:
    Op m_op;
    NodePtr m_left;
    NodePtr m_right;
};

class InNode final : public FilterNode
{
public:
    InNode(NodePtr left, std::vector<NodePtr> items, std::vector<bool> ignoreCase)
        : m_left(std::move(left))
        , m_items(std::move(items))
        , m_ignoreCase(std::move(ignoreCase))
    {
        type = ValueType::Boolean;
    }
    [[nodiscard]] Value eval(const Packet& packet, std::size_t row) const override;

private:
    NodePtr m_left;
    std::vector<NodePtr> m_items;
    std::vector<bool> m_ignoreCase;
};

class NullTestNode final : public FilterNode
{
public:
    NullTestNode(NodePtr operand, bool wantNull)
        : m_operand(std::move(operand))
        , m_wantNull(wantNull)
    {
        type = ValueType::Boolean;
    }
    [[nodiscard]] Value eval(const Packet& packet, std::size_t row) const override;

private:
    NodePtr m_operand;
    bool m_wantNull;
};

// AND and OR with three-valued logic: an unknown operand decides nothing on its own.
class LogicNode final : public FilterNode
{
public:
    LogicNode(bool isAnd, NodePtr left, NodePtr right)
        : m_isAnd(isAnd)
        , m_left(std::move(left))
        , m_right(std::move(right))
    {
        type = ValueType::Boolean;
    }
    [[nodiscard]] Value eval(const Packet& packet, std::size_t row) const override;
    [[nodiscard]] int truth(const Packet& packet, std::size_t row) const override;

private:
    bool m_isAnd;
    NodePtr m_left;
    NodePtr m_right;
};

class NotNode final : public FilterNode
{
public:
    explicit NotNode(NodePtr operand)
        : m_operand(std::move(operand))
    {
        type = ValueType::Boolean;
    }
    [[nodiscard]] Value eval(const Packet& packet, std::size_t row) const override;
    [[nodiscard]] int truth(const Packet& packet, std::size_t row) const override;

private:
    NodePtr m_operand;
};

class ArithmeticNode final : public FilterNode
{
public:
    ArithmeticNode(Op op, ValueType resultType, NodePtr left, NodePtr right)
        : m_op(op)
        , m_left(std::move(left))
        , m_right(std::move(right))
    {
        type = resultType;
    }
    [[nodiscard]] Value eval(const Packet& packet, std::size_t row) const override;

private:
    Op m_op;
    NodePtr m_left;
    NodePtr m_right;
};

class NegateNode final : public FilterNode
{
public:
    explicit NegateNode(NodePtr operand)
        : m_operand(std::move(operand))
    {
        type = m_operand->type;
    }
    [[nodiscard]] Value eval(const Packet& packet, std::size_t row) const override;

private:
    NodePtr m_operand;
};

enum class Function {
    Upper,
    Lower,
    Trim,
    TrimLeft,
    TrimRight,
    Substring,
    Year,
    Month,
    Day,
    Hour,
    Minute,
    Second,
    Date,
    Time,
    GetDate
};

class FunctionNode final : public FilterNode
{
public:
    FunctionNode(Function function, ValueType resultType, std::vector<NodePtr> args)
        : m_function(function)
        , m_args(std::move(args))
    {
        type = resultType;
    }
    [[nodiscard]] Value eval(const Packet& packet, std::size_t row) const override;

private:
    Function m_function;
    std::vector<NodePtr> m_args;
};

} // namespace detail

} // namespace catalog
