#include "CatalogFixtures.h"

#include <gtest/gtest.h>

using fixtures::column;
using fixtures::matching;
using fixtures::read;
using Rows = std::vector<std::size_t>;

namespace
{

constexpr std::string_view fields =
    R"(<FIELD attrname="disciplina" fieldtype="string" WIDTH="30"/>)";

std::string withDeclaration(std::string_view declaration, std::string_view rows)
{
    return fixtures::packet(fields, rows, "<PARAMS/>", declaration);
}

} // namespace

TEST(Encodings, DecodeEveryWayRealFilesAreWritten)
{
    const std::string cp1252Rows =
        "<ROW disciplina=\"Matem\xE1tica\"/><ROW disciplina=\"Hist\xF3ria \x96 \x80\"/>";
    const std::string utf8Rows =
        "<ROW disciplina=\"Matemática\"/><ROW disciplina=\"História – €\"/>";
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"undeclared UTF-8",
         withDeclaration(R"(<?xml version="1.0" standalone="yes"?>)", utf8Rows)},
        {"declared UTF-8",
         withDeclaration(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)", utf8Rows)},
        {"UTF-8 with a byte order mark",
         "\xEF\xBB\xBF" + withDeclaration(R"(<?xml version="1.0"?>)", utf8Rows)},
        {"undeclared Windows-1252",
         withDeclaration(R"(<?xml version="1.0" standalone="yes"?>)", cp1252Rows)},
        {"declared windows-1252",
         withDeclaration(R"(<?xml version="1.0" encoding="windows-1252"?>)", cp1252Rows)},
        {"declared UTF-8 but saved as ANSI",
         withDeclaration(R"(<?xml version="1.0" encoding='utf-8'?>)", cp1252Rows)},
        {"an encoding nobody reads",
         withDeclaration(R"(<?xml version="1.0" encoding="gb2312"?>)", cp1252Rows)},
        {"ANSI byte references in an undeclared file",
         withDeclaration(
             R"(<?xml version="1.0" standalone="yes"?>)",
             R"(<ROW disciplina="Matem&#225;tica"/><ROW disciplina="Hist&#243;ria &#150; &#128;"/>)")},
        {"no declaration at all", withDeclaration("", utf8Rows)},
        {"a byte order mark outweighs the declaration",
         "\xEF\xBB\xBF"
             + withDeclaration(R"(<?xml version="1.0" encoding="windows-1252"?>)", utf8Rows)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = read(c.bytes);
        ASSERT_TRUE(result) << result.description();
        EXPECT_EQ(column(result.packet, 0),
                  (std::vector<std::string>{"Matemática", "História – €"}));
        EXPECT_EQ(matching(result.packet, "disciplina='Matemática'"), Rows{0});
        EXPECT_EQ(matching(result.packet, "disciplina='História*'"), Rows{1});
    }
}

TEST(Encodings, Latin1IsNotWindows1252)
{
    const auto result = read(withDeclaration(R"(<?xml version="1.0" encoding="ISO-8859-1"?>)",
                                             "<ROW disciplina=\"Ci\xEAncias \x96\"/>"));
    ASSERT_TRUE(result);
    EXPECT_EQ(column(result.packet, 0), std::vector<std::string>{"Ciências \u0096"});
}

TEST(Encodings, ReferencesInADeclaredFileAreCodePoints)
{
    const auto result = read(withDeclaration(R"(<?xml version="1.0" encoding="UTF-8"?>)",
                                             R"(<ROW disciplina="&#150;&#x2013;&#233;"/>)"));
    ASSERT_TRUE(result);
    EXPECT_EQ(column(result.packet, 0), std::vector<std::string>{"\u0096–é"});
}

TEST(Encodings, AcceptsNonAsciiFieldAndAttributeNames)
{
    const auto result = read(fixtures::packet(R"(<FIELD attrname="descrição" fieldtype="string"/>)",
                                              R"(<ROW descrição="Água"/>)"));
    ASSERT_TRUE(result) << result.description();
    EXPECT_EQ(result.packet.findField("DESCRIÇÃO"), 0U);
    EXPECT_EQ(matching(result.packet, "descrição = 'Água'"), Rows{0});
    EXPECT_EQ(matching(result.packet, "[descrição] = 'água'", {.caseInsensitive = true}), Rows{0});
}
