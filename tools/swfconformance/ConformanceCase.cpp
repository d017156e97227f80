#include "ConformanceCase.h"

#include "Movie.h"
#include "Player.h"
#include "SupportScan.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <stdexcept>
#include <vector>

namespace swfconformance
{
namespace
{

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error(path.string() + ": cannot be opened");
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string readText(const std::filesystem::path& path)
{
    const auto bytes = readBytes(path);
    return {bytes.begin(), bytes.end()};
}

// The recorded output ends its last line with a line break; an empty file has no lines.
std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            result.push_back(text.substr(start));
            break;
        }
        result.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

int frameCount(const std::filesystem::path& toml)
{
    static const std::regex numFrames(R"(^\s*num_frames\s*=\s*(\d+))");
    std::ifstream file(toml);
    std::string line;
    std::smatch match;
    while (std::getline(file, line)) {
        if (std::regex_search(line, match, numFrames))
            return std::stoi(match[1]);
    }
    return 1;
}

class TraceLog final : public swf::PlayerHost
{
public:
    void fsCommand(const std::string&, const std::string&) override {}
    void trace(const std::string& text) override { m_text += text + '\n'; }
    void openUrl(const std::string&, const std::string&) override {}

    [[nodiscard]] const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

bool isPassed(const std::string& line)
{
    return line.starts_with("PASSED");
}

} // namespace

CaseResult runCase(const std::filesystem::path& folder)
{
    CaseResult result;
    const auto reference = folder / "output.txt";
    if (!std::filesystem::exists(reference) || std::filesystem::exists(folder / "input.json"))
        return result;

    const auto file = readBytes(folder / "test.swf");
    const swf::MovieSummary summary = swf::scanMovie(file);
    if (!summary.supported) {
        result.outcome = CaseResult::Outcome::Rejected;
        result.reason = summary.firstUnsupported;
        return result;
    }

    TraceLog log;
    {
        swf::Player player(swf::Movie::load(file), log);
        for (int frame = 1; frame < frameCount(folder / "test.toml"); ++frame)
            player.advance();
    }

    const auto expected = lines(readText(reference));
    const auto actual = lines(log.text());
    std::map<std::string, int> traced;
    for (const auto& line : actual)
        ++traced[line];
    for (const auto& line : expected) {
        if (!isPassed(line))
            continue;
        ++result.passedExpected;
        if (traced[line]-- > 0)
            ++result.passedMatched;
    }

    const auto [wanted, got] =
        std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
    if (wanted == expected.end() && got == actual.end()) {
        result.outcome = CaseResult::Outcome::Matches;
        return result;
    }
    result.outcome = CaseResult::Outcome::Differs;
    result.reason = "line " + std::to_string(wanted - expected.begin() + 1) + ": expected \""
                    + (wanted == expected.end() ? "(end)" : *wanted) + "\", traced \""
                    + (got == actual.end() ? "(end)" : *got) + "\"";
    return result;
}

} // namespace swfconformance
