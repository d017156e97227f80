#include "DataPacket.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <fstream>

namespace
{

const std::vector<datapacket::Field> fields = {
    {"cod_disp", "i4", 0}, {"descricao", "string", 40}, {"data_cad", "date", 0}};

TEST(DataPacket, TextSurvivesAnXmlReaderByteForByte)
{
    struct Case {
        const char* utf8;
        const char* windows1252;
    };
    const Case cases[] = {
        {"Matem\u00e1tica", "Matem\xe1tica"},
        {"5\u00ba Ano \u2013 \u201cdesafio\u201d \u20ac", "5\xba Ano \x96 \x93"
                                                          "desafio\x94 \x80"},
        {"Caixa d'\u00e1gua & \"sab\u00e3o\" <1>", "Caixa d'\xe1gua & \"sab\xe3o\" <1>"},
        {"linha 1\r\nlinha 2", "linha 1\r\nlinha 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        const std::string packet = datapacket::write(fields, {{{"descricao", c.utf8}}});
        pugi::xml_document document;
        // Latin-1 keeps every byte as one character, so the bytes can be compared after parsing.
        ASSERT_TRUE(document.load_buffer(packet.data(), packet.size(), pugi::parse_default,
                                         pugi::encoding_latin1));
        const std::string value =
            document.select_node("//ROW").node().attribute("descricao").value();
        std::string bytes;
        for (std::size_t i = 0; i < value.size(); ++i) {
            const auto lead = static_cast<unsigned char>(value[i]);
            if (lead < 0x80) {
                bytes += value[i];
            } else {
                bytes += static_cast<char>(((lead & 0x03) << 6) | (value[i + 1] & 0x3f));
                ++i;
            }
        }
        EXPECT_EQ(bytes, c.windows1252);
    }
}

TEST(DataPacket, AbsentValuesAreNullAttributes)
{
    const std::string packet =
        datapacket::write(fields, {{{"cod_disp", "12"}}, {{"descricao", ""}}});
    EXPECT_NE(packet.find(R"(<ROWDATA><ROW cod_disp="12"/><ROW descricao=""/></ROWDATA>)"),
              std::string::npos);
}

TEST(DataPacket, RejectsValuesTheFieldCannotHold)
{
    const std::pair<const char*, const char*> cases[] = {
        {"cod_disp", "12a"},
        {"cod_disp", "99999999999"},
        {"data_cad", "2023-1-1"},
        {"descricao", "a text that is much longer than forty letters"},
        {"descricao", "\u65e5\u672c"}, // no Windows-1252 form
    };
    for (const auto& [field, value] : cases) {
        SCOPED_TRACE(value);
        EXPECT_THROW((void)datapacket::write(fields, {{{field, value}}}), std::runtime_error);
    }
}

} // namespace
