#pragma once

#include "Field.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace catalog
{

// Turns the attributes of ROW elements, fed one row at a time in file order, into the columns of
// the current records. Both ways of reading a packet feed it, so they keep the same rules: an
// absent attribute is NULL, a repeated one keeps its last value, and rows whose RowState marks
// change-log history are dropped.
class RowCollector final
{
public:
    // `rewritten` holds the values this collector has to change; it must outlive the columns.
    RowCollector(const std::vector<Field>& fields, bool mapReferences,
                 std::deque<std::string>& rewritten);

    // Room for `rows` rows, so the columns seldom grow.
    void reserve(std::size_t rows);
    void beginRow();
    // `value` must stay valid as long as the columns do.
    void attribute(std::string_view name, std::string_view value);
    // The field a row's next attribute most likely carries, since writers follow field order;
    // may equal the field count. A reader that recognises that field's attribute name hands the
    // value to fieldAttribute, which skips the lookup by name.
    [[nodiscard]] std::size_t nextField() const { return m_guess; }
    // The value of an attribute named after field `index`, which is not RowState. Called for
    // nearly every value of a packet, so it is defined here, where the reader can inline it.
    void fieldAttribute(std::size_t index, std::string_view value)
    {
        m_guess = index + 1;
        m_columns[index][m_rowCount] = m_mapReferences ? mapReferences(value) : value;
    }
    void endRow();

    [[nodiscard]] const std::vector<Field>& fields() const { return m_fields; }

    [[nodiscard]] std::size_t rowCount() const { return m_rowCount; }
    [[nodiscard]] std::vector<std::vector<std::string_view>> takeColumns();

private:
    // `value`, or its copy with U+0080..U+009F read as the Windows-1252 characters they stand for.
    [[nodiscard]] std::string_view mapReferences(std::string_view value);

    const std::vector<Field>& m_fields;
    bool m_mapReferences;
    std::deque<std::string>& m_rewritten;
    std::unordered_map<std::string_view, std::size_t> m_byAttribute;
    // RowState is normally no field; only when it is does a row's state need a lookup of its own.
    bool m_rowStateIsField = false;
    bool m_rowStateSeen = false;
    std::optional<std::int64_t> m_state;
    std::size_t m_guess = 0;
    // Columns are sized ahead, NULL in every cell, and a row's values are written in place: the
    // row at m_rowCount is the one being read.
    std::vector<std::vector<std::string_view>> m_columns;
    std::size_t m_room = 0;
    std::size_t m_rowCount = 0;
};

} // namespace catalog
