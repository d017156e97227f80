#include "IndexOrder.h"

#include "Conversions.h"
#include "Packet.h"
#include "Text.h"

#include <algorithm>
#include <bit>
#include <cmath>
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

// An order-preserving 64-bit image of the start of a key: when two valid prefixes differ they
// order their keys; when both are complete and equal, so are the keys.
struct Prefix final {
    std::uint64_t bits = 0;
    bool valid = false;
    bool complete = false;
};

constexpr std::size_t prefixedKeys = 2;

struct Entry final {
    Prefix prefix[prefixedKeys];
    std::uint32_t row = 0;
    std::uint32_t slot = 0; // the row's place among the sorted rows, where its keys are
};

Prefix prefixOf(const Key& key)
{
    Prefix p;
    switch (key.kind) {
    case Key::Kind::Null:
        // Below every number and every text.
        return {0, true, true};
    case Key::Kind::Integer:
    case Key::Kind::Number: {
        const double d =
            key.kind == Key::Kind::Integer ? static_cast<double>(key.integer) : key.number;
        const auto bits = std::bit_cast<std::uint64_t>(d + 0.0); // -0 and 0 alike
        p.bits = (bits >> 63) ? ~bits : bits | (UINT64_C(1) << 63);
        p.valid = true;
        // Integers beyond 2^53 share their double with neighbours: the keys decide those.
        p.complete = key.kind == Key::Kind::Number
                     || (std::abs(d) < 9.0e15 && static_cast<std::int64_t>(d) == key.integer);
        return p;
    }
    case Key::Kind::Text:
        break;
    }
    // Texts: a marker byte above NULL, then the collation weights of up to seven ASCII
    // characters; a non-ASCII character ends what the prefix can tell.
    p.bits = UINT64_C(1) << 56;
    std::size_t i = 0;
    for (; i < key.text.size() && i < 7; ++i) {
        auto c = static_cast<unsigned char>(key.text[i]);
        if (c >= 0x80)
            return p;
        if (c >= 'A' && c <= 'Z')
            c = static_cast<unsigned char>(c + 32);
        p.bits |= static_cast<std::uint64_t>(c) << (8 * (6 - i));
    }
    p.valid = true;
    p.complete = false; // equal weights may still differ by case
    return p;
}

} // namespace

std::vector<std::uint32_t> indexOrder(const Packet& packet,
                                      const std::vector<std::size_t>& keyFields)
{
    std::vector<std::uint32_t> rows(packet.rowCount());
    std::iota(rows.begin(), rows.end(), 0U);
    return indexOrder(packet, keyFields, std::move(rows));
}

std::vector<std::uint32_t> indexOrder(const Packet& packet,
                                      const std::vector<std::size_t>& keyFields,
                                      std::vector<std::uint32_t> rows)
{
    if (keyFields.empty())
        return rows;

    // Keys are converted once, for the sorted rows only, and found through the entry's slot.
    const std::size_t count = rows.size();
    std::vector<std::vector<Key>> keys(keyFields.size(), std::vector<Key>(count));
    for (std::size_t k = 0; k < keyFields.size(); ++k) {
        const FieldType type = packet.fields()[keyFields[k]].type;
        const auto& column = packet.column(keyFields[k]);
        for (std::size_t i = 0; i < count; ++i)
            keys[k][i] = keyOf(column[rows[i]], type);
    }

    // The sort moves small entries that carry a prefix of their first two keys, so most
    // comparisons never leave the entries; only equal or partial prefixes look at the keys.
    std::vector<Entry> entries(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        entries[i].row = rows[i];
        entries[i].slot = i;
        for (std::size_t k = 0; k < std::min<std::size_t>(keyFields.size(), prefixedKeys); ++k)
            entries[i].prefix[k] = prefixOf(keys[k][i]);
    }
    std::sort(entries.begin(), entries.end(), [&keys](const Entry& a, const Entry& b) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
            if (k < prefixedKeys) {
                const Prefix& pa = a.prefix[k];
                const Prefix& pb = b.prefix[k];
                if (pa.valid && pb.valid && pa.bits != pb.bits)
                    return pa.bits < pb.bits;
                if (pa.valid && pb.valid && pa.complete && pb.complete)
                    continue;
            }
            if (const int c = compareKeys(keys[k][a.slot], keys[k][b.slot]); c != 0)
                return c < 0;
        }
        return a.row < b.row;
    });
    for (std::size_t i = 0; i < count; ++i)
        rows[i] = entries[i].row;
    return rows;
}

} // namespace catalog
