#include "IndexOrder.h"

#include "Conversions.h"
#include "Packet.h"
#include "Text.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace catalog
{

namespace
{

// One key value, converted once before sorting.
struct Key final {
    enum class Kind : std::uint8_t { Null, Integer, Number, Text };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double number = 0;
    std::string_view text;
};

Key keyOf(std::string_view cell, FieldType type)
{
    Key key;
    if (cell.data() == nullptr)
        return key;
    switch (type) {
    case FieldType::Integer:
        if (const auto i = conversions::storedInteger(cell)) {
            key.kind = Key::Kind::Integer;
            key.integer = *i;
        } else if (const auto d = conversions::storedFloat(cell)) {
            key.kind = Key::Kind::Number;
            key.number = *d;
        }
        break;
    case FieldType::Float:
        if (const auto d = conversions::storedFloat(cell)) {
            key.kind = Key::Kind::Number;
            key.number = *d;
        }
        break;
    case FieldType::Boolean:
        if (const auto b = conversions::storedBoolean(cell)) {
            key.kind = Key::Kind::Integer;
            key.integer = *b ? 1 : 0;
        }
        break;
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime:
        if (const auto d = conversions::storedDateTime(cell, type)) {
            key.kind = Key::Kind::Number;
            key.number = *d;
        }
        break;
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Binary:
        key.kind = Key::Kind::Text;
        key.text = cell;
        break;
    }
    return key;
}

int compareKeys(const Key& a, const Key& b)
{
    if (a.kind == Key::Kind::Null || b.kind == Key::Kind::Null)
        return static_cast<int>(b.kind == Key::Kind::Null)
               - static_cast<int>(a.kind == Key::Kind::Null);
    if (a.kind == Key::Kind::Text)
        return text::collate(a.text, b.text);
    if (a.kind == Key::Kind::Integer && b.kind == Key::Kind::Integer)
        return a.integer < b.integer ? -1 : (a.integer > b.integer ? 1 : 0);
    const double x = a.kind == Key::Kind::Integer ? static_cast<double>(a.integer) : a.number;
    const double y = b.kind == Key::Kind::Integer ? static_cast<double>(b.integer) : b.number;
    return x < y ? -1 : (x > y ? 1 : 0);
}

} // namespace

std::vector<std::uint32_t> indexOrder(const Packet& packet,
                                      const std::vector<std::size_t>& keyFields)
{
    const std::size_t rows = packet.rowCount();
    std::vector<std::uint32_t> order(rows);
    std::iota(order.begin(), order.end(), 0U);
    if (keyFields.empty())
        return order;

    std::vector<std::vector<Key>> keys(keyFields.size(), std::vector<Key>(rows));
    for (std::size_t k = 0; k < keyFields.size(); ++k) {
        const FieldType type = packet.fields()[keyFields[k]].type;
        for (std::size_t r = 0; r < rows; ++r)
            keys[k][r] = keyOf(packet.cell(r, keyFields[k]), type);
    }
    std::sort(order.begin(), order.end(), [&keys](std::uint32_t a, std::uint32_t b) {
        for (const auto& column : keys) {
            if (const int c = compareKeys(column[a], column[b]); c != 0)
                return c < 0;
        }
        return a < b;
    });
    return order;
}

} // namespace catalog
