#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace swfconformance
{

// One movie of a reference corpus played natively and held against the reference player's
// recorded traces: a folder with test.swf, test.toml (`num_frames`) and output.txt.
struct CaseResult {
    enum class Outcome {
        NoReference, // no output.txt, or scripted input the runner does not replay
        Rejected,    // the scan sends it to the other engine
        Matches,
        Differs,
    };
    Outcome outcome = Outcome::NoReference;
    std::string reason; // why the scan rejected it, or where the traces first part
    std::size_t passedExpected = 0;
    std::size_t passedMatched = 0; // of the reference's PASSED lines, how many the engine traced
};

// Throws std::runtime_error when the folder's files cannot be read.
[[nodiscard]] CaseResult runCase(const std::filesystem::path& folder);

} // namespace swfconformance
