#pragma once

// Builds small movies tag by tag for the engine's tests, and watches what a player draws and
// says. Shapes and buttons come from the demo's SWF writer; everything else is written here so
// that each test shows the bytes it cares about.
#include "Geometry.h"
#include "Player.h"
#include "PlayerContext.h"
#include "Renderer.h"
#include "Shape.h"
#include "swfwriter/Button.h"
#include "swfwriter/Shape.h"

#include <cstdint>
#include <string>
#include <vector>

namespace swftest
{

using Bytes = std::vector<std::uint8_t>;

// ActionScript bytecode, one action at a time.
class Code final
{
public:
    Code& op(std::uint8_t action);
    Code& append(const Code& more);
    Code& withPayload(std::uint8_t action, const Bytes& payload);
    Code& push(const std::string& text);
    // Without it a literal would push a boolean: const char* converts to bool before string.
    Code& push(const char* text) { return push(std::string(text)); }
    Code& push(double number);
    Code& push(bool value);
    Code& pushInteger(std::int32_t number);
    Code& pushUndefined();
    Code& pushRegister(std::uint8_t index);
    Code& pushConstant(std::uint8_t index);
    Code& constants(const std::vector<std::string>& pool);
    Code& storeRegister(std::uint8_t index);
    Code& jump(std::int16_t offset);
    Code& branchIfTrue(std::int16_t offset);
    Code& gotoFrame(std::uint16_t frame); // counts from 0, as the action does
    Code& gotoLabel(const std::string& label);
    Code& setTarget(const std::string& path);
    Code& getUrl(const std::string& url, const std::string& target);
    Code& trace(const std::string& text); // push and trace
    Code& traceTop();                     // trace what is on the stack
    // The actions with the end byte.
    [[nodiscard]] Bytes bytes() const;
    // The length of the actions so far, for branch offsets.
    [[nodiscard]] std::int16_t size() const { return static_cast<std::int16_t>(m_code.size()); }

private:
    Bytes m_code;
};

// A movie written tag by tag: definitions and frames in the order the calls come.
class MovieBuilder final
{
public:
    MovieBuilder(double width = 200, double height = 100, double frameRate = 12,
                 std::uint8_t version = 8);

    std::uint16_t define(const swfwriter::Shape& shape);
    std::uint16_t define(const swfwriter::Button& button);
    // A sprite from its own frames, written with another builder's timeline calls.
    std::uint16_t defineSprite(const MovieBuilder& frames);
    void tag(std::uint16_t code, const Bytes& body);

    // Timeline calls; coordinates in pixels.
    void place(std::uint16_t depth, std::uint16_t character, double x = 0, double y = 0,
               const std::string& name = {}, std::uint16_t clipDepth = 0);
    void move(std::uint16_t depth, double x, double y);
    void replace(std::uint16_t depth, std::uint16_t character);
    void ratio(std::uint16_t depth, std::uint16_t ratio);
    void remove(std::uint16_t depth);
    void actions(const Code& code);
    void label(const std::string& name);
    void showFrame();

    [[nodiscard]] Bytes bytes() const;

private:
    double m_width;
    double m_height;
    double m_frameRate;
    std::uint8_t m_version;
    std::uint16_t m_nextId = 1;
    std::uint16_t m_frames = 0;
    Bytes m_tags;
};

// A colour square of `size` pixels with its top-left corner at the origin.
[[nodiscard]] swfwriter::Shape square(double size, std::uint32_t rgb);

// What a player drew: one entry per shape, with where its origin landed and its first colour.
struct Drawn {
    swf::Point origin; // stage twips
    swf::Rgba colour;  // the first fill's colour after the colour transform
};

class RecordingRenderer final : public swf::Renderer
{
public:
    void beginFrame(const swf::Movie&) override { drawn.clear(); }
    void drawShape(const swf::Shape& shape, const swf::Matrix& matrix,
                   const swf::ColourTransform& colour) override;
    void drawGlyph(const swf::Shape&, const swf::Matrix&, swf::Rgba) override {}
    void drawDeviceText(const swf::EditText&, const std::string&, const swf::Matrix&,
                        const swf::ColourTransform&) override
    {
    }
    void beginMask() override { ++masks; }
    void applyMask() override {}
    void popMask() override {}

    std::vector<Drawn> drawn;
    int masks = 0;
};

class RecordingHost final : public swf::PlayerHost
{
public:
    void fsCommand(const std::string& command, const std::string& args) override
    {
        said.push_back("fscommand " + command + " " + args);
    }
    void trace(const std::string& text) override { said.push_back(text); }
    void openUrl(const std::string& url, const std::string& target) override
    {
        said.push_back("url " + url + " " + target);
    }

    std::vector<std::string> said;
};

// What a player shows now, as the colours it drew, bottom to top.
[[nodiscard]] std::vector<swf::Rgba> colours(const swf::Player& player);

} // namespace swftest
