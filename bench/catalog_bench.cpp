// Times the catalog engine on a generated 100,000-row catalog against the bare work underneath:
// pugixml's parse of the same bytes for an open, a plain prefix scan over the same strings for a
// search keystroke. Prints one table with the ratios; with --tsv the same rows as tab-separated
// "measure, figure ms, baseline ms, goal" for scripts/bench. With --write-latin1 FILE it only
// writes the catalog as an ISO-8859-1 packet, for timing whole programs on it.
#include "CatalogOperations.h"
#include "ClientDataSet.h"

#include <malloc.h>
#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace
{

constexpr int rowCount = 100000;
constexpr int repetitions = 15;

constexpr std::string_view subjects[] = {"Matemática",  "Português", "Inglês",  "Ciências",
                                         "Informática", "Geografia", "História"};
constexpr std::string_view folders[] = {"mat", "por", "ing", "cie", "inf", "geo", "his"};
constexpr std::string_view kinds[] = {"delvanos", "exercicio", "jogo", "desafio"};
constexpr std::string_view words[] = {"Água",    "frações", "leitura", "animais", "mapa",
                                      "números", "ação",    "verbos",  "planeta", "história"};

// A catalog shaped like the shipped one: the program's fields, cod_disp numeric, cod_web text.
std::string generateCatalog()
{
    std::mt19937 random(7);
    std::ostringstream out;
    out << R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>  <DATAPACKET Version="2.0">)"
        << R"(<METADATA><FIELDS><FIELD attrname="cod_disp" fieldtype="i4"/>)"
        << R"(<FIELD attrname="cod_web" fieldtype="string" WIDTH="10"/>)"
        << R"(<FIELD attrname="serie" fieldtype="string" WIDTH="2"/>)"
        << R"(<FIELD attrname="disciplina" fieldtype="string" WIDTH="30"/>)"
        << R"(<FIELD attrname="tipo" fieldtype="string" WIDTH="20"/>)"
        << R"(<FIELD attrname="descricao" fieldtype="string" WIDTH="100"/>)"
        << R"(<FIELD attrname="categoria" fieldtype="string" WIDTH="30"/>)"
        << R"(<FIELD attrname="caminho" fieldtype="string" WIDTH="200"/>)"
        << R"(<FIELD attrname="executavel" fieldtype="string" WIDTH="1"/>)"
        << R"(</FIELDS><PARAMS DEFAULT_ORDER="1" LCID="1046"/></METADATA><ROWDATA>)";
    for (int i = 0; i < rowCount; ++i) {
        const std::size_t subject = random() % std::size(subjects);
        const int grade = static_cast<int>(random() % 5) + 1;
        // The last rows carry a description nothing else begins with: "found near the end".
        const std::string description =
            i >= rowCount - 3
                ? "Zebra " + std::to_string(i)
                : std::string(words[random() % std::size(words)]) + " e "
                      + std::string(words[random() % std::size(words)]) + " " + std::to_string(i);
        out << R"(<ROW cod_disp=")" << random() % 60 << R"(" cod_web=")" << 100000 + i
            << R"(" serie=")" << grade << R"(A" disciplina=")" << subjects[subject] << R"(" tipo=")"
            << kinds[random() % std::size(kinds)] << R"(" descricao=")" << description
            << R"(" categoria="Categoria )" << random() % 12 << R"(" caminho="\atividades\)"
            << grade << R"(a\)" << folders[subject] << R"(\a)" << i << R"(.swf" executavel=")"
            << (random() % 10 == 0 ? "S" : "N") << R"("/>)";
    }
    out << "</ROWDATA></DATAPACKET>";
    return out.str();
}

// The same packet in ISO-8859-1, as older writers save it; every character of the generated
// catalog has a Latin-1 code.
std::string toLatin1(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(((c & 0x1F) << 6)
                                     | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
            ++i;
        }
    }
    constexpr std::string_view utf8Label = R"(encoding="UTF-8")";
    out.replace(out.find(utf8Label), utf8Label.size(), R"(encoding="ISO-8859-1")");
    return out;
}

void writeFile(const std::filesystem::path& file, std::string_view bytes)
{
    std::ofstream(file, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Best wall time of `repetitions` runs, in milliseconds: the machine is shared, and other work
// only ever adds time.
double bestMs(const std::function<void()>& work, int runs = repetitions)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    return *std::min_element(times.begin(), times.end());
}

// Keeps the compiler from dropping the bare scan whose result nothing else uses.
volatile bool benchmarkSink = false;

bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(prefix[i]);
        if (a != b && (a | 0x20) != (b | 0x20))
            return false;
    }
    return true;
}

bool tsv = false;

void row(const char* what, double ms, double baselineMs, const char* goal)
{
    if (tsv)
        std::printf("%s\t%.3f\t%.3f\t%s\n", what, ms, baselineMs, goal);
    else
        std::printf("%-44s %10.3f ms %10.3f ms %8.2fx   %s\n", what, ms, baselineMs,
                    ms / baselineMs, goal);
}

} // namespace

int main(int argc, char** argv)
{
    const std::span<char*> args(argv + 1, static_cast<std::size_t>(argc - 1));
    const std::string bytes = generateCatalog();
    if (args.size() == 2 && std::string_view(args[0]) == "--write-latin1") {
        writeFile(args[1], toLatin1(bytes));
        return 0;
    }
    tsv = args.size() == 1 && std::string_view(args[0]) == "--tsv";
    if (!tsv && !args.empty()) {
        std::fprintf(stderr, "usage: bench_catalog [--tsv | --write-latin1 FILE]\n");
        return 2;
    }
    // Both sides keep the memory they free: otherwise whichever runs after the other's large
    // free pays the kernel's page faults again, and the ratio measures glibc's heuristics.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    const auto file = std::filesystem::temp_directory_path() / "quorvane-bench-ketmo.xml";
    writeFile(file, bytes);
    if (!tsv) {
        std::printf("catalog: %d rows, %.1f MB\n\n", rowCount,
                    static_cast<double>(bytes.size()) / 1e6);
        std::printf("%-44s %13s %13s %9s   %s\n", "measure", "engine", "baseline", "ratio", "goal");
    }

    // The two run alternately, so that both meet the allocator and the caches in the same state.
    // The open is the whole of what showing a view costs: read, decode, index, filter and the
    // first search keystroke, one that finds nothing.
    catalog::ClientDataSet cdxtb("cdxtb");
    catalog::useCatalogIndex(cdxtb);
    std::vector<double> parses;
    std::vector<double> opens;
    for (int i = 0; i < repetitions; ++i) {
        parses.push_back(bestMs(
            [&bytes] {
                pugi::xml_document document;
                if (!document.load_buffer(bytes.data(), bytes.size()))
                    std::abort();
            },
            1));
        opens.push_back(bestMs(
            [&] {
                catalog::openWithFilter(cdxtb, file.string(), catalog::View::Quizzes, "3A",
                                        "Matemática");
                if (catalog::search(cdxtb, "quux"))
                    std::abort();
            },
            1));
    }
    const double parse = *std::min_element(parses.begin(), parses.end());
    const double open = *std::min_element(opens.begin(), opens.end());
    row("open, filter, search vs bare pugixml parse", open, parse, "ratio <= 1.0");
    const std::size_t quizView = cdxtb.recordCount();
    const double quizKeystroke = bestMs([&cdxtb] { (void)catalog::search(cdxtb, "quux"); }, 101);

    // The search runs on the whole catalog as one view: the most a keystroke can have to scan.
    cdxtb.setFiltered(false);
    const std::size_t descricao = *cdxtb.findField("descricao");
    const std::size_t codWeb = *cdxtb.findField("cod_web");
    std::vector<std::string_view> descriptions;
    std::vector<std::string_view> codes;
    for (std::size_t i = 0; i < cdxtb.recordCount(); ++i) {
        descriptions.push_back(*cdxtb.value(i, descricao));
        codes.push_back(*cdxtb.value(i, codWeb));
    }
    const auto bareScan = [](const std::vector<std::string_view>& texts, std::string_view prefix) {
        return bestMs(
            [&] {
                const auto found = std::find_if(texts.begin(), texts.end(), [prefix](auto text) {
                    return startsWithIgnoringAsciiCase(text, prefix);
                });
                benchmarkSink = found == texts.end();
            },
            101);
    };
    const auto keystroke = [&cdxtb](std::string_view text) {
        return bestMs([&] { (void)catalog::search(cdxtb, text); }, 101);
    };
    if (!tsv)
        std::printf("\nsearch keystroke over a view of %zu records:\n", cdxtb.recordCount());
    row("keystroke, all records: \"zebr\" near the end", keystroke("zebr"),
        bareScan(descriptions, "zebr"), "< 1 ms");
    row("keystroke, all records: \"quux\" not found", keystroke("quux"),
        bareScan(descriptions, "quux"), "< 1 ms");
    row("keystroke, all records: code \"99\" not found", keystroke("99"), bareScan(codes, "99"),
        "< 1 ms");
    if (tsv) {
        std::printf("keystroke, quiz view: \"quux\" not found\t%.3f\t\t< 1 ms\n", quizKeystroke);
    } else {
        std::printf("\nsearch keystroke over the quiz view of 3A/Matemática (%zu records):\n",
                    quizView);
        std::printf("%-44s %10.3f ms %27s\n", "description not found (\"quux\")", quizKeystroke,
                    "< 1 ms");
    }
    std::filesystem::remove(file);
    return 0;
}
