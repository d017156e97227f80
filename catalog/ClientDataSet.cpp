#include "ClientDataSet.h"

#include "Conversions.h"
#include "Error.h"
#include "IndexOrder.h"
#include "Messages.h"
#include "Text.h"

#include <cassert>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace catalog
{

namespace
{

std::vector<std::string_view> splitFieldList(std::string_view list)
{
    std::vector<std::string_view> names;
    while (!list.empty()) {
        const std::size_t semicolon = list.find(';');
        std::string_view name = list.substr(0, semicolon);
        while (!name.empty() && name.front() == ' ')
            name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ')
            name.remove_suffix(1);
        if (!name.empty())
            names.push_back(name);
        if (semicolon == std::string_view::npos)
            break;
        list.remove_prefix(semicolon + 1);
    }
    return names;
}

struct FileCloser final {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The whole file, or the system's reason why it cannot be read.
std::vector<char> readFile(const std::string& fileName)
{
    errno = 0;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
    if (!file)
        throw Error(messages::cannotOpenFile(fileName, std::strerror(errno)));
    std::vector<char> bytes;
    std::error_code error;
    const auto size = std::filesystem::file_size(fileName, error);
    // The size is a hint: the file is read to its end whatever it says.
    bytes.resize(error ? 0 : static_cast<std::size_t>(size) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2 + 65536);
        const std::size_t got = std::fread(bytes.data() + used, 1, bytes.size() - used, file.get());
        used += got;
        if (got == 0)
            break;
    }
    bytes.resize(used);
    if (std::ferror(file.get()))
        throw Error(messages::cannotOpenFile(fileName, std::strerror(errno)));
    return bytes;
}

// A value compared with a key: text with options, or a typed value converted once.
class KeyMatcher final
{
public:
    KeyMatcher(const Field& field, std::string_view key, const LocateOptions& options)
        : m_type(field.type)
        , m_key(key)
        , m_options(options)
    {
        switch (m_type) {
        case FieldType::Text:
            return;
        case FieldType::Memo:
        case FieldType::Binary:
            throw Error(messages::unsupportedFieldType(field.name));
        case FieldType::Integer:
            if (const auto i = conversions::toInteger(key)) {
                m_number = static_cast<double>(*i);
                return;
            }
            throw Error(messages::invalidInteger(key));
        case FieldType::Float:
            if (const auto d = conversions::storedFloat(key)) {
                m_number = *d;
                return;
            }
            throw Error(messages::invalidFloat(key));
        case FieldType::Boolean:
            if (const auto b = conversions::storedBoolean(key)) {
                m_number = *b ? 1 : 0;
                return;
            }
            throw Error(messages::invalidBoolean(key));
        case FieldType::Date:
        case FieldType::Time:
        case FieldType::DateTime:
            if (const auto d = conversions::dateTimeConstant(key, m_type)) {
                m_number = *d;
                return;
            }
            throw Error(m_type == FieldType::Date   ? messages::invalidDate(key)
                        : m_type == FieldType::Time ? messages::invalidTime(key)
                                                    : messages::invalidDateTime(key));
        }
    }

    // A quick first-character test for text searches, so that scanning a long view stays a
    // tight loop; false means "look closer", never "matches".
    [[nodiscard]] bool rejectsAtOnce(std::string_view cell) const
    {
        if (m_type != FieldType::Text || m_key.empty() || cell.empty())
            return false;
        const auto c = static_cast<unsigned char>(cell.front());
        const auto k = static_cast<unsigned char>(m_key.front());
        if (c >= 0x80 || k >= 0x80 || c == k)
            return false;
        return !m_options.caseInsensitive || ((c | 0x20) != (k | 0x20)) || !std::isalpha(c);
    }

    [[nodiscard]] bool matches(std::string_view cell) const
    {
        if (cell.data() == nullptr)
            return false;
        switch (m_type) {
        case FieldType::Text:
            return m_options.partialKey ? text::startsWith(cell, m_key, m_options.caseInsensitive)
                                        : text::equal(cell, m_key, m_options.caseInsensitive);
        case FieldType::Integer:
        case FieldType::Float:
            if (const auto d = conversions::storedFloat(cell))
                return *d == m_number;
            return false;
        case FieldType::Boolean:
            if (const auto b = conversions::storedBoolean(cell))
                return (*b ? 1 : 0) == m_number;
            return false;
        default:
            if (const auto d = conversions::storedDateTime(cell, m_type))
                return *d == m_number;
            return false;
        }
    }

private:
    FieldType m_type;
    std::string_view m_key;
    LocateOptions m_options;
    double m_number = 0;
};

} // namespace

ClientDataSet::ClientDataSet(std::string name)
    : m_name(std::move(name))
{
}

void ClientDataSet::setFileName(std::string fileName)
{
    m_fileName = std::move(fileName);
}

void ClientDataSet::open()
{
    if (m_active)
        return;
    std::error_code error;
    if (m_fileName.empty() || !std::filesystem::exists(m_fileName, error))
        throw Error(messages::withDataSet(m_name, messages::missingDataPacket()));

    PacketResult read = readPacket(readFile(m_fileName));
    if (!read)
        throw Error(read.description());
    // Everything that can fail runs before the dataset takes the new packet.
    std::vector<std::size_t> keyFields = indexFields(read.packet, m_indexName);
    Filter filter;
    if (m_filtered)
        filter = compile(read.packet, m_filterText, m_filterOptions);

    m_packet = std::move(read.packet);
    m_indexFields = std::move(keyFields);
    m_orderBuilt = false;
    m_filter = std::move(filter);
    m_active = true;
    rebuildView();
}

void ClientDataSet::close()
{
    m_active = false;
    m_packet = Packet();
    m_filter = Filter();
    m_indexFields.clear();
    m_order.clear();
    m_orderBuilt = false;
    m_view.clear();
    m_viewBuilt = true;
    m_current = 0;
}

void ClientDataSet::addIndex(std::string indexName, std::string fields)
{
    m_indexes.push_back({std::move(indexName), std::move(fields)});
}

void ClientDataSet::setIndexName(std::string indexName)
{
    if (m_active) {
        m_indexFields = indexFields(m_packet, indexName);
        m_orderBuilt = false;
        rebuildView();
    }
    m_indexName = std::move(indexName);
}

void ClientDataSet::setFilter(std::string filterText)
{
    if (m_active && m_filtered) {
        m_filter = Filter();
        rebuildView();
        m_filter = compile(m_packet, filterText, m_filterOptions);
        rebuildView();
    }
    m_filterText = std::move(filterText);
}

void ClientDataSet::setFilterOptions(const FilterOptions& options)
{
    if (m_active && m_filtered) {
        m_filter = Filter();
        rebuildView();
        m_filter = compile(m_packet, m_filterText, options);
        rebuildView();
    }
    m_filterOptions = options;
}

void ClientDataSet::setFiltered(bool filtered)
{
    if (filtered == m_filtered)
        return;
    if (m_active) {
        m_filter = filtered ? compile(m_packet, m_filterText, m_filterOptions) : Filter();
        m_filtered = filtered;
        rebuildView();
    }
    m_filtered = filtered;
}

void ClientDataSet::first()
{
    requireActive();
    m_current = 0;
}

std::ptrdiff_t ClientDataSet::recNo() const
{
    return view().empty() ? -1 : static_cast<std::ptrdiff_t>(m_current);
}

void ClientDataSet::setRecNo(std::size_t position)
{
    requireActive();
    assert(position < view().size());
    if (position < view().size())
        m_current = position;
}

std::string ClientDataSet::fieldByName(std::string_view fieldName) const
{
    const auto index = findField(fieldName);
    if (!index)
        throwFieldNotFound(fieldName);
    if (view().empty())
        return {};
    return std::string(m_packet.cell(view()[m_current], *index));
}

std::size_t ClientDataSet::fieldCount() const
{
    return m_packet.fields().size();
}

const Field& ClientDataSet::field(std::size_t index) const
{
    return m_packet.fields().at(index);
}

std::optional<std::size_t> ClientDataSet::findField(std::string_view fieldName) const
{
    return m_packet.findField(fieldName);
}

std::optional<std::string_view> ClientDataSet::value(std::size_t position,
                                                     std::size_t fieldIndex) const
{
    const std::string_view cell = m_packet.cell(view().at(position), fieldIndex);
    if (cell.data() == nullptr)
        return std::nullopt;
    return cell;
}

bool ClientDataSet::locate(std::string_view fieldName, std::string_view key,
                           const LocateOptions& options)
{
    requireActive();
    const auto index = findField(fieldName);
    if (!index)
        throwFieldNotFound(fieldName);
    const KeyMatcher matcher(m_packet.fields()[*index], key, options);
    const auto& column = m_packet.column(*index);
    const auto& records = view();
    for (std::size_t position = 0; position < records.size(); ++position) {
        const std::string_view cell = column[records[position]];
        if (matcher.rejectsAtOnce(cell))
            continue;
        if (matcher.matches(cell)) {
            m_current = position;
            return true;
        }
    }
    return false;
}

void ClientDataSet::throwFieldNotFound(std::string_view fieldName) const
{
    throw Error(messages::withDataSet(m_name, messages::fieldNotFound(fieldName)));
}

void ClientDataSet::throwClosed() const
{
    throw Error(messages::withDataSet(m_name, messages::closedDataSet()));
}

void ClientDataSet::requireActive() const
{
    if (!m_active)
        throwClosed();
}

std::vector<std::size_t> ClientDataSet::indexFields(const Packet& packet,
                                                    const std::string& indexName) const
{
    if (indexName.empty())
        return {};
    for (const IndexDefinition& index : m_indexes) {
        if (!text::equal(index.name, indexName, true))
            continue;
        std::vector<std::size_t> fields;
        for (const std::string_view name : splitFieldList(index.fields)) {
            const auto found = packet.findField(name);
            if (!found)
                throwFieldNotFound(name);
            fields.push_back(*found);
        }
        return fields;
    }
    throw Error(messages::withDataSet(m_name, messages::indexNotFound(indexName)));
}

Filter ClientDataSet::compile(const Packet& packet, std::string_view text,
                              const FilterOptions& options) const
{
    const FilterResult result = compileFilter(text, packet.fields(), options);
    if (result.status == FilterStatus::FieldNotFound)
        throwFieldNotFound(result.detail);
    if (!result)
        throw Error(result.description());
    return result.filter;
}

void ClientDataSet::rebuildView()
{
    m_current = 0;
    m_viewBuilt = false;
}

const std::vector<std::uint32_t>& ClientDataSet::order() const
{
    if (!m_orderBuilt) {
        m_order = indexOrder(m_packet, m_indexFields);
        m_orderBuilt = true;
    }
    return m_order;
}

const std::vector<std::uint32_t>& ClientDataSet::view() const
{
    if (m_viewBuilt)
        return m_view;
    m_viewBuilt = true;
    if (!m_filtered) {
        m_view = order();
        return m_view;
    }
    // Records are tested in file order, where their values lie next to each other in memory.
    std::vector<std::uint32_t> passing;
    for (std::size_t row = 0; row < m_packet.rowCount(); ++row) {
        if (m_filter.matches(m_packet, row))
            passing.push_back(static_cast<std::uint32_t>(row));
    }
    m_view = indexOrder(m_packet, m_indexFields, std::move(passing));
    return m_view;
}

} // namespace catalog
