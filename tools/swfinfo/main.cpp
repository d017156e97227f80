// Tells maintainers which engine plays each movie: the native engine when it supports every
// tag and action the movie uses, else Ruffle, with the first feature that decided it.
//
//   quorvane-swfinfo FILE...
//
// One line per file, TAB-separated: file, engine ("native", "ruffle" or "unreadable"), SWF
// version, stage width × height in pixels, frame count, frame rate, and the reason when the
// engine is not the native one. Exits with 2 when a file cannot be opened or read as a movie.
#include "SupportScan.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace
{

bool describe(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << path << ": cannot be opened\n";
        return false;
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    const swf::MovieSummary summary = swf::scanMovie(bytes);
    const char* const engine = !summary.readable ? "unreadable"
                               : summary.supported ? "native"
                                                   : "ruffle";
    std::cout << path << '\t' << engine;
    if (summary.readable) {
        std::cout << '\t' << "SWF " << int(summary.version) << '\t' << summary.stage.width() / 20
                  << " × " << summary.stage.height() / 20 << '\t' << summary.frameCount
                  << " frames\t" << summary.frameRate << " fps";
    }
    if (!summary.supported)
        std::cout << '\t' << summary.firstUnsupported;
    std::cout << '\n';
    return summary.readable;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: quorvane-swfinfo FILE...\n";
        return 2;
    }
    bool allRead = true;
    for (int i = 1; i < argc; ++i)
        allRead = describe(argv[i]) && allRead;
    return allRead ? 0 : 2;
}
