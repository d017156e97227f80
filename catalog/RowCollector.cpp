#include "RowCollector.h"

#include "Conversions.h"
#include "Text.h"

#include <algorithm>

namespace catalog
{

namespace
{

// Whether a value holds U+0080..U+009F, which an undeclared file can only have written as a
// character reference standing for a Windows-1252 byte.
bool hasC1Control(std::string_view value)
{
    for (std::size_t pos = value.find('\xC2'); pos != std::string_view::npos;
         pos = value.find('\xC2', pos + 1)) {
        if (pos + 1 < value.size()) {
            const auto next = static_cast<unsigned char>(value[pos + 1]);
            if (next >= 0x80 && next <= 0x9F)
                return true;
        }
    }
    return false;
}

std::string mapC1Controls(std::string_view value)
{
    std::string out;
    out.reserve(value.size() + 4);
    for (std::size_t pos = 0; pos < value.size();)
        text::appendUtf8(out, text::windows1252Control(text::next(value, pos)));
    return out;
}

constexpr std::string_view rowState = "RowState";

} // namespace

RowCollector::RowCollector(const std::vector<Field>& fields, bool mapReferences,
                           std::deque<std::string>& rewritten)
    : m_fields(fields)
    , m_mapReferences(mapReferences)
    , m_rewritten(rewritten)
    , m_columns(fields.size())
{
    for (std::size_t i = fields.size(); i-- > 0;)
        m_byAttribute[fields[i].attrName] = i;
    m_rowStateIsField = m_byAttribute.contains(rowState);
}

void RowCollector::reserve(std::size_t rows)
{
    if (rows <= m_room)
        return;
    for (auto& column : m_columns)
        column.resize(rows);
    m_room = rows;
}

void RowCollector::beginRow()
{
    if (m_rowCount == m_room)
        reserve(std::max<std::size_t>(64, m_room * 2));
    m_state.reset();
    m_rowStateSeen = false;
    m_guess = 0;
}

void RowCollector::attribute(std::string_view name, std::string_view value)
{
    // A RowState field still gives the row its state, from the first such attribute; otherwise
    // the last one counts, as for any repeated attribute.
    if (name == rowState && (!m_rowStateIsField || !m_rowStateSeen)) {
        m_state = conversions::storedInteger(value);
        m_rowStateSeen = true;
        if (!m_rowStateIsField)
            return;
    }
    // Writers put the attributes in field order, so the next field is tried first.
    std::size_t index = m_guess;
    if (index >= m_fields.size() || m_fields[index].attrName != name) {
        const auto found = m_byAttribute.find(name);
        if (found == m_byAttribute.end())
            return;
        index = found->second;
    }
    fieldAttribute(index, value);
}

std::string_view RowCollector::mapReferences(std::string_view value)
{
    return hasC1Control(value) ? m_rewritten.emplace_back(mapC1Controls(value)) : value;
}

void RowCollector::endRow()
{
    // Superseded (1), deleted (2) and unused (32) versions are change-log history.
    if (m_state && (*m_state & (1 | 2 | 32)) != 0) {
        for (auto& column : m_columns)
            column[m_rowCount] = std::string_view();
        return;
    }
    ++m_rowCount;
}

std::vector<std::vector<std::string_view>> RowCollector::takeColumns()
{
    for (auto& column : m_columns)
        column.resize(m_rowCount);
    return std::move(m_columns);
}

} // namespace catalog
