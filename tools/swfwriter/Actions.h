#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace swfwriter
{

// A list of ActionScript 1/2 actions as the player's bytecode, for DoAction tags and button
// events. Frame numbers count from 1, as in ActionScript.
class Actions final
{
public:
    Actions& stop();
    Actions& play();
    Actions& nextFrame();
    Actions& previousFrame();
    Actions& gotoAndStop(int frame);
    Actions& gotoAndPlay(int frame);
    Actions& gotoAndStop(std::string_view label);
    Actions& gotoAndPlay(std::string_view label);
    // fscommand(command, args): a GetURL to "FSCommand:" + command with the args as target,
    // which the hosting program receives as an FSCommand event.
    Actions& fscommand(std::string_view command, std::string_view args = {});
    Actions& getUrl(std::string_view url, std::string_view target);

    [[nodiscard]] bool empty() const { return m_code.empty(); }
    // The action records followed by the end-of-actions byte.
    [[nodiscard]] std::vector<std::uint8_t> bytes() const;

private:
    void record(std::uint8_t code, const std::vector<std::uint8_t>& payload = {});

    std::vector<std::uint8_t> m_code;
};

} // namespace swfwriter
