#include "CatalogFixtures.h"
#include "CatalogOperations.h"
#include "ClientDataSet.h"
#include "Error.h"

#include <gtest/gtest.h>

namespace
{

// The quiz view of 3A/Ciências, in index order: 11, 120, 12A, 123, 130, 5000 (cod_disp decides
// first), with a lesson and another grade that the view leaves out.
const std::string catalogRows =
    R"(<ROW cod_disp="1" cod_web="11" serie="3A" disciplina="Ciências" tipo="quiz" descricao="Ar e água"/>)"
    R"(<ROW cod_disp="2" cod_web="12A" serie="3A" disciplina="Ciências" tipo="jogo" descricao="d'água doce"/>)"
    R"(<ROW cod_disp="1" cod_web="120" serie="3A" disciplina="Ciências" tipo="quiz" descricao="Animais"/>)"
    R"(<ROW cod_disp="3" cod_web="123" serie="3A" disciplina="Ciências" tipo="quiz" descricao="arco-íris"/>)"
    R"(<ROW cod_disp="3" cod_web="130" serie="3A" disciplina="Ciências" tipo="quiz" descricao="x' or 'a"/>)"
    R"(<ROW cod_disp="4" cod_web="5000" serie="3A" disciplina="Ciências" tipo="quiz" descricao="12 meses"/>)"
    R"(<ROW cod_disp="0" cod_web="1" serie="3A" disciplina="Ciências" tipo="delvanos" descricao="Aula"/>)"
    R"(<ROW cod_disp="0" cod_web="2" serie="4A" disciplina="Ciências" tipo="quiz" descricao="Outra"/>)";

class Search : public ::testing::Test
{
protected:
    void openQuizzes(const std::string& fields = std::string(fixtures::catalogFields))
    {
        const std::string file = m_dir.write("ketmo.xml", fixtures::packet(fields, catalogRows));
        catalog::useCatalogIndex(m_cdxtb);
        catalog::openWithFilter(m_cdxtb, file, catalog::View::Quizzes, "3A", "Ciências");
    }

    fixtures::TempDir m_dir;
    catalog::ClientDataSet m_cdxtb{"cdxtb"};
};

} // namespace

TEST_F(Search, MovesToTheFirstCodeOrDescriptionThatBeginsWithTheText)
{
    openQuizzes();
    ASSERT_EQ(m_cdxtb.recordCount(), 6U);
    struct Case {
        std::string_view text;
        std::ptrdiff_t from; // current record before the search
        bool found;
        std::ptrdiff_t at;
    };
    const Case cases[] = {
        {"1", 3, true, 0},
        // 120 comes before 12A: cod_disp orders first.
        {"12", 0, true, 1},
        {"123", 0, true, 3},
        // Not an integer: searched in descricao, where nothing begins so.
        {"12A", 0, false, 0},
        {"5000", 0, true, 5},
        // Converts, but no code begins with "$1F"; there is no fallback then.
        {"$1F", 2, false, 2},
        // Digits that match no code do not fall back to descricao.
        {"99", 4, false, 4},
        // Letters find descriptions in either case.
        {"ar", 5, true, 0},
        {"AR", 5, true, 0},
        {"ARC", 0, true, 3},
        {"animais", 0, true, 1},
        // An empty text moves nothing; blanks are no integer and begin no description.
        {"", 4, false, 4},
        {"   ", 4, false, 4},
        // Apostrophes are plain characters of the text.
        {"d'água", 0, true, 2},
        {"D'ÁGUA DOCE", 0, true, 2},
        {"x' or 'a", 0, true, 4},
        {"d' and x", 3, false, 3},
        {"o' 12", 3, false, 3},
        {"a''b", 3, false, 3},
        {"'", 3, false, 3},
        {"12 meses", 0, true, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << '"');
        m_cdxtb.setRecNo(static_cast<std::size_t>(c.from));
        EXPECT_EQ(catalog::search(m_cdxtb, c.text), c.found);
        EXPECT_EQ(m_cdxtb.recNo(), c.at);
    }
}

TEST_F(Search, ANumericCodeFieldComparesTheNumber)
{
    std::string fields(fixtures::catalogFields);
    fields.replace(fields.find(R"("cod_web" fieldtype="string")"), 28,
                   R"("cod_web" fieldtype="i4"   )");
    const std::string file = m_dir.write(
        "ketmo.xml",
        fixtures::packet(
            fields,
            R"(<ROW cod_disp="1" cod_web="120" serie="3A" disciplina="C" tipo="q" descricao="12 meses"/>)"
            R"(<ROW cod_disp="2" cod_web="12" serie="3A" disciplina="C" tipo="q" descricao="b"/>)"));
    catalog::useCatalogIndex(m_cdxtb);
    catalog::openWithFilter(m_cdxtb, file, catalog::View::Quizzes, "3A", "C");
    EXPECT_TRUE(catalog::search(m_cdxtb, "12"));
    EXPECT_EQ(m_cdxtb.recNo(), 1);
    EXPECT_TRUE(catalog::search(m_cdxtb, "$78"));
    EXPECT_EQ(m_cdxtb.recNo(), 0);
    EXPECT_FALSE(catalog::search(m_cdxtb, "1"));
    EXPECT_EQ(m_cdxtb.recNo(), 0);
}

TEST_F(Search, ACodeSearchThatFailsFallsBackToTheDescription)
{
    std::string fields(fixtures::catalogFields);
    fields.replace(fields.find("cod_web"), 7, "cod_pag");
    const std::string file = m_dir.write("ketmo.xml", fixtures::packet(fields, catalogRows));
    m_cdxtb.setFileName(file);
    m_cdxtb.open();
    EXPECT_TRUE(catalog::search(m_cdxtb, "12"));
    EXPECT_EQ(m_cdxtb.fieldByName("descricao"), "12 meses");
}

TEST_F(Search, ReportsAClosedDataSetAndAMissingDescription)
{
    const auto errorOf = [this](std::string_view text) {
        try {
            (void)catalog::search(m_cdxtb, text);
        } catch (const catalog::Error& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    for (const std::string_view text : {"12", "ar", ""})
        EXPECT_EQ(errorOf(text), "cdxtb: Cannot perform this operation on a closed dataset");

    std::string fields(fixtures::catalogFields);
    fields.replace(fields.find("descricao"), 9, "descricoes");
    const std::string file = m_dir.write("ketmo.xml", fixtures::packet(fields, catalogRows));
    m_cdxtb.setFileName(file);
    m_cdxtb.open();
    for (const std::string_view text : {"ar", ""})
        EXPECT_EQ(errorOf(text), "cdxtb: Field 'descricao' not found");
    EXPECT_EQ(errorOf("12"), "no error");
}

TEST_F(Search, OpenWithFilterReportsAMissingCatalogAndAMissingFilterField)
{
    catalog::useCatalogIndex(m_cdxtb);
    const std::string missing = (m_dir.path() / "ketmo.xml").string();
    try {
        catalog::openWithFilter(m_cdxtb, missing, catalog::View::Quizzes, "3A", "Ciências");
        ADD_FAILURE() << "opened a missing file";
    } catch (const catalog::Error& error) {
        EXPECT_STREQ(error.what(), "cdxtb: Missing data provider or data packet");
    }
    EXPECT_FALSE(m_cdxtb.active());
    EXPECT_EQ(m_cdxtb.recordCount(), 0U);

    std::string fields(fixtures::catalogFields);
    fields.replace(fields.find("serie"), 5, "grade");
    m_dir.write("ketmo.xml", fixtures::packet(fields, catalogRows));
    try {
        catalog::openWithFilter(m_cdxtb, missing, catalog::View::Quizzes, "3A", "Ciências");
        ADD_FAILURE() << "filtered on a missing field";
    } catch (const catalog::Error& error) {
        EXPECT_STREQ(error.what(), "cdxtb: Field 'serie' not found");
    }
    EXPECT_TRUE(m_cdxtb.active());
    EXPECT_FALSE(m_cdxtb.filtered());
    EXPECT_EQ(m_cdxtb.recordCount(), 8U);
}
