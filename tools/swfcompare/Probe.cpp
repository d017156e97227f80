#include "Probe.h"

#include "ByteReader.h"
#include "MovieFile.h"
#include "TagCode.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace swfcompare
{
namespace
{

constexpr std::uint8_t actionStop = 0x07;
constexpr std::uint8_t actionGetUrl = 0x83;
constexpr std::uint8_t actionEnd = 0x00;

// A DoAction body: stop, after the marker's getURL("FSCommand:...", "") when `marked`.
std::vector<std::uint8_t> stopActions(bool marked)
{
    std::vector<std::uint8_t> code;
    if (marked) {
        const std::string url = "FSCommand:" + std::string(stopMarker);
        code.push_back(actionGetUrl);
        const auto length = static_cast<std::uint16_t>(url.size() + 2); // both strings' NULs
        code.push_back(static_cast<std::uint8_t>(length & 0xff));
        code.push_back(static_cast<std::uint8_t>(length >> 8));
        code.insert(code.end(), url.begin(), url.end());
        code.push_back(0); // end of the URL
        code.push_back(0); // the empty target
    }
    code.push_back(actionStop);
    code.push_back(actionEnd);
    return code;
}
constexpr std::size_t spriteHeaderSize = 4; // sprite id, frame count

void putU16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xff));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xff));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    putU16(out, value & 0xffff);
    putU16(out, value >> 16);
}

void putTag(std::vector<std::uint8_t>& out, swf::TagCode code, std::span<const std::uint8_t> body)
{
    const auto shifted = static_cast<std::uint32_t>(code) << 6;
    if (body.size() < 0x3f) {
        putU16(out, shifted | static_cast<std::uint32_t>(body.size()));
    } else {
        putU16(out, shifted | 0x3f);
        putU32(out, static_cast<std::uint32_t>(body.size()));
    }
    out.insert(out.end(), body.begin(), body.end());
}

int countShowFrames(std::span<const std::uint8_t> tags)
{
    swf::TagStream stream(tags);
    swf::Tag tag;
    int frames = 0;
    while (stream.next(tag))
        frames += tag.code == static_cast<std::uint16_t>(swf::TagCode::ShowFrame);
    return frames;
}

// Copies a tag stream with a stop before the `stopFrame`-th ShowFrame (from 1), and no stop when
// `stopFrame` is 0; the main timeline's stop is `marked`. Sprites in the main stream are rewritten
// with their own stop.
std::vector<std::uint8_t> copyTimeline(std::span<const std::uint8_t> tags, int stopFrame,
                                       int spriteFrame, bool marked)
{
    const std::vector<std::uint8_t> stop = stopActions(marked);
    std::vector<std::uint8_t> out;
    swf::TagStream stream(tags);
    swf::Tag tag;
    int frame = 0;
    while (stream.next(tag)) {
        const auto code = static_cast<swf::TagCode>(tag.code);
        if (code == swf::TagCode::ShowFrame && ++frame == stopFrame)
            putTag(out, swf::TagCode::DoAction, stop);
        if (code == swf::TagCode::DefineSprite) {
            swf::ByteReader reader(tag.body);
            const auto header = reader.bytes(spriteHeaderSize);
            const auto spriteTags = reader.rest();
            const int spriteFrames = countShowFrames(spriteTags);
            std::vector<std::uint8_t> body(header.begin(), header.end());
            const auto copied =
                copyTimeline(spriteTags, std::min(spriteFrame, spriteFrames), spriteFrame, false);
            body.insert(body.end(), copied.begin(), copied.end());
            putU16(body, 0); // End
            putTag(out, code, body);
            continue;
        }
        putTag(out, code, tag.body);
    }
    return out;
}

int longestSprite(std::span<const std::uint8_t> tags)
{
    swf::TagStream stream(tags);
    swf::Tag tag;
    int longest = 0;
    while (stream.next(tag)) {
        if (tag.code != static_cast<std::uint16_t>(swf::TagCode::DefineSprite))
            continue;
        swf::ByteReader reader(tag.body);
        reader.skip(spriteHeaderSize);
        longest = std::max(longest, countShowFrames(reader.rest()));
    }
    return longest;
}

} // namespace

int countFrames(std::span<const std::uint8_t> movie)
{
    return countShowFrames(swf::readMovieFile(movie).tags());
}

Probe makeProbe(std::span<const std::uint8_t> movie, const ProbeRequest& request)
{
    const swf::MovieFile file = swf::readMovieFile(movie);
    Probe probe;
    probe.frameCount = countShowFrames(file.tags());
    probe.frame = std::clamp(request.frame, 1, std::max(probe.frameCount, 1));
    const int spriteFrame = std::max(request.spriteFrame, 1);
    probe.framesAfterStop = std::max(std::min(spriteFrame, longestSprite(file.tags())) - 1, 0);
    probe.settleFrames = probe.frame - 1 + probe.framesAfterStop;
    probe.frameRate = std::max(file.frameRate, request.minimumFrameRate);

    std::vector<std::uint8_t> body(file.body.begin(),
                                   file.body.begin() + static_cast<long>(file.tagsStart));
    // The header's frame rate, 8.8 fixed point, sits right before the frame count.
    const auto rate = static_cast<std::uint32_t>(std::lround(probe.frameRate * 256));
    body[file.tagsStart - 4] = static_cast<std::uint8_t>(rate & 0xff);
    body[file.tagsStart - 3] = static_cast<std::uint8_t>((rate >> 8) & 0xff);
    const auto tags = copyTimeline(file.tags(), probe.frame, spriteFrame, true);
    body.insert(body.end(), tags.begin(), tags.end());
    putU16(body, 0); // End

    probe.file = {'F', 'W', 'S', file.version};
    putU32(probe.file, static_cast<std::uint32_t>(body.size() + 8));
    probe.file.insert(probe.file.end(), body.begin(), body.end());
    return probe;
}

} // namespace swfcompare
