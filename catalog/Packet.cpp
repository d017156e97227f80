#include "Packet.h"

#include "Conversions.h"
#include "Messages.h"
#include "RowCollector.h"
#include "RowScanner.h"
#include "Text.h"

#include <pugixml.hpp>

#include <cstring>

namespace catalog
{

namespace
{

enum class Encoding { Undeclared, Utf8, Latin1, Windows1252 };

bool sameName(std::string_view a, std::string_view b)
{
    return text::equal(a, b, true);
}

std::string lower(std::string_view s)
{
    return text::toLower(s);
}

// The encoding named by the XML declaration at the start of `bytes`, if any.
Encoding declaredEncoding(std::string_view bytes)
{
    if (!bytes.starts_with("<?xml"))
        return Encoding::Undeclared;
    const std::size_t end = bytes.find("?>");
    const std::string_view declaration = bytes.substr(0, end);
    const std::size_t key = declaration.find("encoding");
    if (key == std::string_view::npos)
        return Encoding::Undeclared;
    std::size_t pos = key + 8;
    while (pos < declaration.size() && (declaration[pos] == ' ' || declaration[pos] == '='))
        ++pos;
    if (pos >= declaration.size() || (declaration[pos] != '"' && declaration[pos] != '\''))
        return Encoding::Undeclared;
    const char quote = declaration[pos];
    const std::size_t close = declaration.find(quote, pos + 1);
    if (close == std::string_view::npos)
        return Encoding::Undeclared;
    const std::string name = lower(declaration.substr(pos + 1, close - pos - 1));
    if (name == "utf-8" || name == "utf8" || name == "us-ascii" || name == "ascii")
        return Encoding::Utf8;
    if (name == "iso-8859-1" || name == "iso8859-1" || name == "latin1" || name == "latin-1")
        return Encoding::Latin1;
    if (name == "windows-1252" || name == "cp1252" || name == "x-cp1252")
        return Encoding::Windows1252;
    // Other writers declare encodings nobody here reads (gb2312, ...); the content decides.
    return Encoding::Undeclared;
}

FieldType typeOf(std::string_view token, std::string_view subtype)
{
    const std::string t = lower(token);
    if (t == "i1" || t == "i2" || t == "i4" || t == "i8" || t == "ui1" || t == "ui2" || t == "ui4"
        || t == "ui8")
        return FieldType::Integer;
    if (t == "r4" || t == "r8" || t == "r10" || t == "fixed" || t == "fixedfmt")
        return FieldType::Float;
    if (t == "boolean")
        return FieldType::Boolean;
    if (t == "date")
        return FieldType::Date;
    if (t == "time")
        return FieldType::Time;
    if (t == "datetime" || t == "sqldatetime")
        return FieldType::DateTime;
    if (t == "bin.hex") {
        const std::string s = lower(subtype);
        return (s == "text" || s == "widetext") ? FieldType::Memo : FieldType::Binary;
    }
    return FieldType::Text;
}

int toInt(std::string_view s)
{
    const auto value = conversions::storedInteger(s);
    return value && *value >= INT32_MIN && *value <= INT32_MAX ? static_cast<int>(*value) : 0;
}

pugi::xml_node child(pugi::xml_node parent, std::string_view name)
{
    for (pugi::xml_node node = parent.first_child(); node; node = node.next_sibling()) {
        if (node.type() == pugi::node_element && sameName(node.name(), name))
            return node;
    }
    return {};
}

} // namespace

// Builds a packet from the parsed document; friend of Packet.
class PacketReader final
{
public:
    explicit PacketReader(bool mapReferences)
        : m_mapReferences(mapReferences)
    {
    }

    PacketStatus read(const pugi::xml_node root, Packet& packet) const
    {
        const PacketStatus status = readMetadata(root, packet);
        if (status == PacketStatus::Ok)
            readRows(child(root, "ROWDATA"), packet);
        return status;
    }

    // Reads the rows with the scanner and the rest with the parser, which then sees the packet
    // with an empty ROWDATA in place of its own. False when the scanner declines or the outline
    // is not read cleanly; the caller then reads the whole text with the parser, so that every
    // irregular packet gets the parser's verdict, error offset included.
    bool readScanned(std::string_view content, Packet& packet) const
    {
        const auto extent = RowScanner::locate(content);
        if (!extent)
            return false;
        constexpr std::string_view placeholder = "<ROWDATA/>";
        std::string outline;
        outline.reserve(extent->begin + placeholder.size() + content.size() - extent->end);
        outline.append(content.substr(0, extent->begin))
            .append(placeholder)
            .append(content.substr(extent->end));
        pugi::xml_document document;
        if (!document.load_buffer_inplace(outline.data(), outline.size(), pugi::parse_default,
                                          pugi::encoding_utf8))
            return false;
        const pugi::xml_node root = document.document_element();
        // The placeholder must be the ROWDATA the parser would read: not text inside a comment
        // or a value, and not preceded by another ROWDATA.
        if (std::strcmp(root.name(), "DATAPACKET") != 0
            || child(root, "ROWDATA").offset_debug()
                   != static_cast<std::ptrdiff_t>(extent->begin + 1)
            || readMetadata(root, packet) != PacketStatus::Ok)
            return false;
        RowCollector rows(packet.m_fields, m_mapReferences, packet.m_rewritten);
        const std::string_view rowText =
            content.substr(extent->rowsBegin, extent->rowsEnd - extent->rowsBegin);
        // Room for as many rows as the first eight rows' length suggests and a quarter more, so
        // the columns seldom grow.
        constexpr std::size_t sampledRows = 8;
        const std::size_t first = rowText.find("<ROW");
        std::size_t last = first;
        for (std::size_t i = 0; i < sampledRows && last != std::string_view::npos; ++i)
            last = rowText.find("<ROW", last + 1);
        if (last != std::string_view::npos)
            rows.reserve(rowText.size() / ((last - first) / sampledRows + 1) * 5 / 4 + 1);
        if (!RowScanner::scan(rowText, rows, packet.m_rewritten))
            return false;
        packet.m_rowCount = rows.rowCount();
        packet.m_columns = rows.takeColumns();
        return true;
    }

private:
    static PacketStatus readMetadata(const pugi::xml_node root, Packet& packet)
    {
        const pugi::xml_node fields = child(child(root, "METADATA"), "FIELDS");
        if (!fields)
            return PacketStatus::BadMetadata;
        for (pugi::xml_node node = fields.first_child(); node; node = node.next_sibling()) {
            if (node.type() != pugi::node_element || !sameName(node.name(), "FIELD"))
                continue;
            auto field = readField(node);
            if (!field)
                return PacketStatus::BadMetadata;
            if (lower(field->typeToken) != "nested")
                packet.m_fields.push_back(std::move(*field));
        }
        readParams(child(child(root, "METADATA"), "PARAMS"), packet.m_params);
        return PacketStatus::Ok;
    }

    static std::optional<Field> readField(pugi::xml_node node)
    {
        Field field;
        bool named = false;
        for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
            const std::string key = lower(a.name());
            const std::string_view value = a.value();
            if (key == "attrname") {
                field.attrName = value;
                named = true;
            } else if (key == "fieldname") {
                field.name = value;
            } else if (key == "fieldtype") {
                field.typeToken = value;
            } else if (key == "subtype") {
                field.subtype = value;
            } else if (key == "width") {
                field.width = toInt(value);
            } else if (key == "decimals") {
                field.decimals = toInt(value);
            } else if (key == "required") {
                field.required = lower(value) == "true";
            } else if (key == "readonly") {
                field.readOnly = lower(value) == "true";
            }
        }
        if (!named && field.name.empty())
            return std::nullopt;
        if (!named)
            field.attrName = field.name;
        if (field.name.empty())
            field.name = field.attrName;
        field.type = typeOf(field.typeToken, field.subtype);
        return field;
    }

    static void readParams(pugi::xml_node node, PacketParams& params)
    {
        for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
            const std::string key = lower(a.name());
            if (key == "default_order")
                params.defaultOrder = a.value();
            else if (key == "change_log")
                params.changeLog = a.value();
            else if (key == "lcid")
                params.lcid = toInt(a.value());
        }
    }

    void readRows(pugi::xml_node rowData, Packet& packet) const
    {
        RowCollector rows(packet.m_fields, m_mapReferences, packet.m_rewritten);
        std::size_t capacity = 0;
        for (pugi::xml_node row = rowData.first_child(); row; row = row.next_sibling())
            ++capacity;
        rows.reserve(capacity);
        for (pugi::xml_node row = rowData.first_child(); row; row = row.next_sibling()) {
            if (row.type() != pugi::node_element || !sameName(row.name(), "ROW"))
                continue;
            rows.beginRow();
            for (pugi::xml_attribute a = row.first_attribute(); a; a = a.next_attribute())
                rows.attribute(a.name(), a.value());
            rows.endRow();
        }
        packet.m_rowCount = rows.rowCount();
        packet.m_columns = rows.takeColumns();
    }

    bool m_mapReferences;
};

std::optional<std::size_t> Packet::findField(std::string_view name) const
{
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (sameName(m_fields[i].name, name))
            return i;
    }
    return std::nullopt;
}

std::string PacketResult::description() const
{
    return status == PacketStatus::Ok ? std::string() : messages::invalidDataPacket();
}

PacketResult readPacket(std::vector<char> bytes)
{
    PacketResult result;
    const std::string_view raw(bytes.data(), bytes.size());
    if (raw.starts_with("\x96\x19\xE0\xBD")) {
        result.status = PacketStatus::BinaryPacket;
        return result;
    }

    // A byte order mark outweighs whatever the declaration says.
    const bool byteOrderMark = raw.starts_with("\xEF\xBB\xBF");
    std::size_t start = byteOrderMark ? 3 : 0;
    const Encoding encoding = byteOrderMark ? Encoding::Utf8 : declaredEncoding(raw);

    const bool undeclared = encoding == Encoding::Undeclared;
    std::vector<char> text;
    const std::string_view content = raw.substr(start);
    switch (encoding) {
    case Encoding::Latin1:
        text = text::fromLatin1(content);
        break;
    case Encoding::Windows1252:
        text = text::fromWindows1252(content);
        break;
    case Encoding::Utf8:
    case Encoding::Undeclared:
        // Files labelled UTF-8 that are not were saved by an editor in the ANSI code page.
        if (text::isValidUtf8(content)) {
            text = std::move(bytes);
        } else {
            text = text::fromWindows1252(content);
            start = 0;
        }
        break;
    }
    if (encoding == Encoding::Latin1 || encoding == Encoding::Windows1252)
        start = 0;

    PacketReader reader(undeclared);
    {
        Packet packet;
        const std::string_view content(text.data() + start, text.size() - start);
        if (reader.readScanned(content, packet)) {
            packet.m_text = std::move(text);
            result.packet = std::move(packet);
            return result;
        }
    }

    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer_inplace(
        text.data() + start, text.size() - start, pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        result.status = PacketStatus::NotXml;
        result.offset = static_cast<std::size_t>(parsed.offset);
        return result;
    }
    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), "DATAPACKET") != 0) {
        result.status = PacketStatus::NotAPacket;
        return result;
    }

    Packet packet;
    result.status = reader.read(root, packet);
    if (result.status == PacketStatus::Ok) {
        packet.m_text = std::move(text);
        result.packet = std::move(packet);
    }
    return result;
}

} // namespace catalog
