#include "Actions.h"

#include "BitWriter.h"

#include <bit>
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
constexpr std::uint8_t actionNot = 0x12;
constexpr std::uint8_t actionPop = 0x17;
constexpr std::uint8_t actionGetVariable = 0x1c;
constexpr std::uint8_t actionSetVariable = 0x1d;
constexpr std::uint8_t actionStringAdd = 0x21;
constexpr std::uint8_t actionTrace = 0x26;
constexpr std::uint8_t actionAdd2 = 0x47;
constexpr std::uint8_t actionLess2 = 0x48;
constexpr std::uint8_t actionEquals2 = 0x49;
constexpr std::uint8_t actionGotoFrame = 0x81;
constexpr std::uint8_t actionGetUrl = 0x83;
constexpr std::uint8_t actionStoreRegister = 0x87;
constexpr std::uint8_t actionConstantPool = 0x88;
constexpr std::uint8_t actionSetTarget = 0x8b;
constexpr std::uint8_t actionGotoLabel = 0x8c;
constexpr std::uint8_t actionPush = 0x96;
constexpr std::uint8_t actionJump = 0x99;
constexpr std::uint8_t actionIf = 0x9d;

// The Push action's type bytes.
constexpr std::uint8_t pushString = 0;
constexpr std::uint8_t pushNull = 2;
constexpr std::uint8_t pushUndefined = 3;
constexpr std::uint8_t pushRegister = 4;
constexpr std::uint8_t pushBoolean = 5;
constexpr std::uint8_t pushDouble = 6;
constexpr std::uint8_t pushInteger = 7;
constexpr std::uint8_t pushConstant8 = 8;
constexpr std::uint8_t pushConstant16 = 9;

void writeValue(BitWriter& out, const Actions::Value& value)
{
    if (const auto* text = std::get_if<std::string>(&value)) {
        out.u8(pushString);
        out.string(*text);
    } else if (const auto* number = std::get_if<double>(&value)) {
        // The two 32-bit halves of the double, the high one first, each little-endian.
        const auto bits = std::bit_cast<std::uint64_t>(*number);
        out.u8(pushDouble);
        out.u32(static_cast<std::uint32_t>(bits >> 32));
        out.u32(static_cast<std::uint32_t>(bits));
    } else if (const auto* integer = std::get_if<std::int32_t>(&value)) {
        out.u8(pushInteger);
        out.u32(static_cast<std::uint32_t>(*integer));
    } else if (const auto* boolean = std::get_if<bool>(&value)) {
        out.u8(pushBoolean);
        out.u8(*boolean ? 1 : 0);
    } else if (std::holds_alternative<Actions::Null>(value)) {
        out.u8(pushNull);
    } else if (std::holds_alternative<Actions::Undefined>(value)) {
        out.u8(pushUndefined);
    } else if (const auto* reg = std::get_if<Actions::Register>(&value)) {
        if (reg->number > 3)
            throw std::out_of_range("scripts outside functions have registers 0 to 3");
        out.u8(pushRegister);
        out.u8(reg->number);
    } else if (const auto* constant = std::get_if<Actions::Constant>(&value)) {
        if (constant->index < 0x100) {
            out.u8(pushConstant8);
            out.u8(static_cast<std::uint8_t>(constant->index));
        } else {
            out.u8(pushConstant16);
            out.u16(constant->index);
        }
    }
}

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

Actions& Actions::setTarget(std::string_view target)
{
    BitWriter payload;
    payload.string(target);
    record(actionSetTarget, payload.data());
    return *this;
}

Actions& Actions::trace(std::string_view message)
{
    push({std::string(message)});
    return trace();
}

Actions& Actions::constantPool(const std::vector<std::string>& constants)
{
    if (constants.size() > 0xffff)
        throw std::length_error("too many constants");
    BitWriter payload;
    payload.u16(static_cast<std::uint16_t>(constants.size()));
    for (const std::string& constant : constants)
        payload.string(constant);
    record(actionConstantPool, payload.data());
    return *this;
}

Actions& Actions::push(const std::vector<Value>& values)
{
    BitWriter payload;
    for (const Value& value : values)
        writeValue(payload, value);
    record(actionPush, payload.data());
    return *this;
}

Actions& Actions::pop()
{
    record(actionPop);
    return *this;
}

Actions& Actions::storeRegister(std::uint8_t number)
{
    if (number > 3)
        throw std::out_of_range("scripts outside functions have registers 0 to 3");
    record(actionStoreRegister, {number});
    return *this;
}

Actions& Actions::getVariable()
{
    record(actionGetVariable);
    return *this;
}

Actions& Actions::setVariable()
{
    record(actionSetVariable);
    return *this;
}

Actions& Actions::add()
{
    record(actionAdd2);
    return *this;
}

Actions& Actions::less()
{
    record(actionLess2);
    return *this;
}

Actions& Actions::equals()
{
    record(actionEquals2);
    return *this;
}

Actions& Actions::logicalNot()
{
    record(actionNot);
    return *this;
}

Actions& Actions::stringAdd()
{
    record(actionStringAdd);
    return *this;
}

Actions& Actions::operation(std::uint8_t code)
{
    if (code == 0 || code >= 0x80)
        throw std::invalid_argument("not an action without payload");
    record(code);
    return *this;
}

Actions& Actions::trace()
{
    record(actionTrace);
    return *this;
}

Actions::Mark Actions::newMark()
{
    m_marks.emplace_back();
    return Mark{m_marks.size() - 1};
}

Actions& Actions::mark(Mark place)
{
    assert(place.id < m_marks.size() && !m_marks[place.id]);
    m_marks[place.id] = m_code.size();
    return *this;
}

void Actions::branch(std::uint8_t code, Mark target)
{
    assert(target.id < m_marks.size());
    record(code, {0, 0});
    m_branches.emplace_back(m_code.size() - 2, target);
}

Actions& Actions::jump(Mark target)
{
    branch(actionJump, target);
    return *this;
}

Actions& Actions::jumpIf(Mark target)
{
    branch(actionIf, target);
    return *this;
}

std::vector<std::uint8_t> Actions::bytes() const
{
    std::vector<std::uint8_t> result = m_code;
    for (const auto& [field, target] : m_branches) {
        const auto& place = m_marks[target.id];
        if (!place)
            throw std::logic_error("a branch goes to a mark that was never placed");
        // Branch offsets count from the end of the branch action.
        const auto offset =
            static_cast<std::ptrdiff_t>(*place) - static_cast<std::ptrdiff_t>(field + 2);
        if (offset < -32768 || offset > 32767)
            throw std::length_error("branch too long");
        const auto value = static_cast<std::uint16_t>(static_cast<std::int16_t>(offset));
        result[field] = static_cast<std::uint8_t>(value & 0xff);
        result[field + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    result.push_back(0);
    return result;
}

} // namespace swfwriter
