#pragma once

#include "Actions.h"
#include "BitWriter.h"
#include "Types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace swfwriter
{

// How a character is shown at its depth. A ratio picks a morph's blend (0..65535); a clip
// depth turns the character into a mask for the depths above it, up to and including that one.
struct Placement {
    Matrix matrix;
    std::optional<ColorTransform> colour;
    std::optional<std::uint16_t> ratio;
    std::string name;
    std::optional<std::uint16_t> clipDepth;
};

// The frames of a movie or of a sprite: what is placed, moved and removed at which depth,
// frame actions and labels, one ShowFrame per frame.
class Timeline final
{
public:
    void place(std::uint16_t depth, CharacterId character, const Matrix& matrix = {},
               const std::optional<ColorTransform>& colour = {});
    void place(std::uint16_t depth, CharacterId character, const Placement& placement);
    // Changes the matrix (and colour) of what already lies at the depth.
    void move(std::uint16_t depth, const Matrix& matrix,
              const std::optional<ColorTransform>& colour = {});
    void move(std::uint16_t depth, const Placement& placement);
    void remove(std::uint16_t depth);
    void actions(const Actions& actions);
    void label(std::string_view name);
    // Starts an event sound once, with no envelope or loops.
    void startSound(CharacterId sound);
    void showFrame();

    // Frames shown so far, plus one when the last frame has tags but no ShowFrame yet.
    [[nodiscard]] std::uint16_t frameCount() const;
    // The control tags, the last frame closed, with the End tag.
    [[nodiscard]] std::vector<std::uint8_t> tags() const;

private:
    void placeObject(std::uint16_t depth, std::optional<CharacterId> character,
                     const Placement& placement);

    BitWriter m_tags;
    std::uint16_t m_frames = 0;
    bool m_frameOpen = false;
};

} // namespace swfwriter
