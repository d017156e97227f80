#include "FilterValue.h"

#include "Conversions.h"
#include "Text.h"

namespace catalog::detail
{

Value nullValue()
{
    return {};
}

Value booleanValue(bool b)
{
    Value v;
    v.type = ValueType::Boolean;
    v.boolean = b;
    return v;
}

Value integerValue(std::int64_t i)
{
    Value v;
    v.type = ValueType::Integer;
    v.integer = i;
    return v;
}

Value numberValue(ValueType type, double d)
{
    Value v;
    v.type = type;
    v.number = d;
    return v;
}

Value textValue(ValueType type, std::string s)
{
    Value v;
    v.type = type;
    v.text = std::move(s);
    return v;
}

bool isNumber(ValueType t)
{
    return t == ValueType::Integer || t == ValueType::Float;
}

bool isText(ValueType t)
{
    return t == ValueType::Text || t == ValueType::Blob;
}

double asDouble(const Value& v)
{
    return v.type == ValueType::Integer ? static_cast<double>(v.integer) : v.number;
}

bool compatible(ValueType a, ValueType b)
{
    if (a == ValueType::Null || b == ValueType::Null || a == b)
        return true;
    const auto numericLike = [](ValueType t) { return isNumber(t) || t == ValueType::DateTime; };
    return (numericLike(a) && numericLike(b)) || (isText(a) && isText(b));
}

bool valuesEqual(const Value& a, const Value& b)
{
    if (a.type == ValueType::Integer && b.type == ValueType::Integer)
        return a.integer == b.integer;
    if (isText(a.type))
        return a.text == b.text;
    if (a.type == ValueType::Boolean)
        return a.boolean == b.boolean;
    return asDouble(a) == asDouble(b);
}

int compareValues(const Value& a, const Value& b)
{
    if (a.type == ValueType::Integer && b.type == ValueType::Integer)
        return a.integer < b.integer ? -1 : (a.integer > b.integer ? 1 : 0);
    if (isText(a.type))
        return text::collate(a.text, b.text);
    if (a.type == ValueType::Boolean)
        return static_cast<int>(a.boolean) - static_cast<int>(b.boolean);
    const double x = asDouble(a);
    const double y = asDouble(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

Value cellValue(std::string_view cell, FieldType type)
{
    if (cell.data() == nullptr)
        return nullValue();
    switch (type) {
    case FieldType::Text:
        return textValue(ValueType::Text, std::string(cell));
    case FieldType::Memo:
    case FieldType::Binary:
        return textValue(ValueType::Blob, std::string(cell));
    case FieldType::Integer:
        if (const auto i = conversions::storedInteger(cell))
            return integerValue(*i);
        // Integers too large for 64 bits still compare as numbers.
        if (const auto d = conversions::storedFloat(cell))
            return numberValue(ValueType::Float, *d);
        return nullValue();
    case FieldType::Float:
        if (const auto d = conversions::storedFloat(cell))
            return numberValue(ValueType::Float, *d);
        return nullValue();
    case FieldType::Boolean:
        if (const auto b = conversions::storedBoolean(cell))
            return booleanValue(*b);
        return nullValue();
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime:
        if (const auto d = conversions::storedDateTime(cell, type))
            return numberValue(ValueType::DateTime, *d);
        return nullValue();
    }
    return nullValue();
}

ValueType valueTypeOf(FieldType type)
{
    switch (type) {
    case FieldType::Text:
        return ValueType::Text;
    case FieldType::Memo:
    case FieldType::Binary:
        return ValueType::Blob;
    case FieldType::Integer:
        return ValueType::Integer;
    case FieldType::Float:
        return ValueType::Float;
    case FieldType::Boolean:
        return ValueType::Boolean;
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime:
        return ValueType::DateTime;
    }
    return ValueType::Text;
}

} // namespace catalog::detail
