#include "Timeline.h"

#include "Records.h"

#include <stdexcept>

namespace swfwriter
{

void Timeline::placeObject(std::uint16_t depth, std::optional<CharacterId> character,
                           const Matrix& matrix, const std::optional<ColorTransform>& colour)
{
    BitWriter body;
    // PlaceObject2 flags: colour transform, matrix, character, move.
    std::uint8_t flags = 0x04;
    if (colour)
        flags |= 0x08;
    if (character)
        flags |= 0x02;
    else
        flags |= 0x01;
    body.u8(flags);
    body.u16(depth);
    if (character)
        body.u16(*character);
    writeMatrix(body, matrix);
    if (colour)
        writeColorTransform(body, *colour);
    writeTag(m_tags, TagCode::PlaceObject2, body.data());
    m_frameOpen = true;
}

void Timeline::place(std::uint16_t depth, CharacterId character, const Matrix& matrix,
                     const std::optional<ColorTransform>& colour)
{
    placeObject(depth, character, matrix, colour);
}

void Timeline::move(std::uint16_t depth, const Matrix& matrix,
                    const std::optional<ColorTransform>& colour)
{
    placeObject(depth, std::nullopt, matrix, colour);
}

void Timeline::remove(std::uint16_t depth)
{
    BitWriter body;
    body.u16(depth);
    writeTag(m_tags, TagCode::RemoveObject2, body.data());
    m_frameOpen = true;
}

void Timeline::actions(const Actions& actions)
{
    writeTag(m_tags, TagCode::DoAction, actions.bytes());
    m_frameOpen = true;
}

void Timeline::label(std::string_view name)
{
    BitWriter body;
    body.string(name);
    writeTag(m_tags, TagCode::FrameLabel, body.data());
    m_frameOpen = true;
}

void Timeline::showFrame()
{
    if (m_frames == 0xffff)
        throw std::length_error("too many frames");
    writeTag(m_tags, TagCode::ShowFrame, {});
    ++m_frames;
    m_frameOpen = false;
}

std::uint16_t Timeline::frameCount() const
{
    return static_cast<std::uint16_t>(m_frames + (m_frameOpen ? 1 : 0));
}

std::vector<std::uint8_t> Timeline::tags() const
{
    BitWriter out;
    out.bytes(m_tags.data());
    if (m_frameOpen)
        writeTag(out, TagCode::ShowFrame, {});
    writeTag(out, TagCode::End, {});
    return out.data();
}

} // namespace swfwriter
