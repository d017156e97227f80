#pragma once

#include "Bitmap.h"
#include "Geometry.h"
#include "Morph.h"
#include "MovieFile.h"
#include "Shape.h"
#include "Text.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace swf
{

// What a frame does to the display list and which scripts it runs, in file order.
struct PlaceCommand {
    std::uint16_t depth = 0;
    bool move = false;                      // changes the object already at `depth`
    std::optional<std::uint16_t> character; // places (or replaces with) this character
    std::optional<Matrix> matrix;
    std::optional<ColourTransform> colour;
    std::optional<std::uint16_t> ratio;
    std::optional<std::string> name;
    std::optional<std::uint16_t> clipDepth;
};
struct RemoveCommand {
    std::uint16_t depth = 0;
};
struct ActionCommand {
    std::span<const std::uint8_t> code;
};
using FrameCommand = std::variant<PlaceCommand, RemoveCommand, ActionCommand>;

struct Timeline {
    std::vector<std::vector<FrameCommand>> frames; // at least one frame
    std::map<std::string, std::size_t> labels;     // lower-case label to frame index

    [[nodiscard]] std::optional<std::size_t> frameOfLabel(std::string_view label) const;
};

struct Sprite {
    Timeline timeline;
};

struct ButtonRecord {
    bool up = false;
    bool over = false;
    bool down = false;
    bool hit = false;
    std::uint16_t character = 0;
    std::uint16_t depth = 0;
    Matrix matrix;
    ColourTransform colour;
};

// The conditions of a button action, as the bits of DefineButton2's condition field.
enum class ButtonCondition : std::uint16_t {
    IdleToOverUp = 0x0001,      // roll over
    OverUpToIdle = 0x0002,      // roll out
    OverUpToOverDown = 0x0004,  // press
    OverDownToOverUp = 0x0008,  // release
    OverDownToOutDown = 0x0010, // drag out
    OutDownToOverDown = 0x0020, // drag over
    OutDownToIdle = 0x0040,     // release outside
    IdleToOverDown = 0x0080,    // drag over (menu)
    OverDownToIdle = 0x0100,    // drag out (menu)
};

struct ButtonAction {
    std::uint16_t conditions = 0;
    std::span<const std::uint8_t> code;
};

struct Button {
    std::vector<ButtonRecord> records;
    std::vector<ButtonAction> actions;
    bool trackAsMenu = false;
};

using Character =
    std::variant<Shape, MorphShape, Sprite, Button, Bitmap, Font, StaticText, EditText>;

// A loaded movie: immutable, shared by every player showing it.
class Movie final
{
public:
    // Throws MalformedMovie when the file cannot be read.
    [[nodiscard]] static std::shared_ptr<const Movie> load(std::span<const std::uint8_t> file);

    [[nodiscard]] std::uint8_t version() const { return m_file.version; }
    [[nodiscard]] const Rect& stage() const { return m_file.stage; }
    [[nodiscard]] double frameRate() const { return m_file.frameRate; }
    [[nodiscard]] Rgba background() const { return m_background; }
    [[nodiscard]] const Timeline& timeline() const { return m_timeline; }
    [[nodiscard]] const Character* character(std::uint16_t id) const;
    [[nodiscard]] const std::map<std::uint16_t, const Font*>& fonts() const { return m_fonts; }

private:
    Movie() = default;

    class Loader;

    MovieFile m_file;
    Rgba m_background{255, 255, 255, 255};
    Timeline m_timeline;
    std::map<std::uint16_t, Character> m_characters;
    std::map<std::uint16_t, const Font*> m_fonts;
};

} // namespace swf
