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

struct ButtonHandler {
    std::uint8_t condition = 0; // the first condition byte: 0x04 press, 0x08 release
    std::vector<ActionRecord> actions;
};

// The event handlers of every DefineButton2 in the movie, in file order.
std::vector<ButtonHandler> buttonHandlers(const swftest::Swf& swf)
{
    std::vector<ButtonHandler> result;
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
            result.push_back({condition, readActions(in)});
            if (next == 0)
                break;
            at += next;
        }
    }
    return result;
}

// The release actions of every DefineButton2 in the movie, button by button.
std::vector<std::vector<ActionRecord>> releaseActions(const swftest::Swf& swf)
{
    std::vector<std::vector<ActionRecord>> result;
    for (const ButtonHandler& handler : buttonHandlers(swf))
        if (handler.condition == 0x08)
            result.push_back(handler.actions);
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

// The one activity the native engine leaves to Ruffle, which the warm-up tests and benchmarks
// open: Ruffle must find a sound it can play, started with the first frame.
TEST(DemoContent, TheChimeActivityStartsAPlayableSoundOnItsFirstFrame)
{
    const swftest::Swf swf = load(demo / "atividades" / "3A" / "cie" / "sons_dos_animais.swf");
    const auto codeIs = [](int code) {
        return [code](const swftest::Tag& tag) { return tag.code == code; };
    };
    const auto sound = std::find_if(swf.tags.begin(), swf.tags.end(), codeIs(14));
    const auto start = std::find_if(swf.tags.begin(), swf.tags.end(), codeIs(15));
    const auto firstFrame = std::find_if(swf.tags.begin(), swf.tags.end(), codeIs(1));
    ASSERT_NE(sound, swf.tags.end());
    ASSERT_NE(start, swf.tags.end());
    ASSERT_GE(sound->body.size(), 7u);
    EXPECT_EQ(sound->body[2], 0x3A) << "uncompressed, 22 kHz, 16-bit, mono";
    const std::size_t samples = sound->body[3] | sound->body[4] << 8 | sound->body[5] << 16
                                | static_cast<std::size_t>(sound->body[6]) << 24;
    EXPECT_GT(samples, 0u);
    EXPECT_EQ(sound->body.size(), 7 + 2 * samples);
    ASSERT_GE(start->body.size(), 3u);
    EXPECT_EQ(start->body[0], sound->body[0]);
    EXPECT_EQ(start->body[1], sound->body[1]);
    EXPECT_LT(start, firstFrame);
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

const fs::path gallery = demo / "gallery";

// The tags of each frame of a timeline, ShowFrame excluded; they point into the given tags.
std::vector<std::vector<const swftest::Tag*>> frames(const std::vector<swftest::Tag>& tags)
{
    std::vector<std::vector<const swftest::Tag*>> result(1);
    for (const swftest::Tag& tag : tags) {
        if (tag.code == 1)
            result.emplace_back();
        else if (tag.code != 0)
            result.back().push_back(&tag);
    }
    result.pop_back(); // what follows the last ShowFrame is only the End tag
    return result;
}

bool stops(const std::vector<const swftest::Tag*>& frame)
{
    for (const swftest::Tag* tag : frame) {
        if (tag->code != 12)
            continue;
        swftest::BitReader in(tag->body.data(), tag->body.size());
        for (const ActionRecord& action : readActions(in))
            if (action.code == 0x07)
                return true;
    }
    return false;
}

std::vector<swftest::Tag> spriteTags(const swftest::Tag& sprite)
{
    swftest::BitReader in(sprite.body.data(), sprite.body.size());
    in.u16();
    in.u16();
    return swftest::readTags(in);
}

TEST(DemoGallery, MoviesPlayAFewFramesAndStopOnTheLast)
{
    struct Case {
        const char* file;
        int width;
        int height;
        int frames;
    };
    const Case cases[] = {
        {"gradients.swf", 400, 300, 10},
        {"strokes.swf", 400, 300, 10},
        {"bitmaps.swf", 400, 300, 10},
        {"morph.swf", 320, 240, 13},
        {"sprites-and-clips.swf", 400, 300, 12},
        {"text.swf", 400, 300, 10},
        {"buttons.swf", 320, 240, 8},
        {"actions.swf", 320, 240, 9},
    };
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(gallery))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names.size(), std::size(cases));
    // No ActionScript 3, no PlaceObject3 (filters, blend modes), no sound.
    const std::set<std::uint16_t> foreign = {14, 15, 18, 19, 45, 60, 70, 72, 82, 89};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_TRUE(names.count(c.file));
        const swftest::Swf swf = load(gallery / c.file);
        EXPECT_EQ(swf.stage.xMax, c.width * 20);
        EXPECT_EQ(swf.stage.yMax, c.height * 20);
        EXPECT_EQ(swf.frameCount, c.frames);
        const auto main = frames(swf.tags);
        ASSERT_EQ(main.size(), static_cast<std::size_t>(c.frames));
        EXPECT_TRUE(stops(main.back()));
        // At least the first half plays on by itself.
        for (std::size_t f = 0; f < main.size() / 2; ++f)
            EXPECT_FALSE(stops(main[f])) << "frame " << f + 1;
        for (const swftest::Tag& tag : swf.tags) {
            EXPECT_FALSE(foreign.count(tag.code)) << "tag " << tag.code;
            if (tag.code != 39)
                continue;
            // A sprite stops on its last frame, or earlier where it waits for a click.
            const std::vector<swftest::Tag> tags = spriteTags(tag);
            const auto inner = frames(tags);
            EXPECT_TRUE(std::any_of(inner.begin(), inner.end(), stops));
        }
    }
}

// Every fill type, stroke style, bitmap and text form, and every action the native engine
// interprets appears somewhere in the gallery.
TEST(DemoGallery, CoversEveryDrawingRecordAndAction)
{
    std::set<std::uint16_t> tags;
    std::set<int> fillTypes, spreads, interpolations, caps, joins, actions, pushTypes;
    std::set<std::uint8_t> placeFlags;
    bool fifteenStops = false;
    bool filledLine = false;
    const auto scan = [&](const std::vector<ActionRecord>& records) {
        for (const ActionRecord& action : records) {
            actions.insert(action.code);
            if (action.code != 0x96)
                continue;
            for (std::size_t at = 0; at < action.payload.size();) {
                const std::uint8_t type = action.payload[at++];
                pushTypes.insert(type);
                const std::size_t sizes[] = {0, 4, 0, 0, 1, 1, 8, 4, 1, 2};
                if (type == 0)
                    at = std::find(action.payload.begin() + at, action.payload.end(), 0)
                         - action.payload.begin() + 1;
                else
                    at += sizes[type];
            }
        }
    };
    for (const auto& entry : fs::directory_iterator(gallery)) {
        const swftest::Swf swf = load(entry.path());
        std::vector<swftest::Tag> all = swf.tags;
        for (const swftest::Tag& tag : swf.tags)
            if (tag.code == 39)
                for (const swftest::Tag& inner : spriteTags(tag))
                    all.push_back(inner);
        for (const swftest::Tag& tag : all) {
            tags.insert(tag.code);
            if (tag.code == 26)
                placeFlags.insert(tag.body.at(0));
            if (tag.code == 12) {
                swftest::BitReader in(tag.body.data(), tag.body.size());
                scan(readActions(in));
            }
            if (tag.code != 2 && tag.code != 32 && tag.code != 83)
                continue;
            const int version = tag.code == 83 ? 4 : tag.code == 32 ? 3 : 1;
            swftest::BitReader in(tag.body.data(), tag.body.size());
            in.u16();
            swftest::readRect(in);
            if (version == 4) {
                swftest::readRect(in);
                in.u8();
            }
            for (const swftest::FillStyle& fill : swftest::readFillStyles(in, version)) {
                fillTypes.insert(fill.type);
                spreads.insert(fill.spread);
                interpolations.insert(fill.interpolation);
                fifteenStops = fifteenStops || fill.stops.size() == 15;
            }
            for (const swftest::LineStyle& line : swftest::readLineStyles(in, version)) {
                caps.insert(line.startCap);
                joins.insert(line.join);
                filledLine = filledLine || line.hasFill;
            }
        }
        for (const ButtonHandler& handler : buttonHandlers(swf))
            scan(handler.actions);
    }
    const std::pair<std::uint16_t, const char*> expectedTags[] = {
        {2, "DefineShape"},       {32, "DefineShape3"},      {83, "DefineShape4"},
        {6, "DefineBits"},        {8, "JPEGTables"},         {20, "DefineBitsLossless"},
        {21, "DefineBitsJPEG2"},  {35, "DefineBitsJPEG3"},   {36, "DefineBitsLossless2"},
        {46, "DefineMorphShape"}, {84, "DefineMorphShape2"}, {48, "DefineFont2"},
        {11, "DefineText"},       {33, "DefineText2"},       {37, "DefineEditText"},
        {34, "DefineButton2"},    {39, "DefineSprite"},      {43, "FrameLabel"},
        {28, "RemoveObject2"},
    };
    for (const auto& [code, name] : expectedTags)
        EXPECT_TRUE(tags.count(code)) << name;
    // Focal and linear-RGB gradients go to Ruffle, so the native gallery holds none.
    EXPECT_EQ(fillTypes, (std::set<int>{0x00, 0x10, 0x12, 0x40, 0x41, 0x42, 0x43}));
    EXPECT_EQ(spreads, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(interpolations, (std::set<int>{0}));
    EXPECT_TRUE(fifteenStops);
    EXPECT_EQ(caps, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(joins, (std::set<int>{0, 1, 2}));
    EXPECT_TRUE(filledLine);
    const std::pair<std::uint8_t, const char*> placements[] = {
        {0x10, "ratio"}, {0x20, "name"}, {0x40, "clip depth"}, {0x08, "colour transform"}};
    for (const auto& [flag, name] : placements)
        EXPECT_TRUE(std::any_of(placeFlags.begin(), placeFlags.end(),
                                [flag = flag](std::uint8_t f) { return (f & flag) != 0; }))
            << name;
    EXPECT_EQ(actions, (std::set<int>{0x06, 0x07, 0x12, 0x17, 0x1c, 0x1d, 0x21, 0x26, 0x47, 0x48,
                                      0x49, 0x81, 0x83, 0x87, 0x88, 0x8b, 0x8c, 0x96, 0x99, 0x9d}));
    EXPECT_EQ(pushTypes, (std::set<int>{0, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(DemoGallery, ButtonsTraceAndReportPressAndRelease)
{
    struct Handler {
        std::uint8_t condition;
        std::string url;
        std::string args;
    };
    const Handler expected[] = {{0x04, "FSCommand:press", "A"},
                                {0x08, "FSCommand:release", "A"},
                                {0x08, "FSCommand:lamp", "on"}};
    const auto handlers = buttonHandlers(load(gallery / "buttons.swf"));
    ASSERT_EQ(handlers.size(), std::size(expected));
    for (std::size_t i = 0; i < handlers.size(); ++i) {
        SCOPED_TRACE(expected[i].url);
        EXPECT_EQ(handlers[i].condition, expected[i].condition);
        const auto& actions = handlers[i].actions;
        EXPECT_TRUE(std::any_of(actions.begin(), actions.end(), [](const ActionRecord& a) {
            return a.code == 0x26;
        })) << "traces";
        const auto url = std::find_if(actions.begin(), actions.end(),
                                      [](const ActionRecord& a) { return a.code == 0x83; });
        ASSERT_NE(url, actions.end());
        EXPECT_EQ(text(*url), expected[i].url);
        const auto target = std::find(url->payload.begin(), url->payload.end(), 0) + 1;
        EXPECT_EQ(std::string(target, std::find(target, url->payload.end(), 0)), expected[i].args);
    }
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
