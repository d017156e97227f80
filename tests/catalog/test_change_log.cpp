#include "CatalogFixtures.h"

#include <gtest/gtest.h>

using fixtures::column;
using fixtures::read;
using Texts = std::vector<std::string>;

namespace
{

constexpr std::string_view fields = R"(<FIELD attrname="cod_web" fieldtype="string"/>)"
                                    R"(<FIELD attrname="descricao" fieldtype="string"/>)";

} // namespace

TEST(ChangeLog, OnlyTheCurrentVersionOfEachRecordIsARecord)
{
    struct Case {
        const char* name;
        const char* rows;
        const char* changeLog;
        Texts descriptions;
    };
    const Case cases[] = {
        {"unchanged rows",
         R"(<ROW cod_web="1" descricao="a"/><ROW RowState="0" cod_web="2" descricao="b"/>)",
         "",
         {"a", "b"}},
        {"inserted rows",
         R"(<ROW RowState="4" cod_web="1" descricao="a"/><ROW RowState="4" cod_web="2" descricao="b"/>)",
         "1 0 4 2 0 4",
         {"a", "b"}},
        {"an insert edited afterwards",
         R"(<ROW RowState="5" cod_web="1" descricao="first draft"/><ROW RowState="4" cod_web="2" descricao="b"/>)"
         R"(<ROW RowState="12" cod_web="1" descricao="final"/>)",
         "1 0 4 2 0 4 3 1 8",
         {"b", "final"}},
        {"an original row and its modification",
         R"(<ROW RowState="1" cod_web="1" descricao="old"/><ROW RowState="8" cod_web="1" descricao="new"/>)",
         "2 1 8",
         {"new"}},
        {"a deleted row",
         R"(<ROW RowState="2" cod_web="1" descricao="gone"/><ROW cod_web="2" descricao="kept"/>)",
         "1 1 2",
         {"kept"}},
        {"an unused slot and a detail change",
         R"(<ROW RowState="32" cod_web="1" descricao="hole"/><ROW RowState="64" cod_web="2" descricao="master"/>)"
         R"(<ROW RowState="68" cod_web="3" descricao="new master"/>)",
         "2 2 64",
         {"master", "new master"}},
        {"a deleted insert",
         R"(<ROW RowState="6" cod_web="1" descricao="tmp"/>)",
         "1 0 4 1 1 2",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string params = std::string(R"(<PARAMS CHANGE_LOG=")") + c.changeLog + R"("/>)";
        const auto result = read(fixtures::packet(fields, c.rows, params));
        ASSERT_TRUE(result) << result.description();
        EXPECT_EQ(column(result.packet, 1), c.descriptions);
        EXPECT_EQ(result.packet.params().changeLog, c.changeLog);
    }
}
