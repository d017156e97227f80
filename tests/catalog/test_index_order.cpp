#include "CatalogFixtures.h"
#include "CatalogOperations.h"
#include "ClientDataSet.h"
#include "Error.h"
#include "IndexOrder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <optional>
#include <random>

using fixtures::read;
using Order = std::vector<std::uint32_t>;

TEST(IndexOrder, NumbersAsNumbersTextsIgnoringCaseAndAccentsTiesInFileOrder)
{
    const auto result = read(fixtures::packet(
        R"(<FIELD attrname="n" fieldtype="i4"/><FIELD attrname="r" fieldtype="r8"/>)"
        R"(<FIELD attrname="t" fieldtype="string"/><FIELD attrname="d" fieldtype="dateTime"/>)",
        R"(<ROW n="10" r="10.5" t="b" d="19950202T01:05:03000"/>)"
        R"(<ROW n="9" r="9" t="Água" d="19950202"/>)"
        R"(<ROW n="-3" r="-0.5" t="abc" d="19880412"/>)"
        R"(<ROW r="1e2" t="B" d="20000101"/>)"
        R"(<ROW n="9" r="9" t="acz" d="bad"/>)"
        R"(<ROW n="10" t="ação"/>)"));
    ASSERT_TRUE(result);
    const auto& packet = result.packet;
    struct Case {
        const char* name;
        std::vector<std::size_t> keys;
        Order order;
    };
    const Case cases[] = {
        {"integers, NULL first, ties in file order", {0}, {3, 2, 1, 4, 0, 5}},
        {"floats", {1}, {5, 2, 1, 4, 0, 3}},
        {"texts, equal ignoring case then by code point", {2}, {2, 5, 4, 1, 3, 0}},
        {"date-times, unreadable as NULL", {3}, {4, 5, 2, 1, 0, 3}},
        {"two keys", {0, 2}, {3, 2, 4, 1, 5, 0}},
        {"no key", {}, {0, 1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(catalog::indexOrder(packet, c.keys), c.order);
    }
}

TEST(IndexOrder, TextCollation)
{
    struct Case {
        std::string_view a;
        std::string_view b;
        int sign;
    };
    const Case cases[] = {
        {"abc", "ABD", -1}, {"ação", "acz", -1}, {"ação", "abc", 1}, {"Zoo", "Ética", 1},
        {"12", "120", -1},  {"120", "12A", -1},  {"A", "a", -1},     {"é", "e", 1},
        {"", "a", -1},      {"x", "x", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + std::string(c.b));
        const int got = catalog::text::collate(c.a, c.b);
        EXPECT_EQ((got > 0) - (got < 0), c.sign);
        const int back = catalog::text::collate(c.b, c.a);
        EXPECT_EQ((back > 0) - (back < 0), -c.sign);
    }
}

TEST(IndexOrder, TheCombinedSubjectListsGeografiaAndHistoriaInOneOrder)
{
    const fixtures::TempDir dir;
    const std::string file = dir.write(
        "ketmo.xml",
        fixtures::packet(
            fixtures::catalogFields,
            R"(<ROW cod_disp="20" cod_web="301" serie="3A" disciplina="História" tipo="jogo"/>)"
            R"(<ROW cod_disp="10" cod_web="210" serie="3A" disciplina="Geografia" tipo="exercicio"/>)"
            R"(<ROW cod_disp="10" cod_web="200" serie="3A" disciplina="História" tipo="delvanos"/>)"
            R"(<ROW cod_disp="10" cod_web="205" serie="3A" disciplina="História" tipo="quiz"/>)"
            R"(<ROW cod_disp="2" cod_web="999" serie="3A" disciplina="Geografia" tipo="Delvanos"/>)"
            R"(<ROW cod_disp="1" cod_web="100" serie="4A" disciplina="Geografia" tipo="quiz"/>)"
            R"(<ROW cod_disp="1" cod_web="101" serie="3A" disciplina="Ciências" tipo="quiz"/>)"
            R"(<ROW cod_disp="1" cod_web="102" serie="3A" disciplina="ESSO" tipo="quiz"/>)"));
    const auto codes = [](const catalog::ClientDataSet& cdxtb) {
        std::vector<std::string> out;
        const std::size_t field = *cdxtb.findField("cod_web");
        for (std::size_t row = 0; row < cdxtb.recordCount(); ++row)
            out.emplace_back(*cdxtb.value(row, field));
        return out;
    };
    catalog::ClientDataSet cdxtb("cdxtb");
    catalog::useCatalogIndex(cdxtb);
    catalog::openWithFilter(cdxtb, file, catalog::View::Quizzes, "3A", "ESSO");
    // "Delvanos" differs from "delvanos" in case only: a quiz, not a lesson.
    EXPECT_EQ(codes(cdxtb), (std::vector<std::string>{"999", "205", "210", "301"}));
    EXPECT_EQ(
        cdxtb.filter(),
        "serie='3A' and (disciplina='Geografia' or disciplina='História') and tipo<>'delvanos'");
    catalog::openWithFilter(cdxtb, file, catalog::View::Lessons, "3A", "ESSO");
    EXPECT_EQ(codes(cdxtb), std::vector<std::string>{"200"});
    catalog::openWithFilter(cdxtb, file, catalog::View::Quizzes, "4A", "Geografia");
    EXPECT_EQ(codes(cdxtb), std::vector<std::string>{"100"});
    EXPECT_EQ(cdxtb.filter(), "serie='4A' and disciplina='Geografia' and tipo<>'delvanos'");
}

TEST(IndexOrder, ChangingTheIndexOfAnOpenDataSetReordersItsView)
{
    const fixtures::TempDir dir;
    const std::string file = dir.write(
        "ketmo.xml",
        fixtures::packet(fixtures::catalogFields,
                         R"(<ROW cod_disp="2" cod_web="a"/><ROW cod_disp="1" cod_web="c"/>)"
                         R"(<ROW cod_disp="1" cod_web="B"/>)"));
    catalog::ClientDataSet cdxtb("cdxtb");
    cdxtb.setFileName(file);
    cdxtb.open();
    EXPECT_EQ(cdxtb.fieldByName("cod_web"), "a"); // no index: file order
    catalog::useCatalogIndex(cdxtb);
    EXPECT_EQ(cdxtb.fieldByName("cod_web"), "B");
    cdxtb.addIndex("codigo", "COD_WEB");
    cdxtb.setIndexName("codigo");
    EXPECT_EQ(cdxtb.fieldByName("cod_web"), "a");
    try {
        cdxtb.setIndexName("nada");
        ADD_FAILURE() << "chose an undefined index";
    } catch (const catalog::Error& error) {
        EXPECT_STREQ(error.what(), "cdxtb: Index 'nada' not found");
    }
    cdxtb.setRecNo(2);
    EXPECT_EQ(cdxtb.fieldByName("cod_web"), "c"); // the view stayed on "codigo"
}

TEST(IndexOrder, AgreesWithTheKeyComparisonOnManyKeys)
{
    // Texts that share long prefixes, differ only in case or accents, or are NULL; integers
    // beyond the 53 bits a double holds exactly.
    const std::string_view pieces[] = {"a", "A", "b", "á", "Á", "ç", "c", "1", "z", ""};
    std::mt19937 random(11);
    std::string rows;
    std::vector<std::optional<std::string>> texts;
    std::vector<long long> numbers;
    for (int i = 0; i < 400; ++i) {
        std::optional<std::string> text;
        if (random() % 10 != 0) {
            text.emplace();
            for (std::size_t n = random() % 11; n > 0; --n)
                *text += pieces[random() % std::size(pieces)];
        }
        const long long number = 9007199254740992LL + static_cast<long long>(random() % 5);
        texts.push_back(text);
        numbers.push_back(number);
        rows += "<ROW n=\"" + std::to_string(number) + "\""
                + (text ? " t=\"" + *text + "\"" : std::string()) + "/>";
    }
    const auto result = read(fixtures::packet(
        R"(<FIELD attrname="t" fieldtype="string"/><FIELD attrname="n" fieldtype="i8"/>)", rows));
    ASSERT_TRUE(result);

    Order expected(texts.size());
    std::iota(expected.begin(), expected.end(), 0U);
    std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (!texts[a] || !texts[b])
            return !texts[a] && texts[b];
        return catalog::text::collate(*texts[a], *texts[b]) < 0;
    });
    EXPECT_EQ(catalog::indexOrder(result.packet, {0}), expected);

    std::stable_sort(expected.begin(), expected.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return numbers[a] < numbers[b]; });
    EXPECT_EQ(catalog::indexOrder(result.packet, {1, 0}), expected);
}
