#include "CatalogFixtures.h"
#include "Filter.h"

#include <gtest/gtest.h>

namespace
{

const std::vector<catalog::Field>& fields()
{
    static const auto result = fixtures::read(fixtures::packet(fixtures::catalogFields, ""));
    return result.packet.fields();
}

} // namespace

TEST(FilterParse, ReportsTheEngineTextAndWhereItStopped)
{
    struct Case {
        std::string_view text;
        const char* message;
        std::size_t offset;
    };
    const Case cases[] = {
        {"serie='3A", "Unterminated string constant", 6},
        {"descricao='it''s", "Unterminated string constant", 10},
        {"[serie='3A'", "Unterminated field name", 0},
        {"serie=\"3A\"", "Invalid filter expression character: '\"'", 6},
        {"serie='3A' ; tipo='x'", "Invalid filter expression character: ';'", 11},
        {"serie='3A' tipo='x'", "Filter expression incorrectly terminated", 11},
        {"serie='3A' = 'x'", "Filter expression incorrectly terminated", 11},
        {"(serie='3A'))", "Filter expression incorrectly terminated", 12},
        {"serie='3A' and", "Expression expected but nothing found", 14},
        {"serie=", "Expression expected but nothing found", 6},
        {"serie = and tipo='x'", "Expression expected but 'and' found", 8},
        {"serie = )", "Expression expected but ')' found", 8},
        {"", "", 0},
        {"(serie='3A'", "')' expected but nothing found", 11},
        {"(serie='3A' tipo='x')", "')' expected but 'tipo' found", 12},
        {"serie in '3A'", "'(' expected but '3A' found", 9},
        {"serie in ('1A' '2A')", "')' or ',' expected but '2A' found", 15},
        {"upper(serie 'x') = 'A'", "')' or ',' expected but 'x' found", 12},
        {"serie in ()", "IN predicate list may not be empty", 9},
        {"serie is nothing", "Invalid use of keyword", 6},
        {"serie is not empty", "Invalid use of keyword", 6},
        {"serie like null", "NULL only allowed with '=' and '<>'", 6},
        {"serie > null", "NULL only allowed with '=' and '<>'", 6},
        {"serie", "Incorrectly formed filter expression", 0},
        {"cod_disp + 1", "Incorrectly formed filter expression", 0},
        {"count(serie) > 1", "Aggregate expressions not allowed in filters", 0},
        {"serie='3A' and cod_disp", "Type mismatch in expression", 23},
        {"not cod_disp", "Type mismatch in expression", 0},
        {"nada='x'", "Field 'nada' not found", 0},
        {"serie='3A' and [Nada Mais]=1", "Field 'Nada Mais' not found", 15},
        {"not not serie='3A'", "Field 'not' not found", 4},
        {"cod_disp = 1e999", "'1e999' is not a valid floating point value", 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto result = catalog::compileFilter(c.text, fields(), {});
        EXPECT_EQ(result.description(), c.message);
        EXPECT_EQ(static_cast<bool>(result), std::string_view(c.message).empty());
        EXPECT_EQ(result.offset, c.offset);
    }
}

TEST(FilterParse, AcceptsTheLanguagesSpellings)
{
    const std::string_view accepted[] = {
        "serie='3A' and disciplina='Ciências' and tipo<>'delvanos'",
        "serie='3A'and(disciplina='Geografia'or disciplina='História')and tipo<>'delvanos'",
        "  SERIE = '3A'\n\tAND [Disciplina]='x' /* a comment */ OR NOT tipo LIKE 'd%'",
        "serie IS NULL or serie is not null or serie = NULL or NULL <> serie",
        "cod_disp in (1, 2, -3) and serie in ('1A', 3)",
        "cod_disp >= -1.5e2 and cod_disp <= 10 and cod_disp < 1 + 2 * 3 / (4 - 5)",
        "upper(serie) = '3A' and lower(tipo) = 'x' and trim(descricao) = ''",
        "trimleft(descricao, '*') = trimright(descricao, 'x') and substring(serie, 1, 1) = '3'",
        "substring(serie, 2) = 'A' and serie + tipo = '3Adelvanos'",
        "1 = cod_disp and '3A' = serie and TRUE and not FALSE",
        "date(getdate()) > '2000-01-01'",
        "descricao = 'd''água'",
    };
    for (const std::string_view text : accepted) {
        SCOPED_TRACE(text);
        const auto result = catalog::compileFilter(text, fields(), {});
        EXPECT_TRUE(result) << result.description();
    }
}

TEST(FilterParse, RefusesNestingThatWouldExhaustTheStack)
{
    const std::string deep = std::string(5000, '(') + "serie='3A'" + std::string(5000, ')');
    std::string chain = "cod_disp";
    for (int i = 0; i < 5000; ++i)
        chain += "+cod_disp";
    chain += " > 1";
    const std::string negations = std::string(5000, '-') + "1 = cod_disp";
    for (const std::string& text : {deep, chain, negations}) {
        const auto result = catalog::compileFilter(text, fields(), {});
        EXPECT_EQ(result.description(), "Filter expression too complex");
    }
}
