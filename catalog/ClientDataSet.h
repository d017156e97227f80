#pragma once

#include "Field.h"
#include "Filter.h"
#include "Packet.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace catalog
{

struct LocateOptions final {
    bool caseInsensitive = false;
    // A text field checks "begins with" instead of equality.
    bool partialKey = false;
};

// A client dataset over one XML data packet file: read whole at open, shown through an index and
// an optional filter. The records visible through both are "the view"; positions in it are
// 0-based. Errors are thrown as catalog::Error with the engine's texts, prefixed with the
// dataset's name where the engine prefixes them ("cdxtb: Field 'serie' not found").
class ClientDataSet final
{
public:
    explicit ClientDataSet(std::string name);

    [[nodiscard]] const std::string& name() const { return m_name; }

    void setFileName(std::string fileName);

    // Reads the whole file again and checks the index fields; the first record becomes current.
    // Throws "<name>: Missing data provider or data packet" when the file does not exist, the
    // system's text (unprefixed) when it cannot be read, "Invalid data packet" when it holds no
    // packet, "<name>: Field 'x' not found" when the index names a field the file lacks, and the
    // filter's error when filtering is on and the filter does not compile. After any error the
    // dataset is closed and the view empty. Does nothing when already open.
    void open();
    void close();
    [[nodiscard]] bool active() const { return m_active; }

    // Defines an index; `fields` are field names separated by ";".
    void addIndex(std::string indexName, std::string fields);
    // Chooses the index that orders the view ("" for file order). On an open dataset the view is
    // rebuilt at once; throws "<name>: Index 'x' not found" for an undefined index and the field
    // error for a field the file lacks, leaving the view as it was.
    void setIndexName(std::string indexName);

    // The filter text, kept as it is until filtering is on and the dataset open. While both, a
    // new text or new options are compiled at once: on an error the previous filter is already
    // gone, so every record shows, the text stays the old one, and the error is thrown.
    void setFilter(std::string filterText);
    [[nodiscard]] const std::string& filter() const { return m_filterText; }
    void setFilterOptions(const FilterOptions& options);
    // Switching filtering on an open dataset compiles the filter text; on an error filtering
    // stays off and the error is thrown ("<name>: Field 'x' not found" for an unknown field,
    // the language's own text for a syntax error). Every successful change makes the first
    // record of the new view current.
    void setFiltered(bool filtered);
    [[nodiscard]] bool filtered() const { return m_filtered; }

    // Throws "<name>: Cannot perform this operation on a closed dataset" when closed.
    void first();
    // Records in the view; 0 when closed.
    [[nodiscard]] std::size_t recordCount() const { return view().size(); }
    // Position of the current record in the view; -1 when the view is empty or closed.
    [[nodiscard]] std::ptrdiff_t recNo() const;
    // Makes the record at `position` (< recordCount()) current; throws the closed-dataset error
    // when closed.
    void setRecNo(std::size_t position);

    // The text of the named field (matched without case) of the current record; "" for NULL and
    // for an empty view. Throws "<name>: Field 'x' not found" for an unknown field and whenever
    // the dataset is closed.
    [[nodiscard]] std::string fieldByName(std::string_view fieldName) const;

    // The fields of the open file; none while closed.
    [[nodiscard]] std::size_t fieldCount() const;
    [[nodiscard]] const Field& field(std::size_t index) const;
    [[nodiscard]] std::optional<std::size_t> findField(std::string_view fieldName) const;
    // The stored text of a field of the record at a view position, without copying; nullopt for
    // NULL. The text stays valid until the dataset closes.
    [[nodiscard]] std::optional<std::string_view> value(std::size_t position,
                                                        std::size_t fieldIndex) const;

    // Makes current the first record of the view, in view order, whose field matches `key`, and
    // returns true; returns false and moves nothing when none does. A text field compares with
    // the options; other fields compare by value, `key` converted to the field's type (an
    // integer by the standard integer conversion). Throws the closed-dataset error, the field
    // error, the conversion error ("'x' is not a valid integer value"), and "Field 'x' is of an
    // unsupported type" for memo and binary fields.
    [[nodiscard]] bool locate(std::string_view fieldName, std::string_view key,
                              const LocateOptions& options);

private:
    [[noreturn]] void throwFieldNotFound(std::string_view fieldName) const;
    [[noreturn]] void throwClosed() const;
    void requireActive() const;
    [[nodiscard]] std::vector<std::size_t> indexFields(const Packet& packet,
                                                       const std::string& indexName) const;
    [[nodiscard]] Filter compile(const Packet& packet, std::string_view text,
                                 const FilterOptions& options) const;
    void rebuildView();
    [[nodiscard]] const std::vector<std::uint32_t>& view() const;
    [[nodiscard]] const std::vector<std::uint32_t>& order() const;

    struct IndexDefinition final {
        std::string name;
        std::string fields;
    };

    std::string m_name;
    std::string m_fileName;
    std::vector<IndexDefinition> m_indexes;
    std::string m_indexName;
    std::string m_filterText;
    FilterOptions m_filterOptions;
    bool m_filtered = false;

    bool m_active = false;
    Packet m_packet;
    Filter m_filter;
    std::vector<std::size_t> m_indexFields;
    // The order and the view are built when first read: opening a view sets several filters in
    // turn, and only the last one is ever shown, so only its records need sorting.
    mutable std::vector<std::uint32_t> m_order; // every record, in index order
    mutable bool m_orderBuilt = false;
    mutable std::vector<std::uint32_t> m_view; // the records that pass the filter, in index order
    mutable bool m_viewBuilt = true;
    std::size_t m_current = 0;
};

} // namespace catalog
