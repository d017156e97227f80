#include "CatalogFixtures.h"
#include "Text.h"

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

// The check runs sixteen bytes at a time: sequences that straddle, start or end a block must be
// judged as anywhere else.
TEST(Encodings, Utf8CheckIsTheSameAtEveryPlaceInABlock)
{
    struct Case {
        const char* name;
        std::string_view sequence;
        bool valid;
    };
    const Case cases[] = {
        {"two-byte character", "\xC3\xA1", true},
        {"three-byte character", "\xE2\x80\x93", true},
        {"four-byte character", "\xF0\x9F\x98\x80", true},
        {"lead without continuation",
         "\xC3"
         "a",
         false},
        {"lone lead", "\xC3", false},
        {"stray continuation", "\xA1", false},
        {"two leads", "\xC3\xC3\xA1", false},
        {"overlong two-byte form", "\xC1\x81", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"truncated three-byte character", "\xE2\x80", false},
    };
    for (const auto& c : cases) {
        for (std::size_t before = 0; before < 40; ++before) {
            for (const std::size_t after : {std::size_t{0}, std::size_t{1}, std::size_t{20}}) {
                const std::string text =
                    std::string(before, 'a') + std::string(c.sequence) + std::string(after, 'b');
                SCOPED_TRACE(std::string(c.name) + " after " + std::to_string(before) + " bytes");
                EXPECT_EQ(catalog::text::isValidUtf8(text), c.valid);
            }
        }
    }
}
