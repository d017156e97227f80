// Feeds arbitrary bytes as the content of ROWDATA and checks that the packet reads the same when
// an empty comment leads that content. The comment changes nothing for an XML parser but makes
// the row scanner decline, so the two reads compare the scanner with the parser on every input
// the scanner accepts.
#include "Packet.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace
{

constexpr std::string_view head =
    R"(<?xml version="1.0" standalone="yes"?>  <DATAPACKET Version="2.0"><METADATA><FIELDS>)"
    R"(<FIELD attrname="a" fieldtype="string"/><FIELD attrname="b" fieldtype="i4"/>)"
    R"(<FIELD attrname="RowState" fieldtype="i4"/></FIELDS><PARAMS/></METADATA><ROWDATA>)";
constexpr std::string_view tail = "</ROWDATA></DATAPACKET>";
constexpr std::string_view comment = "<!---->";

catalog::PacketResult read(std::string_view lead, std::string_view rows)
{
    std::string bytes(head);
    bytes.append(lead).append(rows).append(tail);
    return catalog::readPacket(std::vector<char>(bytes.begin(), bytes.end()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view rows(reinterpret_cast<const char*>(data), size);
    const auto scanned = read("", rows);
    const auto parsed = read(comment, rows);
    if (scanned.status != parsed.status)
        __builtin_trap();
    if (!scanned) {
        if (scanned.status == catalog::PacketStatus::NotXml
            && scanned.offset + comment.size() != parsed.offset)
            __builtin_trap();
        return 0;
    }
    const catalog::Packet& a = scanned.packet;
    const catalog::Packet& b = parsed.packet;
    if (a.rowCount() != b.rowCount() || a.fields().size() != b.fields().size())
        __builtin_trap();
    for (std::size_t field = 0; field < a.fields().size(); ++field) {
        for (std::size_t row = 0; row < a.rowCount(); ++row) {
            const std::string_view x = a.cell(row, field);
            const std::string_view y = b.cell(row, field);
            if ((x.data() == nullptr) != (y.data() == nullptr) || x != y)
                __builtin_trap();
        }
    }
    return 0;
}
