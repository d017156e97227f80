#include "SwfReader.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

namespace fs = std::filesystem;

namespace
{

const fs::path demo = QUORVANE_DEMO_DIR;

int countTags(const std::vector<swftest::Tag>& tags, std::uint16_t code)
{
    return static_cast<int>(std::count_if(
        tags.begin(), tags.end(), [code](const swftest::Tag& t) { return t.code == code; }));
}

struct ActionRecord {
    std::uint8_t code = 0;
    std::vector<std::uint8_t> payload;
};

std::vector<ActionRecord> readActions(swftest::BitReader& in)
{
    std::vector<ActionRecord> records;
    for (std::uint8_t code = in.u8(); code != 0; code = in.u8()) {
        ActionRecord record{code, {}};
        if (code >= 0x80) {
            const std::uint16_t length = in.u16();
            for (std::uint16_t i = 0; i < length; ++i)
                record.payload.push_back(in.u8());
        }
        records.push_back(std::move(record));
    }
    return records;
}

// The release actions of every DefineButton2 in the movie, button by button.
std::vector<std::vector<ActionRecord>> releaseActions(const swftest::Swf& swf)
{
    std::vector<std::vector<ActionRecord>> result;
    for (const swftest::Tag& tag : swf.tags) {
        if (tag.code != 34)
            continue;
        const std::size_t offset = tag.body.at(3) | tag.body.at(4) << 8;
        std::size_t at = 3 + offset;
        while (offset != 0) {
            swftest::BitReader in(tag.body.data() + at, tag.body.size() - at);
            const std::uint16_t next = in.u16();
            const std::uint8_t condition = in.u8();
            in.u8();
            const auto actions = readActions(in);
            if (condition == 0x08)
                result.push_back(actions);
            if (next == 0)
                break;
            at += next;
        }
    }
    return result;
}

std::string text(const ActionRecord& record)
{
    return {record.payload.begin(), std::find(record.payload.begin(), record.payload.end(), 0)};
}

swftest::Swf load(const fs::path& file)
{
    return swftest::readSwf(swftest::readFile(file.string()));
}

TEST(DemoContent, ConfigFolderHoldsExactlyTheNamedFiles)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(demo / "config"))
        names.insert(entry.path().filename().string());
    const std::set<std::string> expected = {
        "logo.swf",  "Ok.swf",    "Sair.swf",  "Voltar.swf",     "1ano.swf",  "2ano.swf",
        "3ANO.swf",  "4ANO.swf",  "5ANO.swf",  "efmat.swf",      "efpor.swf", "efesso.swf",
        "efing.swf", "efcie.swf", "efinf.swf", "aguarde_f1.swf", "ketmo.xml"};
    EXPECT_EQ(names, expected);
}

TEST(DemoContent, MenuMoviesHaveTheirStageAndBehaviour)
{
    struct Case {
        const char* file;
        int width;
        int height;
        bool animated;
        std::optional<std::string> command; // buttons only: what they send on release
    };
    const Case cases[] = {
        {"logo.swf", 121, 69, true, {}},     {"Ok.swf", 48, 23, false, "ok"},
        {"Sair.swf", 48, 23, false, "Sair"}, {"Voltar.swf", 48, 23, false, "Voltar"},
        {"1ano.swf", 161, 135, true, {}},    {"2ano.swf", 161, 135, true, {}},
        {"3ANO.swf", 161, 135, true, {}},    {"4ANO.swf", 161, 135, true, {}},
        {"5ANO.swf", 161, 135, true, {}},    {"efmat.swf", 156, 116, true, {}},
        {"efpor.swf", 156, 116, true, {}},   {"efesso.swf", 156, 116, true, {}},
        {"efing.swf", 156, 116, true, {}},   {"efcie.swf", 156, 116, true, {}},
        {"efinf.swf", 156, 116, true, {}},   {"aguarde_f1.swf", 400, 300, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const swftest::Swf swf = load(demo / "config" / c.file);
        EXPECT_EQ(swf.stage.xMax - swf.stage.xMin, c.width * 20);
        EXPECT_EQ(swf.stage.yMax - swf.stage.yMin, c.height * 20);
        EXPECT_EQ(swf.frameCount, countTags(swf.tags, 1));
        if (c.animated) {
            // A loop of a few seconds, not a still.
            EXPECT_GE(swf.frameCount / swf.frameRate, 1.5);
            EXPECT_LE(swf.frameCount / swf.frameRate, 10);
        }
        const auto releases = releaseActions(swf);
        if (!c.command) {
            EXPECT_TRUE(releases.empty()) << "tiles are selected by clicks on the player area";
            continue;
        }
        ASSERT_EQ(releases.size(), 1u);
        ASSERT_EQ(releases[0].size(), 1u);
        EXPECT_EQ(releases[0][0].code, 0x83);
        EXPECT_EQ(text(releases[0][0]), "FSCommand:" + *c.command);
    }
}

TEST(DemoContent, EveryMovieIsWellFormedAndJumpsOnlyToFramesItHas)
{
    int movies = 0;
    for (const auto& entry : fs::recursive_directory_iterator(demo)) {
        if (entry.path().extension() != ".swf")
            continue;
        SCOPED_TRACE(entry.path().string());
        ++movies;
        const swftest::Swf swf = load(entry.path());
        EXPECT_GE(swf.version, 8);
        EXPECT_EQ(swf.frameCount, countTags(swf.tags, 1));
        std::set<std::string> labels;
        for (const swftest::Tag& tag : swf.tags)
            if (tag.code == 43)
                labels.insert(std::string(tag.body.begin(), tag.body.end() - 1));
        std::vector<ActionRecord> jumps;
        for (const auto& actions : releaseActions(swf))
            jumps.insert(jumps.end(), actions.begin(), actions.end());
        for (const swftest::Tag& tag : swf.tags) {
            if (tag.code != 12)
                continue;
            swftest::BitReader in(tag.body.data(), tag.body.size());
            const auto actions = readActions(in);
            jumps.insert(jumps.end(), actions.begin(), actions.end());
        }
        for (const ActionRecord& action : jumps) {
            if (action.code == 0x8c) {
                EXPECT_TRUE(labels.count(text(action))) << text(action);
            }
            if (action.code == 0x81) {
                EXPECT_LT(action.payload.at(0) | action.payload.at(1) << 8, swf.frameCount);
            }
        }
    }
    EXPECT_GT(movies, 100);
}

TEST(DemoContent, QuizAnswersLeadToRightAndWrongFeedback)
{
    const swftest::Swf swf =
        load(demo / "atividades" / "3A" / "mat" / "adicao_com_reserva_quiz.swf");
    std::map<std::string, int> targets;
    for (const auto& actions : releaseActions(swf))
        for (const ActionRecord& action : actions)
            if (action.code == 0x8c)
                ++targets[text(action)];
    // One right answer, two wrong ones, and the way back that both feedbacks show.
    EXPECT_EQ(targets["certo"], 1);
    EXPECT_EQ(targets["errado"], 2);
    EXPECT_EQ(targets["pergunta"], 1);
}

// A catalog path ("\\atividades\\3A\\x.swf") as a relative path, letter case untouched.
fs::path asWritten(std::string caminho)
{
    std::replace(caminho.begin(), caminho.end(), '\\', '/');
    return caminho.substr(1);
}

// Finds a content file the way the program does on a case-sensitive file system: each name
// exactly if present, otherwise without regard to case.
std::optional<fs::path> resolve(const std::string& caminho)
{
    fs::path at = demo;
    for (const auto& part : asWritten(caminho)) {
        if (fs::exists(at / part)) {
            at /= part;
            continue;
        }
        const auto lower = [](std::string s) {
            std::transform(s.begin(), s.end(), s.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            return s;
        };
        std::optional<fs::path> match;
        if (fs::is_directory(at))
            for (const auto& entry : fs::directory_iterator(at))
                if (lower(entry.path().filename().string()) == lower(part.string()))
                    match = entry.path();
        if (!match)
            return std::nullopt;
        at = *match;
    }
    return at;
}

class Catalog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_bytes = swftest::readFile((demo / "config" / "ketmo.xml").string());
        m_text.assign(m_bytes.begin(), m_bytes.end());
        const auto parsed = m_document.load_buffer(m_bytes.data(), m_bytes.size(),
                                                   pugi::parse_default | pugi::parse_declaration,
                                                   pugi::encoding_latin1);
        ASSERT_TRUE(parsed) << parsed.description();
        for (const auto& row : m_document.select_nodes("/DATAPACKET/ROWDATA/ROW"))
            m_rows.push_back(row.node());
    }

    std::vector<std::uint8_t> m_bytes;
    std::string m_text;
    pugi::xml_document m_document;
    std::vector<pugi::xml_node> m_rows;
};

TEST_F(Catalog, IsWrittenLikeALegacyPacketInWindows1252)
{
    const std::string head =
        R"(<?xml version="1.0" standalone="yes"?>  <DATAPACKET Version="2.0"><METADATA>)";
    EXPECT_EQ(m_text.substr(0, head.size()), head);
    EXPECT_EQ(m_text.find("encoding"), std::string::npos);
    EXPECT_NE(m_text.find("disciplina=\"Matem\xe1tica\""), std::string::npos);
    EXPECT_EQ(m_text.find("Matem\xc3\xa1tica"), std::string::npos) << "UTF-8 found";
    EXPECT_EQ(m_text.find('\n'), std::string::npos) << "one line";
    EXPECT_EQ(m_text.back(), '>');
}

TEST_F(Catalog, DeclaresTheFieldsTheProgramReads)
{
    std::map<std::string, std::string> types;
    for (const auto& field : m_document.select_nodes("/DATAPACKET/METADATA/FIELDS/FIELD"))
        types[field.node().attribute("attrname").value()] =
            field.node().attribute("fieldtype").value();
    const std::map<std::string, std::string> expected = {
        {"cod_disp", "i4"},       {"cod_web", "string"}, {"serie", "string"},
        {"disciplina", "string"}, {"tipo", "string"},    {"descricao", "string"},
        {"categoria", "string"},  {"caminho", "string"}, {"executavel", "string"}};
    for (const auto& [name, type] : expected) {
        SCOPED_TRACE(name);
        EXPECT_EQ(types[name], type);
    }
    EXPECT_GT(types.size(), expected.size()) << "a realistic packet has more fields";
    for (const auto& field : m_document.select_nodes("//FIELD[@fieldtype='string']"))
        EXPECT_GT(field.node().attribute("WIDTH").as_int(), 0);
}

TEST_F(Catalog, CoversEveryGradeAndSubjectWithMoviesToOpen)
{
    EXPECT_GE(m_rows.size(), 200u);
    std::map<std::pair<std::string, std::string>, int> playable;
    for (const pugi::xml_node& row : m_rows) {
        const std::string path = row.attribute("caminho").value();
        if (path.size() > 4 && path.substr(path.size() - 4) == ".swf" && resolve(path))
            ++playable[{row.attribute("serie").value(), row.attribute("disciplina").value()}];
    }
    const char* subjects[] = {"Matem\u00e1tica", "Portugu\u00eas", "Geografia",
                              "Hist\u00f3ria",   "Ingl\u00eas",    "Ci\u00eancias",
                              "Inform\u00e1tica"};
    for (const char* grade : {"1A", "2A", "3A", "4A", "5A"}) {
        for (const char* subject : subjects) {
            SCOPED_TRACE(std::string(grade) + " " + subject);
            const bool english = std::string(subject) == "Ingl\u00eas";
            const bool offered = !english || (grade[0] >= '3');
            const bool found = playable[{grade, subject}] > 0;
            EXPECT_EQ(found, offered);
        }
    }
}

TEST_F(Catalog, ShowsTheCasesTheActivitiesWindowHandles)
{
    std::map<std::string, int> kinds;
    std::map<std::string, int> executable;
    int missing = 0;
    int otherCase = 0;
    std::set<std::string> mathQuizCodes;
    for (const pugi::xml_node& row : m_rows) {
        const std::string path = row.attribute("caminho").value();
        SCOPED_TRACE(path);
        ASSERT_FALSE(path.empty());
        EXPECT_EQ(path[0], '\\');
        EXPECT_EQ(path.find('/'), std::string::npos);
        ++kinds[row.attribute("tipo").value()];
        ++executable[row.attribute("executavel").value()];
        const auto file = resolve(path);
        if (!file)
            ++missing;
        else if (!fs::exists(demo / asWritten(path)))
            ++otherCase;
        if (row.attribute("executavel").value() == std::string("S")) {
            ASSERT_TRUE(file);
            EXPECT_NE(fs::status(*file).permissions() & fs::perms::owner_exec, fs::perms::none);
        }
        if (row.attribute("serie").value() == std::string("3A")
            && row.attribute("disciplina").value() == std::string("Matem\u00e1tica")
            && row.attribute("tipo").value() != std::string("delvanos"))
            mathQuizCodes.insert(row.attribute("cod_web").value());
    }
    EXPECT_GT(kinds["delvanos"], 50);
    EXPECT_GT(kinds["quiz"], 50);
    EXPECT_GT(kinds["exercicio"], 50);
    EXPECT_EQ(kinds["Delvanos"], 1);
    EXPECT_EQ(executable["S"], 1);
    EXPECT_EQ(executable["s"], 1);
    EXPECT_GE(missing, 3) << "some entries show the waiting animation";
    EXPECT_GE(otherCase, 1) << "a path written in another case than its file";
    for (const char* code : {"12", "120", "12A"})
        EXPECT_TRUE(mathQuizCodes.count(code)) << code;
}

} // namespace
