#include "FilterParser.h"

#include "Conversions.h"
#include "FilterLexer.h"
#include "FilterNodes.h"
#include "Messages.h"
#include "Packet.h"
#include "Text.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace catalog::detail
{

namespace
{

// Nesting beyond these limits is refused so that neither parsing nor evaluation can exhaust the
// stack; no real filter comes near them.
constexpr int maxNesting = 100;
constexpr int maxDepth = 400;

struct FunctionInfo final {
    std::string_view name;
    Function function;
    std::size_t minArgs;
    std::size_t maxArgs;
};

constexpr FunctionInfo functions[] = {
    {"upper", Function::Upper, 1, 1},
    {"lower", Function::Lower, 1, 1},
    {"trim", Function::Trim, 1, 2},
    {"trimleft", Function::TrimLeft, 1, 2},
    {"trimright", Function::TrimRight, 1, 2},
    {"substring", Function::Substring, 2, 3},
    {"year", Function::Year, 1, 1},
    {"month", Function::Month, 1, 1},
    {"day", Function::Day, 1, 1},
    {"hour", Function::Hour, 1, 1},
    {"minute", Function::Minute, 1, 1},
    {"second", Function::Second, 1, 1},
    {"date", Function::Date, 1, 1},
    {"time", Function::Time, 1, 1},
    {"getdate", Function::GetDate, 0, 0},
};

constexpr std::string_view aggregates[] = {"sum", "min", "max", "avg", "count"};

class Parser final
{
public:
    Parser(std::string_view text, const std::vector<Field>& fields, const FilterOptions& options)
        : m_lexer(text)
        , m_fields(fields)
        , m_options(options)
    {
    }

    FilterResult run()
    {
        FilterResult result;
        NodePtr root;
        if (advance())
            root = parseOr();
        if (root && m_token.kind != TokenKind::End)
            fail(FilterStatus::IncorrectlyTerminated, m_token.offset);
        if (root && root->type != ValueType::Boolean && !m_failed)
            fail(FilterStatus::NotBoolean, 0);
        if (m_failed) {
            result.status = m_status;
            result.offset = m_offset;
            result.detail = m_detail;
            return result;
        }
        result.filter = Filter(std::shared_ptr<const FilterNode>(std::move(root)));
        return result;
    }

private:
    // ---- tokens

    bool advance()
    {
        if (auto error = m_lexer.next(m_token))
            return fail(error->status, error->offset, std::move(error->detail));
        return true;
    }

    char peekChar() const { return m_lexer.peekChar(); }

    // ---- failures

    bool fail(FilterStatus status, std::size_t offset, std::string detail = {})
    {
        if (!m_failed) {
            m_failed = true;
            m_status = status;
            m_offset = offset;
            m_detail = std::move(detail);
        }
        return false;
    }

    NodePtr failNode(FilterStatus status, std::size_t offset, std::string detail = {})
    {
        fail(status, offset, std::move(detail));
        return nullptr;
    }

    // The token as the messages name it: quoted, or "nothing" at the end of the text.
    std::string found() const
    {
        if (m_token.kind == TokenKind::End)
            return "nothing";
        const bool bare = m_token.kind == TokenKind::String || m_token.kind == TokenKind::Field;
        std::string text = "'";
        text += bare ? std::string_view(m_token.value) : m_token.source;
        text += '\'';
        return text;
    }

    NodePtr expected(FilterStatus status) { return failNode(status, m_token.offset, found()); }

    NodePtr checkDepth(NodePtr node)
    {
        if (node && node->depth > maxDepth)
            return failNode(FilterStatus::TooComplex, m_token.offset);
        return node;
    }

    template <typename T, typename... Args>
    NodePtr make(int depth, Args&&... args)
    {
        auto node = std::make_unique<T>(std::forward<Args>(args)...);
        node->depth = depth + 1;
        return checkDepth(std::move(node));
    }

    // ---- grammar

    NodePtr parseOr()
    {
        if (++m_nesting > maxNesting)
            return failNode(FilterStatus::TooComplex, m_token.offset);
        NodePtr left = parseAnd();
        while (left && isWord(m_token, "or")) {
            if (!advance())
                return nullptr;
            NodePtr right = parseAnd();
            if (!right)
                return nullptr;
            left = logic(false, std::move(left), std::move(right));
        }
        --m_nesting;
        return left;
    }

    NodePtr parseAnd()
    {
        NodePtr left = parseNot();
        while (left && isWord(m_token, "and")) {
            if (!advance())
                return nullptr;
            NodePtr right = parseNot();
            if (!right)
                return nullptr;
            left = logic(true, std::move(left), std::move(right));
        }
        return left;
    }

    NodePtr logic(bool isAnd, NodePtr left, NodePtr right)
    {
        if (left->type != ValueType::Boolean || right->type != ValueType::Boolean)
            return failNode(FilterStatus::TypeMismatch, m_token.offset);
        const int depth = std::max(left->depth, right->depth);
        return make<LogicNode>(depth, isAnd, std::move(left), std::move(right));
    }

    NodePtr parseNot()
    {
        if (!isWord(m_token, "not"))
            return parseRelation();
        const std::size_t offset = m_token.offset;
        if (!advance())
            return nullptr;
        NodePtr operand = parseRelation();
        if (!operand)
            return nullptr;
        if (operand->type != ValueType::Boolean)
            return failNode(FilterStatus::TypeMismatch, offset);
        const int depth = operand->depth;
        return make<NotNode>(depth, std::move(operand));
    }

    std::optional<Op> comparison() const
    {
        if (m_token.kind == TokenKind::Like)
            return Op::Like;
        if (m_token.kind != TokenKind::Operator)
            return std::nullopt;
        const std::string& v = m_token.value;
        if (v == "=")
            return Op::Eq;
        if (v == "<>")
            return Op::Ne;
        if (v == "<")
            return Op::Lt;
        if (v == "<=")
            return Op::Le;
        if (v == ">")
            return Op::Gt;
        if (v == ">=")
            return Op::Ge;
        return std::nullopt;
    }

    NodePtr parseRelation()
    {
        NodePtr left = parseAdditive();
        if (!left)
            return nullptr;
        if (m_token.kind == TokenKind::IsNull || m_token.kind == TokenKind::IsNotNull) {
            const bool wantNull = m_token.kind == TokenKind::IsNull;
            if (!advance())
                return nullptr;
            const int depth = left->depth;
            return make<NullTestNode>(depth, std::move(left), wantNull);
        }
        if (m_token.kind == TokenKind::In)
            return parseIn(std::move(left));
        const auto op = comparison();
        if (!op)
            return left;
        const std::size_t offset = m_token.offset;
        if (!advance())
            return nullptr;
        NodePtr right = parseAdditive();
        if (!right)
            return nullptr;
        return compare(*op, std::move(left), std::move(right), offset);
    }

    NodePtr parseIn(NodePtr left)
    {
        if (!advance())
            return nullptr;
        if (m_token.kind != TokenKind::Open)
            return expected(FilterStatus::OpenParenthesisExpected);
        const std::size_t open = m_token.offset;
        if (!advance())
            return nullptr;
        if (m_token.kind == TokenKind::Close)
            return failNode(FilterStatus::EmptyInList, open);
        std::vector<NodePtr> items;
        std::vector<bool> ignoreCase;
        int depth = left->depth;
        for (;;) {
            const std::size_t offset = m_token.offset;
            NodePtr item = parseOr();
            if (!item)
                return nullptr;
            if (!coerce(*left, item, offset))
                return nullptr;
            if (left->type == ValueType::Blob || !compatible(left->type, item->type))
                return failNode(FilterStatus::TypeMismatch, offset);
            const auto* field = dynamic_cast<const FieldNode*>(left.get());
            ignoreCase.push_back(m_options.caseInsensitive && field && left->type == ValueType::Text
                                 && dynamic_cast<const ConstantNode*>(item.get()));
            depth = std::max(depth, item->depth);
            items.push_back(std::move(item));
            if (m_token.kind == TokenKind::Close)
                break;
            if (m_token.kind != TokenKind::Comma)
                return expected(FilterStatus::CloseParenthesisOrCommaExpected);
            if (!advance())
                return nullptr;
        }
        if (!advance())
            return nullptr;
        return make<InNode>(depth, std::move(left), std::move(items), std::move(ignoreCase));
    }

    // Gives a constant the type of the expression it is compared with, as the engine does:
    // '12' compared with an integer field is the number 12, 12 compared with a text field the
    // text "12".
    bool coerce(const FilterNode& other, NodePtr& node, std::size_t offset)
    {
        auto* constant = dynamic_cast<ConstantNode*>(node.get());
        if (!constant || dynamic_cast<const ConstantNode*>(&other) || other.type == ValueType::Null)
            return true;
        Value& v = constant->value();
        const ValueType target = other.type;
        if (v.type == ValueType::Null || v.type == target)
            return true;
        if (isText(target)) {
            if (isNumber(v.type))
                v = textValue(ValueType::Text, constant->source());
            else if (v.type == ValueType::Boolean)
                v = textValue(ValueType::Text, v.boolean ? "True" : "False");
            constant->retype();
            return true;
        }
        if (v.type != ValueType::Text)
            return true; // numbers against numbers and dates; the type check decides the rest
        const std::string literal = v.text;
        const auto* field = dynamic_cast<const FieldNode*>(&other);
        const FieldType fieldType = field ? field->fieldType() : FieldType::DateTime;
        switch (target) {
        case ValueType::Integer:
            if (const auto i = conversions::toInteger(literal)) {
                v = integerValue(*i);
                break;
            }
            return fail(FilterStatus::InvalidConstant, offset, messages::invalidInteger(literal));
        case ValueType::Float:
            if (const auto d = conversions::storedFloat(literal)) {
                v = numberValue(ValueType::Float, *d);
                break;
            }
            return fail(FilterStatus::InvalidConstant, offset, messages::invalidFloat(literal));
        case ValueType::Boolean:
            if (const auto b = conversions::storedBoolean(literal)) {
                v = booleanValue(*b);
                break;
            }
            return fail(FilterStatus::InvalidConstant, offset, messages::invalidBoolean(literal));
        case ValueType::DateTime:
            if (const auto d = conversions::dateTimeConstant(literal, fieldType)) {
                v = numberValue(ValueType::DateTime, *d);
                break;
            }
            return fail(FilterStatus::InvalidConstant, offset,
                        fieldType == FieldType::Date   ? messages::invalidDate(literal)
                        : fieldType == FieldType::Time ? messages::invalidTime(literal)
                                                       : messages::invalidDateTime(literal));
        default:
            return true;
        }
        constant->retype();
        return true;
    }

    static Op mirrored(Op op)
    {
        switch (op) {
        case Op::Lt:
            return Op::Gt;
        case Op::Le:
            return Op::Ge;
        case Op::Gt:
            return Op::Lt;
        case Op::Ge:
            return Op::Le;
        default:
            return op;
        }
    }

    static bool isNullKeyword(const FilterNode& node)
    {
        const auto* constant = dynamic_cast<const ConstantNode*>(&node);
        return constant && constant->type == ValueType::Null;
    }

    NodePtr compare(Op op, NodePtr left, NodePtr right, std::size_t offset)
    {
        // x = NULL and x <> NULL mean IS NULL and IS NOT NULL.
        if (isNullKeyword(*left) || isNullKeyword(*right)) {
            if (op != Op::Eq && op != Op::Ne)
                return failNode(FilterStatus::NullOnlyWithEquality, offset);
            NodePtr operand = isNullKeyword(*right) ? std::move(left) : std::move(right);
            const int depth = operand->depth;
            return make<NullTestNode>(depth, std::move(operand), op == Op::Eq);
        }
        // A comparison "constant op field" is turned around to "field op' constant".
        if (dynamic_cast<const ConstantNode*>(left.get())
            && !dynamic_cast<const ConstantNode*>(right.get())) {
            std::swap(left, right);
            op = mirrored(op);
        }
        if (op == Op::Like && !isText(left->type) && left->type != ValueType::Null)
            return failNode(FilterStatus::TypeMismatch, offset);
        if (!coerce(*left, right, offset))
            return nullptr;
        if (((left->type == ValueType::Blob || right->type == ValueType::Blob) && op != Op::Like)
            || !compatible(left->type, right->type)
            || (op == Op::Like && (!isText(left->type) || !isText(right->type))))
            return failNode(FilterStatus::TypeMismatch, offset);

        const auto* field = dynamic_cast<const FieldNode*>(left.get());
        const auto* constant = dynamic_cast<const ConstantNode*>(right.get());
        const bool textField = field
                               && (field->fieldType() == FieldType::Text
                                   || (op == Op::Like && field->fieldType() == FieldType::Memo));
        if (textField && constant && constant->type == ValueType::Text
            && (op == Op::Eq || op == Op::Ne || op == Op::Like)) {
            const std::string& literal = constant->value().text;
            const bool partial =
                !m_options.noPartialCompare && literal.size() >= 2 && literal.back() == '*';
            return make<FieldTextNode>(1, field->index(), op, literal, partial,
                                       m_options.caseInsensitive);
        }
        const int depth = std::max(left->depth, right->depth);
        return make<CompareNode>(depth, op, std::move(left), std::move(right));
    }

    NodePtr parseAdditive()
    {
        return parseArithmeticLevel("+", Op::Add, "-", Op::Sub, &Parser::parseMultiplicative);
    }

    NodePtr parseMultiplicative()
    {
        return parseArithmeticLevel("*", Op::Mul, "/", Op::Div, &Parser::parseUnary);
    }

    // One left-associative level of arithmetic: operands from `operand`, joined by either of two
    // operators.
    NodePtr parseArithmeticLevel(std::string_view firstToken, Op firstOp,
                                 std::string_view secondToken, Op secondOp,
                                 NodePtr (Parser::*operand)())
    {
        NodePtr left = (this->*operand)();
        while (left && m_token.kind == TokenKind::Operator
               && (m_token.value == firstToken || m_token.value == secondToken)) {
            const Op op = m_token.value == firstToken ? firstOp : secondOp;
            const std::size_t offset = m_token.offset;
            if (!advance())
                return nullptr;
            NodePtr right = (this->*operand)();
            if (!right)
                return nullptr;
            left = arithmetic(op, std::move(left), std::move(right), offset);
        }
        return left;
    }

    NodePtr arithmetic(Op op, NodePtr left, NodePtr right, std::size_t offset)
    {
        const ValueType a = left->type;
        const ValueType b = right->type;
        ValueType result = ValueType::Null;
        if (a == ValueType::Null || b == ValueType::Null)
            result = a == ValueType::Null ? b : a;
        else if (isNumber(a) && isNumber(b))
            result = (op == Op::Div || a == ValueType::Float || b == ValueType::Float)
                         ? ValueType::Float
                         : ValueType::Integer;
        else if (op == Op::Add && a == ValueType::Text && b == ValueType::Text)
            result = ValueType::Text;
        else if (op == Op::Add
                 && ((a == ValueType::DateTime && isNumber(b))
                     || (isNumber(a) && b == ValueType::DateTime)))
            result = ValueType::DateTime;
        else if (op == Op::Sub && a == ValueType::DateTime && isNumber(b))
            result = ValueType::DateTime;
        else if (op == Op::Sub && a == ValueType::DateTime && b == ValueType::DateTime)
            result = ValueType::Float;
        else
            return failNode(FilterStatus::TypeMismatch, offset);
        // With a NULL operand the other side decides; it must still be something arithmetic.
        if (result == ValueType::Null || (result == ValueType::Text && op != Op::Add)
            || result == ValueType::Boolean || result == ValueType::Blob)
            return failNode(FilterStatus::TypeMismatch, offset);
        const int depth = std::max(left->depth, right->depth);
        return make<ArithmeticNode>(depth, op, result, std::move(left), std::move(right));
    }

    NodePtr parseUnary()
    {
        if (m_token.kind != TokenKind::Operator || m_token.value != "-")
            return parsePrimary();
        const std::size_t offset = m_token.offset;
        if (++m_nesting > maxNesting)
            return failNode(FilterStatus::TooComplex, offset);
        if (!advance())
            return nullptr;
        NodePtr operand = parseUnary();
        --m_nesting;
        if (!operand)
            return nullptr;
        if (!isNumber(operand->type) && operand->type != ValueType::Null)
            return failNode(FilterStatus::TypeMismatch, offset);
        if (const auto* constant = dynamic_cast<const ConstantNode*>(operand.get())) {
            // A negative number literal stays a constant, so it takes a field's type.
            std::string source = "-" + constant->source();
            const Value negated = NegateNode(std::move(operand)).eval(Packet(), 0);
            return std::make_unique<ConstantNode>(negated, std::move(source));
        }
        const int depth = operand->depth;
        return make<NegateNode>(depth, std::move(operand));
    }

    NodePtr parsePrimary()
    {
        Token t = m_token;
        switch (t.kind) {
        case TokenKind::Name:
            if (peekChar() == '(') {
                if (auto call = parseFunction(t); call || m_failed)
                    return call;
            }
            if (isWord(t, "and") || isWord(t, "or"))
                return expected(FilterStatus::ExpressionExpected);
            if (!advance())
                return nullptr;
            if (text::equal(t.value, "null", true))
                return std::make_unique<ConstantNode>(nullValue(), t.value);
            if (text::equal(t.value, "true", true) || text::equal(t.value, "false", true))
                return std::make_unique<ConstantNode>(
                    booleanValue(text::equal(t.value, "true", true)), t.value);
            return fieldNode(t);
        case TokenKind::Field:
            if (!advance())
                return nullptr;
            return fieldNode(t);
        case TokenKind::String:
            if (!advance())
                return nullptr;
            return std::make_unique<ConstantNode>(textValue(ValueType::Text, t.value), t.value);
        case TokenKind::Number:
            if (!advance())
                return nullptr;
            return numberNode(t);
        case TokenKind::Open: {
            if (!advance())
                return nullptr;
            NodePtr inner = parseOr();
            if (!inner)
                return nullptr;
            if (m_token.kind != TokenKind::Close)
                return expected(FilterStatus::CloseParenthesisExpected);
            if (!advance())
                return nullptr;
            return inner;
        }
        default:
            return expected(FilterStatus::ExpressionExpected);
        }
    }

    NodePtr numberNode(const Token& t)
    {
        const char* begin = t.value.data();
        const char* end = begin + t.value.size();
        if (t.value.find_first_of(".eE") == std::string::npos) {
            std::int64_t i = 0;
            if (const auto r = std::from_chars(begin, end, i); r.ec == std::errc() && r.ptr == end)
                return std::make_unique<ConstantNode>(integerValue(i), t.value);
        }
        double d = 0;
        if (const auto r = std::from_chars(begin, end, d);
            r.ec == std::errc() && r.ptr == end && std::isfinite(d))
            return std::make_unique<ConstantNode>(numberValue(ValueType::Float, d), t.value);
        return failNode(FilterStatus::InvalidConstant, t.offset, messages::invalidFloat(t.value));
    }

    NodePtr fieldNode(const Token& t)
    {
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            if (text::equal(m_fields[i].name, t.value, true))
                return std::make_unique<FieldNode>(i, m_fields[i].type);
        }
        return failNode(FilterStatus::FieldNotFound, t.offset, t.value);
    }

    // A name directly followed by "(" calls a function; returns nullptr without failing when the
    // name is no function, which then reads as a field name.
    NodePtr parseFunction(const Token& name)
    {
        for (const std::string_view aggregate : aggregates) {
            if (text::equal(name.value, aggregate, true))
                return failNode(FilterStatus::AggregateNotAllowed, name.offset);
        }
        const FunctionInfo* info = nullptr;
        for (const FunctionInfo& f : functions) {
            if (text::equal(name.value, f.name, true))
                info = &f;
        }
        if (!info)
            return nullptr;
        if (++m_nesting > maxNesting)
            return failNode(FilterStatus::TooComplex, name.offset);
        if (!advance() || !advance()) // the name and "("
            return nullptr;
        std::vector<NodePtr> args;
        int depth = 0;
        if (m_token.kind != TokenKind::Close || info->maxArgs > 0) {
            for (;;) {
                NodePtr arg = parseOr();
                if (!arg)
                    return nullptr;
                depth = std::max(depth, arg->depth);
                args.push_back(std::move(arg));
                if (m_token.kind == TokenKind::Close)
                    break;
                if (m_token.kind != TokenKind::Comma)
                    return expected(FilterStatus::CloseParenthesisOrCommaExpected);
                if (!advance())
                    return nullptr;
            }
        }
        if (m_token.kind != TokenKind::Close)
            return expected(FilterStatus::CloseParenthesisExpected);
        if (!advance())
            return nullptr;
        --m_nesting;
        const auto result = functionType(*info, args);
        if (!result)
            return failNode(FilterStatus::TypeMismatch, name.offset);
        return make<FunctionNode>(depth, info->function, *result, std::move(args));
    }

    static std::optional<ValueType> functionType(const FunctionInfo& info,
                                                 const std::vector<NodePtr>& args)
    {
        if (args.size() < info.minArgs || args.size() > info.maxArgs)
            return std::nullopt;
        const auto argIs = [&](std::size_t i, auto predicate) {
            return args[i]->type == ValueType::Null || predicate(args[i]->type);
        };
        switch (info.function) {
        case Function::Upper:
        case Function::Lower:
        case Function::Trim:
        case Function::TrimLeft:
        case Function::TrimRight:
            for (std::size_t i = 0; i < args.size(); ++i) {
                if (!argIs(i, isText))
                    return std::nullopt;
            }
            return ValueType::Text;
        case Function::Substring:
            if (!argIs(0, isText))
                return std::nullopt;
            for (std::size_t i = 1; i < args.size(); ++i) {
                if (!argIs(i, isNumber))
                    return std::nullopt;
            }
            return ValueType::Text;
        case Function::GetDate:
            return ValueType::DateTime;
        default:
            if (!argIs(0, [](ValueType t) { return t == ValueType::DateTime; }))
                return std::nullopt;
            return (info.function == Function::Date || info.function == Function::Time)
                       ? ValueType::DateTime
                       : ValueType::Integer;
        }
    }

    FilterLexer m_lexer;
    const std::vector<Field>& m_fields;
    FilterOptions m_options;
    Token m_token;
    int m_nesting = 0;
    bool m_failed = false;
    FilterStatus m_status = FilterStatus::Ok;
    std::size_t m_offset = 0;
    std::string m_detail;
};

} // namespace

FilterResult parseFilter(std::string_view text, const std::vector<Field>& fields,
                         const FilterOptions& options)
{
    return Parser(text, fields, options).run();
}

} // namespace catalog::detail
