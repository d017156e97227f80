#include "SwfTesting.h"

#include "Movie.h"
#include "swfwriter/BitWriter.h"
#include "swfwriter/Records.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace swftest
{
namespace
{

void writeTag(Bytes& out, std::uint16_t code, const Bytes& body)
{
    swfwriter::BitWriter writer;
    writeTag(writer, static_cast<swfwriter::TagCode>(code), body);
    out.insert(out.end(), writer.data().begin(), writer.data().end());
}

Bytes placeBody(std::uint8_t flags, std::uint16_t depth,
                const std::function<void(swfwriter::BitWriter&)>& rest)
{
    swfwriter::BitWriter body;
    body.u8(flags);
    body.u16(depth);
    rest(body);
    body.align();
    return body.data();
}

} // namespace

Code& Code::op(std::uint8_t action)
{
    m_code.push_back(action);
    return *this;
}

Code& Code::append(const Code& more)
{
    m_code.insert(m_code.end(), more.m_code.begin(), more.m_code.end());
    return *this;
}

Code& Code::withPayload(std::uint8_t action, const Bytes& payload)
{
    m_code.push_back(action);
    m_code.push_back(static_cast<std::uint8_t>(payload.size()));
    m_code.push_back(static_cast<std::uint8_t>(payload.size() >> 8));
    m_code.insert(m_code.end(), payload.begin(), payload.end());
    return *this;
}

Code& Code::push(const std::string& text)
{
    Bytes payload{0};
    payload.insert(payload.end(), text.begin(), text.end());
    payload.push_back(0);
    return withPayload(0x96, payload);
}

Code& Code::push(double number)
{
    const auto bits = std::bit_cast<std::uint64_t>(number);
    Bytes payload{6};
    // High word first, each word little-endian.
    for (int shift : {32, 40, 48, 56, 0, 8, 16, 24})
        payload.push_back(static_cast<std::uint8_t>(bits >> shift));
    return withPayload(0x96, payload);
}

Code& Code::push(bool value)
{
    return withPayload(0x96, {5, static_cast<std::uint8_t>(value)});
}

Code& Code::pushInteger(std::int32_t number)
{
    const auto bits = static_cast<std::uint32_t>(number);
    return withPayload(0x96, {7, std::uint8_t(bits), std::uint8_t(bits >> 8),
                              std::uint8_t(bits >> 16), std::uint8_t(bits >> 24)});
}

Code& Code::pushUndefined()
{
    return withPayload(0x96, {3});
}

Code& Code::pushRegister(std::uint8_t index)
{
    return withPayload(0x96, {4, index});
}

Code& Code::pushConstant(std::uint8_t index)
{
    return withPayload(0x96, {8, index});
}

Code& Code::constants(const std::vector<std::string>& pool)
{
    Bytes payload{static_cast<std::uint8_t>(pool.size()), 0};
    for (const std::string& text : pool) {
        payload.insert(payload.end(), text.begin(), text.end());
        payload.push_back(0);
    }
    return withPayload(0x88, payload);
}

Code& Code::storeRegister(std::uint8_t index)
{
    return withPayload(0x87, {index});
}

Code& Code::jump(std::int16_t offset)
{
    const auto bits = static_cast<std::uint16_t>(offset);
    return withPayload(0x99, {std::uint8_t(bits), std::uint8_t(bits >> 8)});
}

Code& Code::branchIfTrue(std::int16_t offset)
{
    const auto bits = static_cast<std::uint16_t>(offset);
    return withPayload(0x9d, {std::uint8_t(bits), std::uint8_t(bits >> 8)});
}

Code& Code::gotoFrame(std::uint16_t frame)
{
    return withPayload(0x81, {std::uint8_t(frame), std::uint8_t(frame >> 8)});
}

Code& Code::gotoLabel(const std::string& label)
{
    Bytes payload(label.begin(), label.end());
    payload.push_back(0);
    return withPayload(0x8c, payload);
}

Code& Code::setTarget(const std::string& path)
{
    Bytes payload(path.begin(), path.end());
    payload.push_back(0);
    return withPayload(0x8b, payload);
}

Code& Code::getUrl(const std::string& url, const std::string& target)
{
    Bytes payload(url.begin(), url.end());
    payload.push_back(0);
    payload.insert(payload.end(), target.begin(), target.end());
    payload.push_back(0);
    return withPayload(0x83, payload);
}

Code& Code::trace(const std::string& text)
{
    return push(text).traceTop();
}

Code& Code::traceTop()
{
    return op(0x26);
}

Bytes Code::bytes() const
{
    Bytes code = m_code;
    code.push_back(0);
    return code;
}

MovieBuilder::MovieBuilder(double width, double height, double frameRate, std::uint8_t version)
    : m_width(width)
    , m_height(height)
    , m_frameRate(frameRate)
    , m_version(version)
{
}

std::uint16_t MovieBuilder::define(const swfwriter::Shape& shape)
{
    const std::uint16_t id = m_nextId++;
    swfwriter::BitWriter body;
    body.u16(id);
    const auto bounds = shape.bounds();
    swfwriter::writeRect(body, bounds[0], bounds[1], bounds[2], bounds[3]);
    // The newer styles and the winding rule exist only in DefineShape4.
    const int version = std::max(shape.tagVersion(), 3);
    if (version == 4) {
        const auto edges = shape.edgeBounds();
        swfwriter::writeRect(body, edges[0], edges[1], edges[2], edges[3]);
        body.u8(shape.nonZeroWinding() ? 0x05 : 0x01);
    }
    shape.write(body, version);
    body.align();
    tag(version == 4 ? 83 : 32, body.data());
    return id;
}

std::uint16_t MovieBuilder::define(const swfwriter::Button& button)
{
    const std::uint16_t id = m_nextId++;
    swfwriter::BitWriter body;
    body.u16(id);
    button.write(body);
    body.align();
    tag(34, body.data());
    return id;
}

std::uint16_t MovieBuilder::defineSprite(const MovieBuilder& frames)
{
    const std::uint16_t id = m_nextId++;
    Bytes body{std::uint8_t(id), std::uint8_t(id >> 8), std::uint8_t(frames.m_frames),
               std::uint8_t(frames.m_frames >> 8)};
    body.insert(body.end(), frames.m_tags.begin(), frames.m_tags.end());
    body.push_back(0);
    body.push_back(0);
    tag(39, body);
    return id;
}

void MovieBuilder::tag(std::uint16_t code, const Bytes& body)
{
    writeTag(m_tags, code, body);
}

void MovieBuilder::place(std::uint16_t depth, std::uint16_t character, double x, double y,
                         const std::string& name, std::uint16_t clipDepth)
{
    const std::uint8_t flags = 0x02 | 0x04 | (name.empty() ? 0 : 0x20) | (clipDepth ? 0x40 : 0);
    tag(26, placeBody(flags, depth, [&](swfwriter::BitWriter& body) {
            body.u16(character);
            swfwriter::writeMatrix(body, swfwriter::Matrix::translation(x, y));
            if (!name.empty())
                body.string(name);
            if (clipDepth)
                body.u16(clipDepth);
        }));
}

void MovieBuilder::move(std::uint16_t depth, double x, double y)
{
    tag(26, placeBody(0x01 | 0x04, depth, [&](swfwriter::BitWriter& body) {
            swfwriter::writeMatrix(body, swfwriter::Matrix::translation(x, y));
        }));
}

void MovieBuilder::replace(std::uint16_t depth, std::uint16_t character)
{
    tag(26,
        placeBody(0x01 | 0x02, depth, [&](swfwriter::BitWriter& body) { body.u16(character); }));
}

void MovieBuilder::ratio(std::uint16_t depth, std::uint16_t ratio)
{
    tag(26, placeBody(0x01 | 0x10, depth, [&](swfwriter::BitWriter& body) { body.u16(ratio); }));
}

void MovieBuilder::remove(std::uint16_t depth)
{
    tag(28, {std::uint8_t(depth), std::uint8_t(depth >> 8)});
}

void MovieBuilder::actions(const Code& code)
{
    tag(12, code.bytes());
}

void MovieBuilder::label(const std::string& name)
{
    Bytes body(name.begin(), name.end());
    body.push_back(0);
    tag(43, body);
}

void MovieBuilder::showFrame()
{
    tag(1, {});
    ++m_frames;
}

Bytes MovieBuilder::bytes() const
{
    swfwriter::BitWriter body;
    swfwriter::writeRect(body, 0, swfwriter::twips(m_width), 0, swfwriter::twips(m_height));
    body.u16(static_cast<std::uint16_t>(m_frameRate * 256));
    body.u16(m_frames);
    body.bytes(m_tags);
    body.u16(0);
    Bytes file{'F', 'W', 'S', m_version};
    const auto length = static_cast<std::uint32_t>(8 + body.data().size());
    for (int shift : {0, 8, 16, 24})
        file.push_back(static_cast<std::uint8_t>(length >> shift));
    file.insert(file.end(), body.data().begin(), body.data().end());
    return file;
}

swfwriter::Shape square(double size, std::uint32_t rgb)
{
    swfwriter::Shape shape;
    shape.setFill(shape.addFill(swfwriter::Fill::solid(swfwriter::Rgba::hex(rgb))));
    shape.rectangle(0, 0, size, size);
    return shape;
}

void RecordingRenderer::drawShape(const swf::Shape& shape, const swf::Matrix& matrix,
                                  const swf::ColourTransform& colour)
{
    swf::Rgba first{};
    for (const swf::ShapeLayer& layer : shape.layers) {
        if (layer.fill) {
            first = colour.apply(layer.fill->colour);
            break;
        }
    }
    drawn.push_back({matrix.map({0, 0}), first});
}

std::vector<swf::Rgba> colours(const swf::Player& player)
{
    RecordingRenderer renderer;
    player.render(renderer);
    std::vector<swf::Rgba> result;
    for (const Drawn& drawn : renderer.drawn)
        result.push_back(drawn.colour);
    return result;
}

} // namespace swftest
