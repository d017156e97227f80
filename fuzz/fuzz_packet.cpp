// Feeds arbitrary bytes to the packet reader, then works the records it returns the way the
// dataset does: every value read, the index built over the first fields, a filter applied.
#include "Filter.h"
#include "IndexOrder.h"
#include "Packet.h"
#include "Text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto result = catalog::readPacket(std::vector<char>(data, data + size));
    if (!result) {
        (void)result.description();
        return 0;
    }
    const catalog::Packet& packet = result.packet;
    const auto& fields = packet.fields();

    std::size_t characters = 0;
    for (std::size_t field = 0; field < fields.size(); ++field) {
        for (std::size_t row = 0; row < packet.rowCount(); ++row) {
            const std::string_view cell = packet.cell(row, field);
            for (std::size_t pos = 0; pos < cell.size(); ++characters)
                (void)catalog::text::next(cell, pos);
        }
    }

    std::vector<std::size_t> keys;
    for (std::size_t field = 0; field < fields.size() && field < 3; ++field)
        keys.push_back(field);
    const auto order = catalog::indexOrder(packet, keys);
    if (order.size() != packet.rowCount())
        __builtin_trap();

    if (!fields.empty() && fields[0].name.find(']') == std::string::npos) {
        const std::string name = "[" + fields[0].name + "]";
        for (const std::string& text : {name + " like '%a_%' or " + name + " is null",
                                        name + " > 1 and not " + name + " = 'x*'"}) {
            const auto filter = catalog::compileFilter(text, fields, {.caseInsensitive = true});
            for (std::size_t row = 0; filter && row < packet.rowCount(); ++row)
                (void)filter.filter.matches(packet, row);
        }
    }
    return characters == SIZE_MAX ? 1 : 0;
}
