#include "Timeline.h"

#include "Records.h"

#include <stdexcept>

namespace swfwriter
{

void Timeline::placeObject(std::uint16_t depth, std::optional<CharacterId> character,
                           const Placement& placement)
{
    BitWriter body;
    // PlaceObject2 flags, from the top bit: clip actions (never), clip depth, name, ratio,
    // colour transform, matrix (always), character, move.
    std::uint8_t flags = 0x04;
    if (placement.clipDepth)
        flags |= 0x40;
    if (!placement.name.empty())
        flags |= 0x20;
    if (placement.ratio)
        flags |= 0x10;
    if (placement.colour)
        flags |= 0x08;
    flags |= character ? 0x02 : 0x01;
    body.u8(flags);
    body.u16(depth);
    if (character)
        body.u16(*character);
    writeMatrix(body, placement.matrix);
    if (placement.colour)
        writeColorTransform(body, *placement.colour);
    if (placement.ratio)
        body.u16(*placement.ratio);
    if (!placement.name.empty())
        body.string(placement.name);
    if (placement.clipDepth) {
        if (*placement.clipDepth <= depth)
            throw std::invalid_argument("a clip masks only depths above its own");
        body.u16(*placement.clipDepth);
    }
    writeTag(m_tags, TagCode::PlaceObject2, body.data());
    m_frameOpen = true;
}

void Timeline::place(std::uint16_t depth, CharacterId character, const Matrix& matrix,
                     const std::optional<ColorTransform>& colour)
{
    place(depth, character, Placement{matrix, colour, {}, {}, {}});
}

void Timeline::place(std::uint16_t depth, CharacterId character, const Placement& placement)
{
    placeObject(depth, character, placement);
}

void Timeline::move(std::uint16_t depth, const Matrix& matrix,
                    const std::optional<ColorTransform>& colour)
{
    move(depth, Placement{matrix, colour, {}, {}, {}});
}

void Timeline::move(std::uint16_t depth, const Placement& placement)
{
    placeObject(depth, std::nullopt, placement);
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

void Timeline::startSound(CharacterId sound)
{
    BitWriter body;
    body.u16(sound);
    body.u8(0);
    writeTag(m_tags, TagCode::StartSound, body.data());
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
