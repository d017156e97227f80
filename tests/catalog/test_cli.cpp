#include "CatalogFixtures.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace
{

struct ToolRun final {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string shellQuoted(std::string_view arg)
{
    std::string out = "'";
    for (const char c : arg)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string slurp(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class CatalogTool : public ::testing::Test
{
protected:
    ToolRun run(const std::vector<std::string>& args) const
    {
        std::string command = shellQuoted(QUORVANE_CATALOG_TOOL);
        for (const auto& arg : args) {
            command += ' ';
            command += shellQuoted(arg);
        }
        const auto out = m_dir.path() / "stdout";
        const auto err = m_dir.path() / "stderr";
        command += " >" + shellQuoted(out.string()) + " 2>" + shellQuoted(err.string());
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
    }

    fixtures::TempDir m_dir;
};

const std::string demoRows =
    R"(<ROW cod_disp="5" cod_web="130" serie="3A" disciplina="Ciências" tipo="exercicio" descricao="Água e vida" categoria="Natureza" caminho="\atividades\A.swf" executavel="N"/>)"
    R"(<ROW cod_disp="5" cod_web="12A" serie="3A" disciplina="Ciências" tipo="Delvanos" descricao="Plantas	e&#013;&#010;flores" categoria="Natureza" caminho="\atividades\b.exe" executavel="S"/>)"
    R"(<ROW cod_disp="2" cod_web="120" serie="3A" disciplina="Ciências" tipo="delvanos" descricao="Animais" caminho="\atividades\c.swf" executavel="N"/>)"
    R"(<ROW cod_disp="9" cod_web="11" serie="3A" disciplina="Ciências" tipo="jogo" descricao="d&apos;água" categoria="" caminho="\ATIVIDADES\D.SWF" executavel=""/>)";

} // namespace

TEST_F(CatalogTool, DumpsTheCurrentRecordsInFileOrderEscaped)
{
    const std::string file = m_dir.write(
        "ketmo.xml",
        fixtures::packet(
            R"(<FIELD attrname="a" fieldtype="string"/><FIELD attrname="b" fieldtype="i4"/>)",
            R"(<ROW a="x\y&#009;z" b="1"/><ROW RowState="1" a="old" b="2"/><ROW RowState="8" b="3"/>)"
            R"(<ROW a="" b="4"/><ROW a="l1&#013;&#010;l2"/>)"));
    const ToolRun r = run({"dump", file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "a\tb\nx\\\\y\\tz\t1\n\t3\n\t4\nl1\\r\\nl2\t\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CatalogTool, ViewsACatalogAsTheActivitiesWindowDoes)
{
    const std::string file =
        m_dir.write("ketmo.xml", fixtures::packet(fixtures::catalogFields, demoRows));
    const std::string header = "cod_web\tdisciplina\tdescricao\tcategoria\tcaminho\texecutavel\n";
    const std::string quizzes =
        header
        + "12A\tCiências\tPlantas e\\r\\nflores\tNatureza\t\\\\atividades\\\\b.exe\tS\n"
          "130\tCiências\tÁgua e vida\tNatureza\t\\\\atividades\\\\A.swf\tN\n"
          "11\tCiências\td'água\t\t\\\\ATIVIDADES\\\\D.SWF\t\n";
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"view", file, "3A", "Ciências", "quizzes"}, quizzes},
        {{"view", file, "3A", "Ciências", "lessons"},
         header + "120\tCiências\tAnimais\t\t\\\\atividades\\\\c.swf\tN\n"},
        {{"view", file, "3A", "Ciências", "quizzes", "--search", "13"}, quizzes + "current\t1\n"},
        {{"view", file, "3A", "Ciências", "quizzes", "--search", "12"}, quizzes + "current\t0\n"},
        {{"view", file, "3A", "Ciências", "quizzes", "--search", "d'á"}, quizzes + "current\t2\n"},
        {{"view", file, "3A", "Ciências", "quizzes", "--search", "zz"}, quizzes + "current\t0\n"},
        {{"view", file, "5A", "Ciências", "quizzes", "--search", "1"}, header + "current\t-1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
}

TEST_F(CatalogTool, ChecksWhatWouldBiteAUser)
{
    m_dir.write("content/Atividades/a.swf", "");
    m_dir.write("content/Atividades/B.exe", "");
    m_dir.write("content/Atividades/d.swf", "");
    const std::string root = (m_dir.path() / "content").string();
    const std::string clean =
        m_dir.write("clean.xml", fixtures::packet(fixtures::catalogFields, demoRows));
    ToolRun r = run({"check", clean, "--root", root});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "record 3 (cod_web 120): caminho '\\atividades\\c.swf' names no file under "
                         + root + "\n");
    m_dir.write("content/Atividades/C.SWF", "");
    r = run({"check", clean, "--root", root});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");

    std::string fields(fixtures::catalogFields);
    fields.replace(fields.find("categoria"), 9, "category_");
    const std::string bad = m_dir.write(
        "bad.xml",
        fixtures::packet(
            fields,
            R"(<ROW cod_disp="1" cod_web="7" serie="6A" disciplina="Ciências" tipo="quiz" executavel="s"/>)"
            R"(<ROW cod_disp="1" cod_web="8" serie="3A" disciplina="ESSO" tipo="quiz" executavel="N"/>)"
            R"(<ROW cod_disp="1" cod_web="9" serie="3A" disciplina="Geografia" tipo="quiz"/>)"
            R"(<ROW cod_disp="1" cod_web="9" serie="3A" disciplina="História" tipo="jogo"/>)"
            R"(<ROW cod_disp="1" cod_web="9" serie="3A" disciplina="História" tipo="delvanos"/>)"));
    r = run({"check", bad});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out,
              "missing field 'categoria'\n"
              "record 1 (cod_web 7): grade '6A' is not one of 1A to 5A\n"
              "record 1 (cod_web 7): executavel 's' is not S, N or empty\n"
              "record 2 (cod_web 8): subject 'ESSO' cannot be reached from the menus\n"
              "record 4 (cod_web 9): code also used by record 3 in the quizzes of 3A ESSO\n");
}

TEST_F(CatalogTool, ErrorsPrintTheEngineMessageAndExit2)
{
    const std::string truncated = m_dir.write(
        "truncated.xml", fixtures::packet(fixtures::catalogFields, demoRows).substr(0, 300));
    const std::string noSerie = m_dir.write(
        "noserie.xml",
        fixtures::packet(
            R"(<FIELD attrname="cod_disp" fieldtype="i4"/><FIELD attrname="cod_web" fieldtype="string"/>)",
            ""));
    const std::string missing = (m_dir.path() / "none.xml").string();
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"dump", missing}, "cdxtb: Missing data provider or data packet\n"},
        {{"check", missing}, "cdxtb: Missing data provider or data packet\n"},
        {{"dump", truncated}, "Invalid data packet\n"},
        {{"view", truncated, "3A", "Ciências", "quizzes"}, "Invalid data packet\n"},
        {{"view", noSerie, "3A", "Ciências", "quizzes"}, "cdxtb: Field 'serie' not found\n"},
        {{"view", missing, "3A", "Ciências", "exercises"},
         "usage: quorvane-catalog dump FILE\n"
         "       quorvane-catalog view FILE GRADE SUBJECT lessons|quizzes [--search TEXT]\n"
         "       quorvane-catalog check FILE [--root DIR]\n"},
        {{}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "no arguments" : c.args.front());
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        if (!c.err.empty()) {
            EXPECT_EQ(r.err, c.err);
        }
    }
}
