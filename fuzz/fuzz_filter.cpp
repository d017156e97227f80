// Feeds arbitrary text to the filter language (parser and evaluator) over a packet with a field
// of every type, and to the conversions the search and the constants use.
#include "Conversions.h"
#include "Filter.h"
#include "Packet.h"
#include "Text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace
{

const catalog::Packet& packet()
{
    static const catalog::PacketResult result = [] {
        const std::string xml =
            R"(<DATAPACKET Version="2.0"><METADATA><FIELDS>)"
            R"(<FIELD attrname="cod_disp" fieldtype="i4"/><FIELD attrname="cod_web" fieldtype="string"/>)"
            R"(<FIELD attrname="serie" fieldtype="string"/><FIELD attrname="disciplina" fieldtype="string"/>)"
            R"(<FIELD attrname="tipo" fieldtype="string"/><FIELD attrname="descricao" fieldtype="string"/>)"
            R"(<FIELD attrname="big" fieldtype="i8"/><FIELD attrname="r" fieldtype="r8"/>)"
            R"(<FIELD attrname="f" fieldtype="fixed" DECIMALS="2"/><FIELD attrname="b" fieldtype="boolean"/>)"
            R"(<FIELD attrname="d" fieldtype="date"/><FIELD attrname="t" fieldtype="time"/>)"
            R"(<FIELD attrname="dt" fieldtype="dateTime"/><FIELD attrname="memo" fieldtype="bin.hex" SUBTYPE="Text"/>)"
            R"(<FIELD attrname="blob" fieldtype="bin.hex" SUBTYPE="Binary"/>)"
            R"(</FIELDS><PARAMS/></METADATA><ROWDATA>)"
            R"(<ROW cod_disp="1" cod_web="120" serie="3A" disciplina="Ciências" tipo="delvanos" descricao="Água doce" big="9223372036854775807" r="8.5" f="646.00" b="TRUE" d="19961130" t="10:00:00000" dt="19950202T01:05:03000" memo="a&#013;&#010;b" blob="AQID"/>)"
            R"(<ROW cod_disp="-2147483648" cod_web="" serie="3A" disciplina="História" descricao="d'água" big="-9223372036854775808" r="-1e308" f="0" b="FALSE" d="00010101" t="23:59:59999" dt="99991231T23:59:59999" memo="" blob=""/>)"
            R"(<ROW cod_disp="x" r="nan" d="bad" dt="1" b="maybe"/>)"
            R"(</ROWDATA></DATAPACKET>)";
        return catalog::readPacket(std::vector<char>(xml.begin(), xml.end()));
    }();
    return result.packet;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the filter options; the rest is the text.
    const catalog::FilterOptions options{.caseInsensitive = (data[0] & 1) != 0,
                                         .noPartialCompare = (data[0] & 2) != 0};
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const auto result = catalog::compileFilter(text, packet().fields(), options);
    if (result.offset > text.size())
        __builtin_trap();
    (void)result.description();
    for (std::size_t row = 0; result && row < packet().rowCount(); ++row)
        (void)result.filter.matches(packet(), row);

    (void)catalog::conversions::toInteger(text);
    (void)catalog::conversions::dateTimeConstant(text, catalog::FieldType::DateTime);
    (void)catalog::conversions::dateTimeConstant(text, catalog::FieldType::Time);
    const std::string_view left = text.substr(0, text.size() / 2);
    const std::string_view right = text.substr(text.size() / 2);
    (void)catalog::text::collate(left, right);
    (void)catalog::text::like(left, right, true);
    (void)catalog::text::startsWith(left, right, true);
    (void)catalog::text::toUpper(text);
    return 0;
}
