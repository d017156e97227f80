#include "Button.h"

#include "Records.h"

#include <stdexcept>

namespace swfwriter
{

namespace
{

// The first byte of a BUTTONCONDACTION's conditions (the key-press byte stays 0).
std::uint8_t conditionBits(ButtonEvent event)
{
    switch (event) {
    case ButtonEvent::RollOver:
        return 0x01; // idle to over-up
    case ButtonEvent::Press:
        return 0x04; // over-up to over-down
    case ButtonEvent::Release:
        return 0x08; // over-down to over-up
    }
    return 0;
}

} // namespace

void Button::add(CharacterId character, ButtonStates states, std::uint16_t depth,
                 const Matrix& matrix, const ColorTransform& colour)
{
    m_layers.push_back({character, states, depth, matrix, colour});
}

void Button::on(ButtonEvent event, const Actions& actions)
{
    m_handlers.emplace_back(event, actions);
}

void Button::write(BitWriter& out) const
{
    BitWriter layers;
    for (const Layer& layer : m_layers) {
        layers.ubits(4, 0); // reserved, no blend mode, no filters
        layers.ubits(1, layer.states.hit ? 1 : 0);
        layers.ubits(1, layer.states.down ? 1 : 0);
        layers.ubits(1, layer.states.over ? 1 : 0);
        layers.ubits(1, layer.states.up ? 1 : 0);
        layers.u16(layer.character);
        layers.u16(layer.depth);
        writeMatrix(layers, layer.matrix);
        writeColorTransform(layers, layer.colour);
    }
    layers.u8(0); // end of the layers

    out.u8(0); // not tracked as a menu
    // The offset counts from the offset field itself to the first event handler.
    const std::size_t offset = m_handlers.empty() ? 0 : 2 + layers.size();
    if (offset > 0xffff)
        throw std::length_error("button too large");
    out.u16(static_cast<std::uint16_t>(offset));
    out.bytes(layers.data());
    for (std::size_t i = 0; i < m_handlers.size(); ++i) {
        const std::vector<std::uint8_t> code = m_handlers[i].second.bytes();
        const bool last = i + 1 == m_handlers.size();
        const std::size_t size = 4 + code.size();
        if (size > 0xffff)
            throw std::length_error("button action too large");
        out.u16(last ? 0 : static_cast<std::uint16_t>(size));
        out.u8(conditionBits(m_handlers[i].first));
        out.u8(0);
        out.bytes(code);
    }
}

} // namespace swfwriter
