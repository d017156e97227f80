#include "CatalogFixtures.h"
#include "Filter.h"

#include <gtest/gtest.h>

using fixtures::matching;
using Rows = std::vector<std::size_t>;

namespace
{

const catalog::PacketResult& typedPacket()
{
    static const auto result = fixtures::read(fixtures::packet(
        R"(<FIELD attrname="s" fieldtype="string" WIDTH="10"/>)"
        R"(<FIELD attrname="w" fieldtype="string.uni" WIDTH="20"/>)"
        R"(<FIELD attrname="i" fieldtype="i4"/>)"
        R"(<FIELD attrname="big" fieldtype="i8"/>)"
        R"(<FIELD attrname="u" fieldtype="ui2"/>)"
        R"(<FIELD attrname="r" fieldtype="r8"/>)"
        R"(<FIELD attrname="m" fieldtype="r8" SUBTYPE="Money"/>)"
        R"(<FIELD attrname="f" fieldtype="fixed" DECIMALS="2" WIDTH="32"/>)"
        R"(<FIELD attrname="b" fieldtype="boolean"/>)"
        R"(<FIELD attrname="d" fieldtype="date"/>)"
        R"(<FIELD attrname="t" fieldtype="time"/>)"
        R"(<FIELD attrname="dt" fieldtype="dateTime"/>)"
        R"(<FIELD attrname="memo" fieldtype="bin.hex" SUBTYPE="Text" WIDTH="1"/>)"
        R"(<FIELD attrname="blob" fieldtype="bin.hex" SUBTYPE="Binary" WIDTH="1"/>)",
        R"(<ROW s="b" w="ação" i="10" big="9000000000" u="65535" r="8.5" m="2777815" f="646.00" b="TRUE")"
        R"( d="19961130" t="10:00:00000" dt="19950202T01:05:03000" memo="first&#013;&#010;second" blob="AQID"/>)"
        R"(<ROW s="a" w="b" i="9" big="-1" u="0" r="19.6850393700787" m="0" f="12.50" b="FALSE")"
        R"( d="20240229" t="23:59:59999" dt="19880412" memo="other" blob=""/>)"
        R"(<ROW s=""/>)"));
    return result;
}

} // namespace

TEST(FieldTypes, CompareByTheirTypeNotByText)
{
    ASSERT_TRUE(typedPacket()) << typedPacket().description();
    struct Case {
        const char* filter;
        Rows rows;
    };
    const Case cases[] = {
        {"i > 9", {0}}, // as texts "10" < "9"
        {"i = '10'", {0}},
        {"i = '$A'", {0}},
        {"i in (9, '10')", {0, 1}},
        {"i * 2 + 1 = 21", {0}},
        {"i / 4 = 2.5", {0}},
        {"big > 2147483647", {0}},
        {"big = -1", {1}},
        {"u = 65535", {0}},
        {"r < 10", {0}},
        {"r = 8.5", {0}},
        {"r > '19.5'", {1}},
        {"m >= 2777815", {0}},
        {"f = 646", {0}},
        {"f < 13", {1}},
        {"b = TRUE", {0}},
        {"b", {0}},
        {"not b", {1}},
        {"b = 'false'", {1}},
        {"d = '1996-11-30'", {0}},
        {"d > '19961130'", {1}},
        {"d < '01/01/2000'", {0}},
        {"month(d) = 2 and day(d) = 29", {1}},
        {"t < '12:00'", {0}},
        {"t > '23:59:59'", {1}},
        {"dt > '1990-01-01'", {0}},
        {"dt = '1988-04-12'", {1}},
        {"dt = '1995-02-02 01:05:03'", {0}},
        {"year(dt) = 1995 and hour(dt) = 1 and minute(dt) = 5 and second(dt) = 3", {0}},
        {"date(dt) = '19950202'", {0}},
        {"dt - d < 0", {0, 1}},
        {"memo like '%second'", {0}},
        {"memo like 'oth*'", {1}},
        {"blob like 'AQ%'", {0}},
        {"w = 'ação'", {0}},
        {"w > 'a'", {0, 1}},
        {"s = ''", {2}},
        {"i is null", {2}},
        {"memo is not null", {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(matching(typedPacket().packet, c.filter), c.rows);
    }
}

TEST(FieldTypes, ConstantsThatDoNotFitTheFieldTypeAreErrors)
{
    struct Case {
        const char* filter;
        const char* message;
    };
    const Case cases[] = {
        {"i = 'abc'", "'abc' is not a valid integer value"},
        {"i = '12*'", "'12*' is not a valid integer value"},
        {"i = '4294967296'", "'4294967296' is not a valid integer value"},
        {"r = '1,5'", "'1,5' is not a valid floating point value"},
        {"b = 'yes'", "'yes' is not a valid boolean value"},
        {"d = 'tomorrow'", "'tomorrow' is not a valid date"},
        {"d = '2023-02-29'", "'2023-02-29' is not a valid date"},
        {"t = '25:00'", "'25:00' is not a valid time"},
        {"dt = 'x'", "'x' is not a valid date and time"},
        {"memo = 'x'", "Type mismatch in expression"},
        {"blob > 'x'", "Type mismatch in expression"},
        {"s + 1 = 'x'", "Type mismatch in expression"},
        {"b = 1", "Type mismatch in expression"},
        {"upper(i) = 'X'", "Type mismatch in expression"},
        {"i like '1%'", "Type mismatch in expression"},
        {"s = d", "Type mismatch in expression"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        const auto result = catalog::compileFilter(c.filter, typedPacket().packet.fields(), {});
        EXPECT_FALSE(result);
        EXPECT_EQ(result.description(), c.message);
    }
}

TEST(FieldTypes, ValuesThatDoNotConvertCompareLikeNull)
{
    const auto result = fixtures::read(fixtures::packet(
        R"(<FIELD attrname="i" fieldtype="i4"/><FIELD attrname="d" fieldtype="date"/>)",
        R"(<ROW i="x" d="2024-01-01"/><ROW i="3" d="20240101"/>)"));
    ASSERT_TRUE(result);
    EXPECT_EQ(matching(result.packet, "i < 10 or i >= 10"), Rows{1});
    EXPECT_EQ(matching(result.packet, "d > '1900-01-01'"), Rows{1});
}
