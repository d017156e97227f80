#include "CatalogFixtures.h"
#include "ClientDataSet.h"
#include "Error.h"
#include "Filter.h"

#include <gtest/gtest.h>

#include <functional>

using fixtures::matching;
using Rows = std::vector<std::size_t>;

namespace
{

const catalog::Packet& catalogPacket()
{
    static const auto result = fixtures::read(fixtures::packet(
        fixtures::catalogFields,
        R"(<ROW cod_disp="1" cod_web="120" serie="3A" disciplina="Ciências" tipo="delvanos" descricao="Água doce"/>)"
        R"(<ROW cod_disp="2" cod_web="12A" serie="3A" disciplina="Ciências" tipo="Delvanos" descricao="ar"/>)"
        R"(<ROW cod_disp="3" cod_web="7" serie="3A" disciplina="ciências" descricao="50% de desconto"/>)"
        R"(<ROW cod_disp="4" cod_web="8" serie="4A" disciplina="Matemática" tipo="" descricao="a*b"/>)"
        R"(<ROW cod_disp="10" cod_web="*" serie="3A" disciplina="História" tipo="jogo" descricao="d'água"/>)"));
    return result.packet;
}

} // namespace

TEST(FilterEval, SelectsTheRecordsTheProgramsFiltersDescribe)
{
    struct Case {
        const char* filter;
        Rows rows;
        catalog::FilterOptions options = {};
    };
    const Case cases[] = {
        {"serie='3A' and disciplina='Ciências' and tipo='delvanos'", {0}},
        // NULL fails every comparison, <> included.
        {"serie='3A' and disciplina='Ciências' and tipo<>'delvanos'", {1}},
        {"serie='3A' and (disciplina='Geografia' or disciplina='História') and tipo<>'delvanos'",
         {4}},
        {"tipo is null", {2}},
        {"tipo = ''", {3}},
        {"not tipo = 'jogo'", {0, 1, 3}},
        {"not (tipo = 'jogo' and serie = '3A')", {0, 1, 3}},
        {"tipo = 'jogo' or serie = '3A'", {0, 1, 2, 4}},
        {"tipo <> 'x' or cod_disp = 3", {0, 1, 2, 3, 4}},
        // The partial rule: a constant of two or more characters ending in * means "begins with".
        {"cod_web = '12*'", {0, 1}},
        {"cod_web <> '12*'", {2, 3, 4}},
        {"cod_web = '*'", {4}},
        {"descricao = 'a*b'", {3}},
        {"descricao like 'a*'", {1, 3}},
        {"cod_web = '12*'", {}, {.noPartialCompare = true}},
        {"upper(cod_web) = '12*'", {}},
        // Case-insensitivity applies to text fields against constants, and only there.
        {"disciplina = 'CIÊNCIAS'", {0, 1, 2}, {.caseInsensitive = true}},
        {"disciplina = 'CIÊNCIAS'", {}},
        {"tipo = 'DELV*'", {0, 1}, {.caseInsensitive = true}},
        {"tipo in ('JOGO', 'delvanos')", {0, 1, 4}, {.caseInsensitive = true}},
        {"disciplina < 'Ciências'", {}, {.caseInsensitive = true}},
        {"descricao = 'água doce'", {0}, {.caseInsensitive = true}},
        // LIKE with % and _; % inside the data is just a character.
        {"descricao like '%água%'", {0, 4}, {.caseInsensitive = true}},
        {"descricao like 'a_'", {1}},
        {"descricao like '50%'", {2}},
        {"descricao like '%'", {0, 1, 2, 3, 4}},
        {"cod_web like '1__'", {0, 1}},
        {"cod_disp in (1, 10)", {0, 4}},
        {"cod_disp >= 2 and cod_disp < 10", {1, 2, 3}},
        {"cod_disp * 2 - 1 = 3", {1}},
        {"cod_disp = 1.0", {0}},
        {"cod_web = 7", {2}},
        {"descricao = 'd''água'", {4}},
        {"upper(descricao) like 'ÁGUA%'", {0}},
        {"lower(disciplina) = 'ciências'", {0, 1, 2}},
        {"trim('  x  ') = 'x' and trimleft('**x', '*') = 'x' and trimright('x  ') = 'x'",
         {0, 1, 2, 3, 4}},
        {"substring(descricao, 1, 4) = 'Água'", {0}},
        {"substring(disciplina, 6) = 'ias'", {0, 1, 2}},
        {"serie + disciplina = '3AHistória'", {4}},
        {"TRUE", {0, 1, 2, 3, 4}},
        {"cod_disp = NULL", {}},
        {"NULL <> cod_disp", {0, 1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(matching(catalogPacket(), c.filter, c.options), c.rows);
    }
}

namespace
{

class FilteredDataSet : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_file = m_dir.write(
            "ketmo.xml", fixtures::packet(R"(<FIELD attrname="serie" fieldtype="string"/>)"
                                          R"(<FIELD attrname="tipo" fieldtype="string"/>)",
                                          R"(<ROW serie="3A" tipo="a"/><ROW serie="4A" tipo="b"/>)"
                                          R"(<ROW serie="3A" tipo="c"/>)"));
        m_cdxtb.setFileName(m_file);
        m_cdxtb.open();
    }

    std::string errorOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const catalog::Error& error) {
            return error.what();
        }
        return "no error";
    }

    fixtures::TempDir m_dir;
    std::string m_file;
    catalog::ClientDataSet m_cdxtb{"cdxtb"};
};

} // namespace

TEST_F(FilteredDataSet, AFieldTheFileLacksLeavesFilteringOffAndEverythingVisible)
{
    m_cdxtb.setFilter("serie='3A' and disciplina='Ciências'");
    EXPECT_EQ(m_cdxtb.recordCount(), 3U); // not parsed while filtering is off
    EXPECT_EQ(errorOf([this] { m_cdxtb.setFiltered(true); }),
              "cdxtb: Field 'disciplina' not found");
    EXPECT_FALSE(m_cdxtb.filtered());
    EXPECT_EQ(m_cdxtb.recordCount(), 3U);
    EXPECT_EQ(errorOf([this] { m_cdxtb.setFilter("serie='3A"); }), "no error");
    EXPECT_EQ(errorOf([this] { m_cdxtb.setFiltered(true); }), "Unterminated string constant");
}

TEST_F(FilteredDataSet, ABadNewTextDropsTheOldFilterButKeepsItsText)
{
    m_cdxtb.setFilter("serie='3A'");
    m_cdxtb.setFiltered(true);
    EXPECT_EQ(m_cdxtb.recordCount(), 2U);
    m_cdxtb.setRecNo(1);
    EXPECT_EQ(errorOf([this] { m_cdxtb.setFilter("serie='3A' and nada=1"); }),
              "cdxtb: Field 'nada' not found");
    EXPECT_TRUE(m_cdxtb.filtered());
    EXPECT_EQ(m_cdxtb.filter(), "serie='3A'");
    EXPECT_EQ(m_cdxtb.recordCount(), 3U);
    m_cdxtb.setFilter("tipo='B'");
    EXPECT_EQ(m_cdxtb.recordCount(), 0U);
    m_cdxtb.setFilterOptions({.caseInsensitive = true});
    EXPECT_EQ(m_cdxtb.recordCount(), 1U);
    EXPECT_EQ(m_cdxtb.fieldByName("serie"), "4A");
}

TEST_F(FilteredDataSet, EveryChangeOfTheViewMakesTheFirstRecordCurrent)
{
    m_cdxtb.setRecNo(2);
    m_cdxtb.setFilter("tipo<>'b'");
    m_cdxtb.setFiltered(true);
    EXPECT_EQ(m_cdxtb.recNo(), 0);
    m_cdxtb.setRecNo(1);
    EXPECT_EQ(m_cdxtb.fieldByName("tipo"), "c");
    m_cdxtb.setFiltered(false);
    EXPECT_EQ(m_cdxtb.recNo(), 0);
    EXPECT_EQ(m_cdxtb.fieldByName("tipo"), "a");
}

TEST_F(FilteredDataSet, AFilterAppliedAtOpenThatFailsKeepsTheDataSetClosed)
{
    m_cdxtb.setFilter("tipo = 'a'");
    m_cdxtb.setFiltered(true);
    m_cdxtb.close();
    m_cdxtb.setFilter("nada = 'a'");
    EXPECT_EQ(errorOf([this] { m_cdxtb.open(); }), "cdxtb: Field 'nada' not found");
    EXPECT_FALSE(m_cdxtb.active());
}
