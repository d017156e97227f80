// Plays every movie of a reference corpus in the native engine and holds its traces against the
// reference player's: the native engine may only take what it plays the same way.
//
//   quorvane-swfconformance [--verbose] CORPUS
//
// CORPUS holds one folder per movie (test.swf, test.toml, output.txt), in groups of folders.
// Prints, per group: the movies with a reference output, how many the scan accepts, how many of
// those trace exactly what the reference traced, and their PASSED lines matched. Then every
// accepted movie that differs, with where; with --verbose, every rejection and its reason too.
// Exits with 1 when an accepted movie differs, 2 when the corpus cannot be read, and 77 (a skip
// to CTest) when there is no corpus at all: clones without the shared folder still test.
#include "ConformanceCase.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using swfconformance::CaseResult;

struct Tally {
    int movies = 0;
    int accepted = 0;
    int matching = 0;
    std::size_t passedExpected = 0;
    std::size_t passedMatched = 0;

    void add(const CaseResult& result)
    {
        if (result.outcome == CaseResult::Outcome::NoReference)
            return;
        ++movies;
        if (result.outcome == CaseResult::Outcome::Rejected)
            return;
        ++accepted;
        matching += result.outcome == CaseResult::Outcome::Matches;
        passedExpected += result.passedExpected;
        passedMatched += result.passedMatched;
    }
};

void printRow(std::string_view group, const Tally& tally)
{
    std::printf("%-44.*s %7d %9d %9d %8zu/%zu\n", static_cast<int>(group.size()), group.data(),
                tally.movies, tally.accepted, tally.matching, tally.passedMatched,
                tally.passedExpected);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const bool verbose = !arguments.empty() && arguments.front() == "--verbose";
    if (arguments.size() != (verbose ? 2u : 1u)) {
        std::cerr << "usage: quorvane-swfconformance [--verbose] CORPUS\n";
        return 2;
    }
    const fs::path corpus(arguments.back());
    if (!fs::exists(corpus)) {
        std::cout << corpus.string() << ": no reference corpus here; nothing compared\n";
        return 77;
    }

    std::vector<fs::path> folders;
    std::error_code error;
    for (fs::recursive_directory_iterator entry(corpus, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->is_regular_file() && entry->path().filename() == "test.swf")
            folders.push_back(entry->path().parent_path());
    }
    if (error || folders.empty()) {
        std::cerr << corpus.string() << ": no movies found\n";
        return 2;
    }
    std::sort(folders.begin(), folders.end());

    std::map<std::string, Tally> groups;
    Tally total;
    std::vector<std::string> differences;
    std::vector<std::string> rejections;
    for (const fs::path& folder : folders) {
        const std::string name = folder.lexically_relative(corpus).generic_string();
        CaseResult result;
        try {
            result = swfconformance::runCase(folder);
        } catch (const std::exception& failure) {
            std::cerr << failure.what() << '\n';
            return 2;
        }
        groups[folder.parent_path().lexically_relative(corpus).generic_string()].add(result);
        total.add(result);
        if (result.outcome == CaseResult::Outcome::Differs)
            differences.push_back(name + ": " + result.reason);
        else if (result.outcome == CaseResult::Outcome::Rejected)
            rejections.push_back(name + ": " + result.reason);
    }

    std::printf("%-44s %7s %9s %9s %s\n", "group", "movies", "accepted", "matching",
                "PASSED matched");
    for (const auto& [group, tally] : groups)
        printRow(group, tally);
    printRow("total", total);

    if (verbose) {
        std::cout << "\nRejected by the scan:\n";
        for (const auto& line : rejections)
            std::cout << "  " << line << '\n';
    }
    if (!differences.empty()) {
        std::cout << "\nAccepted, but traced differently from the reference:\n";
        for (const auto& line : differences)
            std::cout << "  " << line << '\n';
    }
    return differences.empty() ? 0 : 1;
}
