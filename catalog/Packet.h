#pragma once

#include "Field.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace catalog
{

struct PacketResult;

// Dataset-level parameters of a packet; the reader keeps them as written.
struct PacketParams final {
    std::string defaultOrder;
    std::string changeLog;
    int lcid = 0;
};

// The current records of one XML data packet, in file order. Values are the attribute texts
// after XML decoding, as UTF-8; nothing is converted until it is compared.
class Packet final
{
public:
    // The cells point into the packet's own text, so a packet moves but is never copied.
    Packet() = default;
    Packet(const Packet&) = delete;
    Packet& operator=(const Packet&) = delete;
    Packet(Packet&&) = default;
    Packet& operator=(Packet&&) = default;
    ~Packet() = default;

    [[nodiscard]] const std::vector<Field>& fields() const { return m_fields; }
    [[nodiscard]] std::size_t rowCount() const { return m_rowCount; }
    [[nodiscard]] const PacketParams& params() const { return m_params; }

    // The stored text of one value. NULL (the attribute is absent) is a view whose data() is
    // nullptr; an empty attribute is a non-null empty view.
    [[nodiscard]] std::string_view cell(std::size_t row, std::size_t field) const
    {
        return m_columns[field][row];
    }
    // Every value of one field, in file order; a column is contiguous so scans stay in cache.
    [[nodiscard]] const std::vector<std::string_view>& column(std::size_t field) const
    {
        return m_columns[field];
    }

    // Field names compare without case; returns the first field so named.
    [[nodiscard]] std::optional<std::size_t> findField(std::string_view name) const;

private:
    friend class PacketReader;
    friend PacketResult readPacket(std::vector<char> bytes);

    std::vector<Field> m_fields;
    std::size_t m_rowCount = 0;
    PacketParams m_params;
    std::vector<std::vector<std::string_view>> m_columns;
    // The decoded file: the cells point into it, so it moves with the packet but never changes.
    std::vector<char> m_text;
    std::deque<std::string> m_rewritten;
};

enum class PacketStatus {
    Ok,
    BinaryPacket, // the binary packet signature
    NotXml,       // not well-formed XML, even after decoding
    NotAPacket,   // well-formed XML with another root element
    BadMetadata,  // no METADATA/FIELDS, or a FIELD without a name
};

struct PacketResult final {
    PacketStatus status = PacketStatus::Ok;
    std::size_t offset = 0; // where the XML parser stopped, for NotXml
    Packet packet;          // empty unless status is Ok

    // The engine's text for the failure ("Invalid data packet"), empty when Ok.
    [[nodiscard]] std::string description() const;
    explicit operator bool() const { return status == PacketStatus::Ok; }
};

// Reads a whole packet. Never throws for bad input: a failure leaves `packet` empty.
// Text encoding: a UTF-8 byte order mark is skipped; a declared UTF-8, ISO-8859-1 or
// windows-1252 encoding is honoured; otherwise the bytes are UTF-8 when they are valid UTF-8 and
// Windows-1252 when they are not, and there character references &#128;..&#159; stand for
// Windows-1252 bytes too.
[[nodiscard]] PacketResult readPacket(std::vector<char> bytes);

} // namespace catalog
