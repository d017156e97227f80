#pragma once

#include "Actions.h"
#include "BitWriter.h"
#include "Types.h"

#include <cstdint>
#include <vector>

namespace swfwriter
{

// Which of a button's states show a character; the hit state is the clickable area.
struct ButtonStates {
    bool up = false;
    bool over = false;
    bool down = false;
    bool hit = false;
};

enum class ButtonEvent { RollOver, Press, Release };

// A DefineButton2 character: layered characters per state, and actions run on mouse events.
class Button final
{
public:
    void add(CharacterId character, ButtonStates states, std::uint16_t depth,
             const Matrix& matrix = {}, const ColorTransform& colour = {});
    void on(ButtonEvent event, const Actions& actions);

    // The tag body after the button's own id.
    void write(BitWriter& out) const;

private:
    struct Layer {
        CharacterId character;
        ButtonStates states;
        std::uint16_t depth;
        Matrix matrix;
        ColorTransform colour;
    };

    std::vector<Layer> m_layers;
    std::vector<std::pair<ButtonEvent, Actions>> m_handlers;
};

} // namespace swfwriter
