// Writes the demo content tree: the menu movies and the catalog in config/, the activities the
// catalog points at, and in gallery/ the movies that show every drawing feature. The catalog rows,
// quiz questions and lesson steps come from the tables in the demo/ folder of the source tree.
#include "ActivityMovies.h"
#include "Artwork.h"
#include "DataPacket.h"
#include "GalleryMovies.h"
#include "MenuMovies.h"
#include "TsvTable.h"
#include "swfwriter/GlyphOutline.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

namespace fs = std::filesystem;

namespace
{

// The catalog's fields in file order. The tables' other columns say what the generator makes:
// `make` (lesson, quiz, sound, program or none, for entries whose file is left missing on
// purpose) and `file`, where the activity is written when that differs from `caminho`.
const std::vector<datapacket::Field> catalogFields = {
    {"cod_disp", "i4", 0},        {"cod_web", "string", 10},  {"serie", "string", 2},
    {"disciplina", "string", 20}, {"tipo", "string", 12},     {"descricao", "string", 60},
    {"categoria", "string", 30},  {"caminho", "string", 100}, {"executavel", "string", 1},
    {"duracao", "i2", 0},         {"data_cad", "date", 0},
};

const std::map<std::string, swfwriter::Rgba, std::less<>> subjectColours = {
    {"Matemática", swfwriter::Rgba::hex(0x2f7fd0)},  {"Português", swfwriter::Rgba::hex(0xe0483a)},
    {"Geografia", swfwriter::Rgba::hex(0x3fae49)},   {"História", swfwriter::Rgba::hex(0x9a6a2a)},
    {"Inglês", swfwriter::Rgba::hex(0xb04ac0)},      {"Ciências", swfwriter::Rgba::hex(0xe09a10)},
    {"Informática", swfwriter::Rgba::hex(0x1f9aa8)},
};

QString cell(const TsvTable::Row& row, std::string_view column)
{
    const auto found = row.find(column);
    return found == row.end() ? QString() : QString::fromStdString(found->second);
}

std::string required(const TsvTable::Row& row, std::string_view column)
{
    const auto found = row.find(column);
    if (found == row.end())
        throw std::runtime_error("a row has no " + std::string(column));
    return found->second;
}

// Catalog paths are Windows paths below the program folder: "\atividades\3A\mat\x.swf".
fs::path contentFile(const fs::path& root, std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    const auto start = path.find_first_not_of('/');
    if (start == std::string::npos)
        throw std::runtime_error("empty activity path");
    const fs::path relative = fs::path(path.substr(start)).lexically_normal();
    if (relative.empty() || *relative.begin() == "..")
        throw std::runtime_error("activity path leaves the content folder: " + path);
    return root / relative;
}

std::map<std::string, TsvTable::Row, std::less<>> byPath(const TsvTable& table)
{
    std::map<std::string, TsvTable::Row, std::less<>> result;
    for (const TsvTable::Row& row : table.rows())
        result.emplace(required(row, "caminho"), row);
    return result;
}

void writeActivities(const ActivityMovies& movies, const fs::path& root, const TsvTable& catalog,
                     const TsvTable& lessons, const TsvTable& quizzes)
{
    auto lessonSteps = byPath(lessons);
    auto questions = byPath(quizzes);
    for (const TsvTable::Row& row : catalog.rows()) {
        const std::string make = required(row, "make");
        const std::string path = required(row, "caminho");
        const auto fileColumn = row.find("file");
        const fs::path file =
            contentFile(root, fileColumn == row.end() ? path : fileColumn->second);
        const QString title = cell(row, "descricao");
        const QString topic =
            cell(row, "disciplina") + QStringLiteral(" – ") + cell(row, "categoria");
        const auto colour = subjectColours.find(required(row, "disciplina"));
        if (colour == subjectColours.end())
            throw std::runtime_error("no colour for the subject of " + path);
        if (make != "none")
            fs::create_directories(file.parent_path());

        if (make == "lesson") {
            const auto steps = lessonSteps.find(path);
            if (steps == lessonSteps.end()) {
                movies.card(file, title, topic, colour->second);
            } else {
                movies.lesson(file, title, topic,
                              {cell(steps->second, "passo1"), cell(steps->second, "passo2"),
                               cell(steps->second, "passo3")},
                              colour->second);
                lessonSteps.erase(steps);
            }
        } else if (make == "quiz") {
            const auto question = questions.find(path);
            if (question == questions.end()) {
                movies.card(file, title, topic, colour->second);
            } else {
                const TsvTable::Row& q = question->second;
                movies.quiz(file, title, cell(q, "pergunta"),
                            {cell(q, "resposta1"), cell(q, "resposta2"), cell(q, "resposta3")},
                            cell(q, "certa").toInt() - 1, colour->second);
                questions.erase(question);
            }
        } else if (make == "sound") {
            movies.card(file, title, topic, colour->second, ActivityMovies::Sound::Chime);
        } else if (make == "program") {
            ActivityMovies::program(file, title);
        } else if (make != "none") {
            throw std::runtime_error(path + ": unknown make value " + make);
        }
    }
    // A step or question nobody uses is a typo in a path: say so rather than lose it.
    for (const auto& rest : {lessonSteps, questions})
        if (!rest.empty())
            throw std::runtime_error(rest.begin()->first
                                     + " is not a lesson or quiz of the catalog");
}

void writeCatalog(const fs::path& file, const TsvTable& catalog)
{
    const std::string packet = datapacket::write(catalogFields, catalog.rows());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << packet;
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

} // namespace

int main(int argc, char* argv[])
{
    // Glyph outlines need Qt's font machinery but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: quorvane-demo OUTPUT_FOLDER [TABLES_FOLDER]\n");
        return 2;
    }
    try {
        const fs::path root = argv[1];
        const fs::path tables = argc == 3 ? fs::path(argv[2]) : fs::path(QUORVANE_DEMO_TABLES);
        const TsvTable catalog(tables / "catalog.tsv");
        const TsvTable lessons(tables / "lessons.tsv");
        const TsvTable quizzes(tables / "quizzes.tsv");

        const swfwriter::GlyphOutline glyphs(QStringLiteral(QUORVANE_DEMO_FONT));
        const Artwork art(glyphs);
        fs::create_directories(root / "config");
        MenuMovies(art, root / "config").writeAll();
        writeActivities(ActivityMovies(art), root, catalog, lessons, quizzes);
        writeCatalog(root / "config" / "ketmo.xml", catalog);
        fs::create_directories(root / "gallery");
        GalleryMovies(glyphs, root / "gallery").writeAll();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quorvane-demo: %s\n", error.what());
        return 1;
    }
    return 0;
}
