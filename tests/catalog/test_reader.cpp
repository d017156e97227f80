#include "CatalogFixtures.h"
#include "ClientDataSet.h"
#include "Error.h"
#include "Packet.h"

#include <gtest/gtest.h>

#include <filesystem>

using fixtures::column;
using fixtures::packet;
using fixtures::read;

TEST(PacketReader, NamesFieldsByFieldnameAndReadsValuesByAttrname)
{
    const auto result =
        read(packet(R"x(<FIELD fieldname="Length (cm)" attrname="Length__cm_" fieldtype="r8"/>)x"
                    R"(<FIELD attrname="Ｎｏ" fieldtype="i4" required="true"/>)",
                    R"(<ROW Length__cm_="8.5" Ｎｏ="1"/>)"));
    ASSERT_TRUE(result) << result.description();
    const auto& fields = result.packet.fields();
    ASSERT_EQ(fields.size(), 2U);
    EXPECT_EQ(fields[0].name, "Length (cm)");
    EXPECT_EQ(fields[0].attrName, "Length__cm_");
    EXPECT_EQ(fields[1].name, "Ｎｏ");
    EXPECT_TRUE(fields[1].required);
    EXPECT_EQ(column(result.packet, 0), std::vector<std::string>{"8.5"});
    EXPECT_EQ(column(result.packet, 1), std::vector<std::string>{"1"});
    EXPECT_EQ(result.packet.findField("LENGTH (CM)"), 0U);
    EXPECT_EQ(result.packet.findField("Length__cm_"), std::nullopt);
}

TEST(PacketReader, MatchesMetadataAttributesWithoutCase)
{
    const auto result = read(packet(
        R"(<FIELD WIDTH="20" attrname="a" fieldtype="fixed" decimals="2" subtype="Money" ReadOnly="TRUE"/>)"
        R"(<FIELD ATTRNAME="b" FieldType="DATETIME"/>)",
        "", R"(<PARAMS lcid="1046" Default_Order="1" CHANGE_LOG="1 0 4" UNKNOWN="x"/>)"));
    ASSERT_TRUE(result);
    const auto& a = result.packet.fields()[0];
    EXPECT_EQ(a.width, 20);
    EXPECT_EQ(a.decimals, 2);
    EXPECT_EQ(a.subtype, "Money");
    EXPECT_TRUE(a.readOnly);
    EXPECT_EQ(a.type, catalog::FieldType::Float);
    EXPECT_EQ(result.packet.fields()[1].type, catalog::FieldType::DateTime);
    EXPECT_EQ(result.packet.params().lcid, 1046);
    EXPECT_EQ(result.packet.params().defaultOrder, "1");
    EXPECT_EQ(result.packet.params().changeLog, "1 0 4");
}

TEST(PacketReader, AcceptsTheShapesOtherWritersProduce)
{
    struct Case {
        const char* name;
        std::string xml;
        std::size_t rows;
    };
    const Case cases[] = {
        {"empty ROWDATA", packet(R"(<FIELD attrname="a" fieldtype="string"/>)", ""), 0},
        {"self-closed ROWDATA and no PARAMS",
         R"(<DATAPACKET Version="2.0"><METADATA><FIELDS><FIELD attrname="a" fieldtype="string"/></FIELDS></METADATA><ROWDATA/></DATAPACKET>)",
         0},
        {"pretty-printed, another version, no declaration",
         "<DATAPACKET Version=\"3.1\">\n  <METADATA>\n    <FIELDS>\n      <FIELD attrname=\"a\" "
         "fieldtype=\"string\"/>\n    </FIELDS>\n    <PARAMS></PARAMS>\n  </METADATA>\n  "
         "<ROWDATA>\n    <ROW a=\"1\"/>\n    <ROW a=\"2\"/>\n  </ROWDATA>\n</DATAPACKET>\n",
         2},
        {"no ROWDATA at all",
         R"(<DATAPACKET><METADATA><FIELDS><FIELD attrname="a" fieldtype="string"/></FIELDS></METADATA></DATAPACKET>)",
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = read(c.xml);
        ASSERT_TRUE(result) << result.description();
        EXPECT_EQ(result.packet.rowCount(), c.rows);
    }
}

TEST(PacketReader, SkipsNestedDatasetsWithoutError)
{
    const auto result = read(packet(
        R"(<FIELD attrname="cliente" fieldtype="i4"/>)"
        R"(<FIELD attrname="itens" fieldtype="nested"><FIELDS><FIELD attrname="qtd" fieldtype="r8"/>)"
        R"(<FIELD attrname="LINK_FIELD" fieldtype="ui4" hidden="true" linkfield="true"/></FIELDS>)"
        R"(<PARAMS CHANGE_LOG="1 0 4 2 0 4"/></FIELD>)"
        R"(<FIELD attrname="nome" fieldtype="string"/>)",
        R"(<ROW RowState="4" cliente="10" nome="x"><itens><ROWitens RowState="4" qtd="2" LINK_FIELD="1"/>)"
        R"(<ROWitens RowState="4" qtd="3" LINK_FIELD="2"/></itens></ROW>)",
        R"(<PARAMS CHANGE_LOG="1 0 4 1 1 64 1 1 64"/>)"));
    ASSERT_TRUE(result) << result.description();
    ASSERT_EQ(result.packet.fields().size(), 2U);
    EXPECT_EQ(result.packet.fields()[1].name, "nome");
    EXPECT_EQ(column(result.packet, 0), std::vector<std::string>{"10"});
    EXPECT_EQ(column(result.packet, 1), std::vector<std::string>{"x"});
}

TEST(PacketReader, KeepsNullApartFromEmptyAndValuesAsWritten)
{
    const auto result = read(packet(
        R"(<FIELD attrname="a" fieldtype="string"/><FIELD attrname="b" fieldtype="string"/>)",
        R"(<ROW a="" b="         1"/><ROW b="x&amp;y &lt;z&gt; &quot;q&quot; &apos;"/>)"
        R"(<ROW a="linha1&#013;&#010;linha2" b="tab	raw"/>)"));
    ASSERT_TRUE(result);
    EXPECT_EQ(column(result.packet, 0),
              (std::vector<std::string>{"", "<null>", "linha1\r\nlinha2"}));
    // Leading blanks stay; a raw TAB in an attribute is a blank under XML's attribute rules.
    EXPECT_EQ(column(result.packet, 1),
              (std::vector<std::string>{"         1", "x&y <z> \"q\" '", "tab raw"}));
}

TEST(PacketReader, RejectsWhatIsNoPacketWithOneClearError)
{
    const std::string good =
        packet(R"(<FIELD attrname="a" fieldtype="string"/>)", R"(<ROW a="1"/>)");
    struct Case {
        const char* name;
        std::string bytes;
        catalog::PacketStatus status;
    };
    const Case cases[] = {
        {"empty file", "", catalog::PacketStatus::NotXml},
        {"plain text", "cod_web;descricao\n1;x\n", catalog::PacketStatus::NotXml},
        {"truncated", good.substr(0, good.size() / 2), catalog::PacketStatus::NotXml},
        {"binary packet", std::string("\x96\x19\xE0\xBD\x01\x00\x00\x00", 8),
         catalog::PacketStatus::BinaryPacket},
        {"another root", "<catalog><item/></catalog>", catalog::PacketStatus::NotAPacket},
        {"no fields", "<DATAPACKET><ROWDATA/></DATAPACKET>", catalog::PacketStatus::BadMetadata},
        {"unnamed field", packet(R"(<FIELD fieldtype="string"/>)", ""),
         catalog::PacketStatus::BadMetadata},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = read(c.bytes);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.description(), "Invalid data packet");
        EXPECT_EQ(result.packet.rowCount(), 0U);
        EXPECT_TRUE(result.packet.fields().empty());
    }
}

TEST(DataSetOpen, ReportsFileErrorsWithTheEngineTexts)
{
    const fixtures::TempDir dir;
    const std::string folder = dir.path().string();
    const std::string garbage = dir.write("garbage.xml", "\x96\x19\xE0\xBD garbage");
    struct Case {
        std::string fileName;
        std::string message;
    };
    const Case cases[] = {
        {folder + "/ketmo.xml", "cdxtb: Missing data provider or data packet"},
        {"", "cdxtb: Missing data provider or data packet"},
        {folder, "Cannot open file \"" + folder + "\". Is a directory"},
        {garbage, "Invalid data packet"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileName);
        catalog::ClientDataSet cdxtb("cdxtb");
        cdxtb.setFileName(c.fileName);
        try {
            cdxtb.open();
            ADD_FAILURE() << "open succeeded";
        } catch (const catalog::Error& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
        EXPECT_FALSE(cdxtb.active());
        EXPECT_EQ(cdxtb.recordCount(), 0U);
        EXPECT_EQ(cdxtb.recNo(), -1);
    }
}

TEST(DataSetOpen, AFailedReopenLeavesNothingOfTheOldOrNewFile)
{
    const fixtures::TempDir dir;
    const std::string file =
        dir.write("ketmo.xml", packet(fixtures::catalogFields,
                                      R"(<ROW cod_disp="1" cod_web="10" descricao="x"/>)"));
    catalog::ClientDataSet cdxtb("cdxtb");
    cdxtb.setFileName(file);
    cdxtb.open();
    ASSERT_EQ(cdxtb.recordCount(), 1U);
    EXPECT_EQ(cdxtb.fieldByName("DESCRICAO"), "x");

    cdxtb.close();
    dir.write("ketmo.xml", packet(fixtures::catalogFields, R"(<ROW cod_disp="1")"));
    EXPECT_THROW(cdxtb.open(), catalog::Error);
    EXPECT_FALSE(cdxtb.active());
    EXPECT_EQ(cdxtb.recordCount(), 0U);
    EXPECT_EQ(cdxtb.fieldCount(), 0U);
    try {
        (void)cdxtb.fieldByName("descricao");
        ADD_FAILURE() << "read a field of a closed dataset";
    } catch (const catalog::Error& error) {
        EXPECT_STREQ(error.what(), "cdxtb: Field 'descricao' not found");
    }
}

TEST(DataSetOpen, AnIndexFieldTheFileLacksKeepsTheDataSetClosed)
{
    const fixtures::TempDir dir;
    const std::string file =
        dir.write("ketmo.xml", packet(R"(<FIELD attrname="cod_web" fieldtype="string"/>)",
                                      R"(<ROW cod_web="1"/>)"));
    catalog::ClientDataSet cdxtb("cdxtb");
    cdxtb.addIndex("discip", "cod_disp;cod_web");
    cdxtb.setIndexName("discip");
    cdxtb.setFileName(file);
    try {
        cdxtb.open();
        ADD_FAILURE() << "open succeeded";
    } catch (const catalog::Error& error) {
        EXPECT_STREQ(error.what(), "cdxtb: Field 'cod_disp' not found");
    }
    EXPECT_FALSE(cdxtb.active());
    EXPECT_EQ(cdxtb.recordCount(), 0U);
}

TEST(DataSetOpen, ReadsTheFileAgainAtEveryOpen)
{
    const fixtures::TempDir dir;
    const std::string file =
        dir.write("ketmo.xml", packet(fixtures::catalogFields, R"(<ROW cod_web="1"/>)"));
    catalog::ClientDataSet cdxtb("cdxtb");
    cdxtb.setFileName(file);
    cdxtb.open();
    EXPECT_EQ(cdxtb.recordCount(), 1U);
    dir.write("ketmo.xml",
              packet(fixtures::catalogFields, R"(<ROW cod_web="1"/><ROW cod_web="2"/>)"));
    cdxtb.close();
    cdxtb.open();
    EXPECT_EQ(cdxtb.recordCount(), 2U);
}

TEST(DataSetOpen, AnEmptyViewReadsEmptyTexts)
{
    const fixtures::TempDir dir;
    const std::string file = dir.write("ketmo.xml", packet(fixtures::catalogFields, ""));
    catalog::ClientDataSet cdxtb("cdxtb");
    cdxtb.setFileName(file);
    cdxtb.open();
    EXPECT_EQ(cdxtb.recNo(), -1);
    EXPECT_EQ(cdxtb.fieldByName("executavel"), "");
    EXPECT_EQ(cdxtb.fieldByName("caminho"), "");
    EXPECT_THROW((void)cdxtb.fieldByName("nada"), catalog::Error);
}

// Plain rows are scanned, anything else goes through the XML parser: both must read alike.
TEST(PacketReader, ReadsEveryShapeOfRowTheSameWay)
{
    const std::string fields =
        R"(<FIELD attrname="a" fieldtype="string"/><FIELD attrname="b" fieldtype="string"/>)";
    struct Case {
        const char* name;
        std::string rows;
        std::vector<std::string> a;
        std::vector<std::string> b;
        std::string params = "<PARAMS/>";
    };
    const Case cases[] = {
        {"plain", R"(<ROW a="1" b="x"/><ROW b=""/>)", {"1", "<null>"}, {"x", ""}},
        {"blanks around = and apostrophes",
         "<ROW\ta = 'say \"hi\"'\n b=\"2\" />",
         {"say \"hi\""},
         {"2"}},
        {"references",
         R"(<ROW a="&#x41;&#66;&amp;" b="&#013;&#010;&lt;&gt;&quot;&apos;"/>)",
         {"AB&"},
         {"\r\n<>\"'"}},
        {"references the parser leaves alone",
         R"(<ROW a="&#X41;" b="&nbsp;&#;"/>)",
         {"&#X41;"},
         {"&nbsp;&#;"}},
        {"raw line breaks", "<ROW a=\"1\r\n2\" b=\"3\n4\"/>", {"1 2"}, {"3 4"}},
        {"repeated attribute", R"(<ROW a="1" a="2"/>)", {"2"}, {"<null>"}},
        {"open and close tags",
         R"(<ROW a="1"> </ROW><ROW a="2"><b/></ROW>)",
         {"1", "2"},
         {"<null>", "<null>"}},
        {"comment among the rows",
         R"(<ROW a="1"/><!-- <ROW a="x"/> --><ROW a="2"/>)",
         {"1", "2"},
         {"<null>", "<null>"}},
        {"change log history",
         R"(<ROW RowState="4" a="1"/><ROW RowState="5" a="old"/>)",
         {"1"},
         {"<null>"}},
        {"ROWDATA written in a comment before the real one",
         R"(<ROW a="1"/>)",
         {"1"},
         {"<null>"},
         R"(<PARAMS/><!-- <ROWDATA><ROW a="no"/></ROWDATA> -->)"},
        {"a second ROWDATA, which nobody reads",
         R"(<ROW a="1"/></ROWDATA><ROWDATA><ROW a="2"/>)",
         {"1"},
         {"<null>"}},
        {"a lower-case rowdata before it, which the reader takes first",
         R"(<ROW a="1"/>)",
         {"x"},
         {"<null>"},
         R"(<PARAMS/></METADATA><rowdata><ROW a="x"/></rowdata><METADATA>)"},
        {"lower-case row elements",
         R"(<row a="1"/><ROW a="2"/>)",
         {"1", "2"},
         {"<null>", "<null>"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = read(packet(fields, c.rows, c.params));
        ASSERT_TRUE(result) << result.description();
        EXPECT_EQ(column(result.packet, 0), c.a);
        EXPECT_EQ(column(result.packet, 1), c.b);
    }
}

TEST(PacketReader, RejectsMalformedRowsWhereverTheyStand)
{
    const std::string fields = R"(<FIELD attrname="a" fieldtype="string"/>)";
    const char* const rows[] = {
        R"(<ROW a="1"/><ROW a="2")", R"(<ROW a="1" a/>)",         R"(<ROW a=1/>)",
        R"(<ROW a="1"b="2"/>)",      R"(<ROW a="1></ROW>)",       R"(<ROW a="1"></ROWS>)",
        R"(<ROW 1a="1"/>)",          R"(<ROW a="1"/></ROWDATA>)",
    };
    for (const char* text : rows) {
        SCOPED_TRACE(text);
        const auto result = read(packet(fields, text));
        EXPECT_EQ(result.status, catalog::PacketStatus::NotXml);
    }
}
