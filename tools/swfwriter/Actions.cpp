#include "Actions.h"

#include "BitWriter.h"

#include <cassert>
#include <stdexcept>
#include <string>

namespace swfwriter
{

namespace
{

constexpr std::uint8_t actionNextFrame = 0x04;
constexpr std::uint8_t actionPreviousFrame = 0x05;
constexpr std::uint8_t actionPlay = 0x06;
constexpr std::uint8_t actionStop = 0x07;
constexpr std::uint8_t actionGotoFrame = 0x81;
constexpr std::uint8_t actionGetUrl = 0x83;
constexpr std::uint8_t actionGotoLabel = 0x8c;

} // namespace

void Actions::record(std::uint8_t code, const std::vector<std::uint8_t>& payload)
{
    // Codes from 0x80 up carry a 16-bit payload length; the ones below carry nothing.
    assert((code >= 0x80) || payload.empty());
    BitWriter out;
    out.u8(code);
    if (code >= 0x80) {
        if (payload.size() > 0xffff)
            throw std::length_error("action payload too large");
        out.u16(static_cast<std::uint16_t>(payload.size()));
        out.bytes(payload);
    }
    m_code.insert(m_code.end(), out.data().begin(), out.data().end());
}

Actions& Actions::stop()
{
    record(actionStop);
    return *this;
}

Actions& Actions::play()
{
    record(actionPlay);
    return *this;
}

Actions& Actions::nextFrame()
{
    record(actionNextFrame);
    return *this;
}

Actions& Actions::previousFrame()
{
    record(actionPreviousFrame);
    return *this;
}

Actions& Actions::gotoAndStop(int frame)
{
    if (frame < 1 || frame > 0x10000)
        throw std::out_of_range("frame number out of range");
    BitWriter payload;
    payload.u16(static_cast<std::uint16_t>(frame - 1));
    // The player stops at the target of a plain GotoFrame, so gotoAndStop needs nothing more.
    record(actionGotoFrame, payload.data());
    return *this;
}

Actions& Actions::gotoAndPlay(int frame)
{
    gotoAndStop(frame);
    return play();
}

Actions& Actions::gotoAndStop(std::string_view label)
{
    BitWriter payload;
    payload.string(label);
    record(actionGotoLabel, payload.data());
    return *this;
}

Actions& Actions::gotoAndPlay(std::string_view label)
{
    gotoAndStop(label);
    return play();
}

Actions& Actions::fscommand(std::string_view command, std::string_view args)
{
    std::string url = "FSCommand:";
    url += command;
    return getUrl(url, args);
}

Actions& Actions::getUrl(std::string_view url, std::string_view target)
{
    BitWriter payload;
    payload.string(url);
    payload.string(target);
    record(actionGetUrl, payload.data());
    return *this;
}

std::vector<std::uint8_t> Actions::bytes() const
{
    std::vector<std::uint8_t> result = m_code;
    result.push_back(0);
    return result;
}

} // namespace swfwriter
