#pragma once

#include "Field.h"

#include <cstdint>
#include <string>
#include <string_view>

// The values a filter expression computes, and how they convert and compare.
namespace catalog::detail
{

enum class ValueType { Null, Boolean, Integer, Float, Text, DateTime, Blob };

struct Value final {
    ValueType type = ValueType::Null;
    bool boolean = false;
    std::int64_t integer = 0;
    double number = 0; // Float and DateTime
    std::string text;  // Text and Blob
};

enum class Op { Eq, Ne, Lt, Le, Gt, Ge, Like, Add, Sub, Mul, Div };

[[nodiscard]] Value nullValue();
[[nodiscard]] Value booleanValue(bool b);
[[nodiscard]] Value integerValue(std::int64_t i);
[[nodiscard]] Value numberValue(ValueType type, double d);
[[nodiscard]] Value textValue(ValueType type, std::string s);
[[nodiscard]] bool isNumber(ValueType t);
[[nodiscard]] bool isText(ValueType t);
[[nodiscard]] double asDouble(const Value& v);
// Whether values of the two types may meet in a comparison or an arithmetic operation.
[[nodiscard]] bool compatible(ValueType a, ValueType b);
[[nodiscard]] bool valuesEqual(const Value& a, const Value& b);
// <0, 0 or >0 for two non-NULL values of compatible types; texts collate.
[[nodiscard]] int compareValues(const Value& a, const Value& b);
// A stored text as its field's type; NULL for a NULL cell and for one that does not convert.
[[nodiscard]] Value cellValue(std::string_view cell, FieldType type);
[[nodiscard]] ValueType valueTypeOf(FieldType type);

} // namespace catalog::detail
