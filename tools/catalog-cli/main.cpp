// quorvane-catalog: a content maintainer's view of a catalog file, read by the same engine and
// the same filters as the activities window.
#include "CatalogOperations.h"
#include "ClientDataSet.h"
#include "Error.h"
#include "Messages.h"
#include "Text.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace
{

namespace fs = std::filesystem;

constexpr int exitClean = 0;
constexpr int exitProblems = 1;
constexpr int exitError = 2;

constexpr std::string_view usage =
    "usage: quorvane-catalog dump FILE\n"
    "       quorvane-catalog view FILE GRADE SUBJECT lessons|quizzes [--search TEXT]\n"
    "       quorvane-catalog check FILE [--root DIR]\n";

constexpr std::string_view viewColumns[] = {"cod_web",   "disciplina", "descricao",
                                            "categoria", "caminho",    "executavel"};

constexpr std::string_view requiredFields[] = {"serie",   "disciplina", "tipo",
                                               "cod_web", "descricao",  "categoria",
                                               "caminho", "executavel", "cod_disp"};

constexpr std::string_view grades[] = {"1A", "2A", "3A", "4A", "5A"};

// Subjects as the menus' filters name them; "ESSO" reaches Geografia and História.
constexpr std::string_view reachableSubjects[] = {"Matemática",  "Português", "Inglês",  "Ciências",
                                                  "Informática", "Geografia", "História"};

// One value on one line: the characters that would break the line or the columns are escaped,
// and the backslash too when the output is meant to be read back.
std::string escaped(std::optional<std::string_view> value, bool escapeBackslash = true)
{
    std::string out;
    for (const char c : value.value_or(std::string_view())) {
        if (c == '\\' && !escapeBackslash) {
            out += c;
            continue;
        }
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::size_t requireField(const catalog::ClientDataSet& dataSet, std::string_view name)
{
    const auto index = dataSet.findField(name);
    if (!index)
        throw catalog::Error(
            catalog::messages::withDataSet(dataSet.name(), catalog::messages::fieldNotFound(name)));
    return *index;
}

void printRows(const catalog::ClientDataSet& dataSet, const std::vector<std::size_t>& columns)
{
    for (std::size_t i = 0; i < columns.size(); ++i)
        std::cout << (i ? "\t" : "") << escaped(dataSet.field(columns[i]).name);
    std::cout << '\n';
    for (std::size_t row = 0; row < dataSet.recordCount(); ++row) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            std::cout << (i ? "\t" : "") << escaped(dataSet.value(row, columns[i]));
        std::cout << '\n';
    }
}

int dump(const std::string& fileName)
{
    catalog::ClientDataSet dataSet("cdxtb");
    dataSet.setFileName(fileName);
    dataSet.open();
    std::vector<std::size_t> columns(dataSet.fieldCount());
    for (std::size_t i = 0; i < columns.size(); ++i)
        columns[i] = i;
    printRows(dataSet, columns);
    return exitClean;
}

int view(const std::string& fileName, std::string_view grade, std::string_view subject,
         catalog::View kind, const std::optional<std::string>& searchText)
{
    catalog::ClientDataSet dataSet("cdxtb");
    catalog::useCatalogIndex(dataSet);
    catalog::openWithFilter(dataSet, fileName, kind, grade, subject);
    std::vector<std::size_t> columns;
    for (const std::string_view name : viewColumns)
        columns.push_back(requireField(dataSet, name));
    if (searchText)
        (void)catalog::search(dataSet, *searchText);
    printRows(dataSet, columns);
    if (searchText)
        std::cout << "current\t" << dataSet.recNo() << '\n';
    return exitClean;
}

// The file that `relative` names under `root`, matching each component without case when the
// exact name does not exist, as the program does for content made on Windows.
bool resolvesToFile(const fs::path& root, std::string_view relative)
{
    std::string mapped(relative);
    std::replace(mapped.begin(), mapped.end(), '\\', '/');
    fs::path current = root;
    std::error_code error;
    std::size_t start = 0;
    while (start <= mapped.size()) {
        const std::size_t slash = std::min(mapped.find('/', start), mapped.size());
        const std::string component = mapped.substr(start, slash - start);
        start = slash + 1;
        if (component.empty() || component == ".")
            continue;
        if (component == ".." || fs::exists(current / component, error)) {
            current /= component;
            continue;
        }
        std::optional<std::string> best;
        for (const auto& entry : fs::directory_iterator(current, error)) {
            const std::string name = entry.path().filename().string();
            if (catalog::text::equal(name, component, true) && (!best || name < *best))
                best = name;
        }
        if (!best)
            return false;
        current /= *best;
    }
    return fs::is_regular_file(current, error);
}

bool isOneOf(std::string_view value, const auto& list)
{
    return std::find(std::begin(list), std::end(list), value) != std::end(list);
}

int check(const std::string& fileName, const std::optional<fs::path>& root)
{
    catalog::ClientDataSet dataSet("cdxtb");
    dataSet.setFileName(fileName);
    dataSet.open();

    std::vector<std::string> problems;
    for (const std::string_view name : requiredFields) {
        if (!dataSet.findField(name))
            problems.push_back("missing field '" + std::string(name) + "'");
    }
    const auto column = [&dataSet](std::string_view name) { return dataSet.findField(name); };
    const auto serie = column("serie");
    const auto disciplina = column("disciplina");
    const auto tipo = column("tipo");
    const auto codWeb = column("cod_web");
    const auto caminho = column("caminho");
    const auto executavel = column("executavel");
    const auto text = [&dataSet](std::size_t row, const std::optional<std::size_t>& field) {
        return field ? dataSet.value(row, *field) : std::nullopt;
    };

    // Codes already seen in each view: grade, subject as the menu offers it, lessons or quizzes.
    std::map<std::string, std::map<std::string, std::size_t>> codesByView;
    for (std::size_t row = 0; row < dataSet.recordCount(); ++row) {
        const auto code = text(row, codWeb);
        const std::string where =
            "record " + std::to_string(row + 1) + " (cod_web " + escaped(code) + "): ";
        const auto grade = text(row, serie);
        const auto subject = text(row, disciplina);
        const bool gradeOk = grade && isOneOf(*grade, grades);
        const bool subjectOk = subject && isOneOf(*subject, reachableSubjects);
        if (serie && !gradeOk)
            problems.push_back(where + "grade '" + escaped(grade) + "' is not one of 1A to 5A");
        if (disciplina && !subjectOk)
            problems.push_back(where + "subject '" + escaped(subject)
                               + "' cannot be reached from the menus");
        if (const auto exe = text(row, executavel);
            exe && !exe->empty() && *exe != "S" && *exe != "N")
            problems.push_back(where + "executavel '" + escaped(exe) + "' is not S, N or empty");
        if (root && caminho) {
            const auto path = text(row, caminho);
            if (!path || path->empty())
                problems.push_back(where + "caminho is empty");
            else if (!resolvesToFile(*root, *path))
                problems.push_back(where + "caminho '" + escaped(path, false)
                                   + "' names no file under " + root->string());
        }
        if (gradeOk && subjectOk && code && tipo) {
            const std::string menuSubject = (*subject == "Geografia" || *subject == "História")
                                                ? "ESSO"
                                                : std::string(*subject);
            const auto kind = text(row, tipo);
            const bool lesson = kind && *kind == "delvanos";
            const std::string viewName = std::string(lesson ? "lessons" : "quizzes") + " of "
                                         + std::string(*grade) + " " + menuSubject;
            auto& codes = codesByView[viewName];
            const auto [seen, inserted] = codes.emplace(std::string(*code), row + 1);
            if (!inserted)
                problems.push_back(where + "code also used by record "
                                   + std::to_string(seen->second) + " in the " + viewName);
        }
    }
    for (const std::string& problem : problems)
        std::cout << problem << '\n';
    return problems.empty() ? exitClean : exitProblems;
}

int run(const std::vector<std::string>& args)
{
    const std::size_t n = args.size();
    if (n == 2 && args[0] == "dump")
        return dump(args[1]);
    if ((n == 5 || (n == 7 && args[5] == "--search")) && args[0] == "view"
        && (args[4] == "lessons" || args[4] == "quizzes")) {
        const auto kind = args[4] == "lessons" ? catalog::View::Lessons : catalog::View::Quizzes;
        return view(args[1], args[2], args[3], kind,
                    n == 7 ? std::optional(args[6]) : std::nullopt);
    }
    if ((n == 2 || (n == 4 && args[2] == "--root")) && args[0] == "check")
        return check(args[1], n == 4 ? std::optional(fs::path(args[3])) : std::nullopt);
    std::cerr << usage;
    return exitError;
}

} // namespace

int main(int argc, char** argv)
{
    // The tool's one error boundary: every engine error becomes one line on standard error.
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << error.what() << '\n';
        return exitError;
    }
}
