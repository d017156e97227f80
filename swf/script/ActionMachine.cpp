#include "ActionMachine.h"

#include "ActionCode.h"
#include "ByteReader.h"
#include "MovieClip.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <random>

namespace swf
{
namespace
{

enum class Property {
    X,
    Y,
    XScale,
    YScale,
    CurrentFrame,
    TotalFrames,
    Alpha,
    Visible,
    Width,
    Height,
    Rotation,
    Target,
    FramesLoaded,
    Name,
    DropTarget,
    Url,
    HighQuality,
    FocusRect,
    SoundBufferTime,
    Quality,
    XMouse,
    YMouse,
    Count
};

constexpr std::array<std::string_view, static_cast<std::size_t>(Property::Count)> propertyNames = {
    "_x",           "_y",           "_xscale",       "_yscale",       "_currentframe",
    "_totalframes", "_alpha",       "_visible",      "_width",        "_height",
    "_rotation",    "_target",      "_framesloaded", "_name",         "_droptarget",
    "_url",         "_highquality", "_focusrect",    "_soundbuftime", "_quality",
    "_xmouse",      "_ymouse"};

std::optional<Property> propertyNamed(std::string_view name)
{
    for (std::size_t i = 0; i < propertyNames.size(); ++i) {
        if (name.size() == propertyNames[i].size()
            && std::equal(name.begin(), name.end(), propertyNames[i].begin(),
                          [](unsigned char a, unsigned char b) { return std::tolower(a) == b; }))
            return static_cast<Property>(i);
    }
    return std::nullopt;
}

bool startsWithFsCommand(std::string_view url)
{
    constexpr std::string_view prefix = "fscommand:";
    return url.size() >= prefix.size()
           && std::equal(prefix.begin(), prefix.end(), url.begin(),
                         [](char a, unsigned char b) { return a == std::tolower(b); });
}

std::int32_t toInt32(double number)
{
    if (!std::isfinite(number))
        return 0;
    const double wrapped = std::fmod(std::trunc(number), 4294967296.0);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(
        static_cast<std::int64_t>(wrapped < 0 ? wrapped + 4294967296.0 : wrapped)));
}

// UTF-8 helpers for the multibyte string actions.
std::vector<std::string> characters(const std::string& text)
{
    std::vector<std::string> result;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
        result.push_back(text.substr(i, length));
        i += length;
    }
    return result;
}

std::string utf8(std::uint32_t code)
{
    std::string text;
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xc0 | code >> 6);
        text += static_cast<char>(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xe0 | code >> 12);
        text += static_cast<char>(0x80 | (code >> 6 & 0x3f));
        text += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        text += static_cast<char>(0xf0 | (code >> 18 & 0x07));
        text += static_cast<char>(0x80 | (code >> 12 & 0x3f));
        text += static_cast<char>(0x80 | (code >> 6 & 0x3f));
        text += static_cast<char>(0x80 | (code & 0x3f));
    }
    return text;
}

std::uint32_t codePoint(const std::string& character)
{
    if (character.empty())
        return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(character[i]); };
    switch (character.size()) {
    case 1:
        return byte(0);
    case 2:
        return (byte(0) & 0x1fu) << 6 | (byte(1) & 0x3fu);
    case 3:
        return (byte(0) & 0x0fu) << 12 | (byte(1) & 0x3fu) << 6 | (byte(2) & 0x3fu);
    default:
        return (byte(0) & 0x07u) << 18 | (byte(1) & 0x3fu) << 12 | (byte(2) & 0x3fu) << 6
               | (byte(3) & 0x3fu);
    }
}

// ActionScript's substring: a 1-based start, and a negative count meaning "to the end". Both
// are 32-bit integers first, so NaN and the infinities count as 0.
std::string extract(const std::vector<std::string>& chars, double index, double count)
{
    const std::int32_t first = toInt32(index);
    const std::int32_t wanted = toInt32(count);
    const std::size_t start =
        std::min(first >= 1 ? static_cast<std::size_t>(first) - 1 : 0, chars.size());
    const std::size_t length =
        wanted < 0 ? chars.size() - start
                   : std::min(static_cast<std::size_t>(wanted), chars.size() - start);
    std::string text;
    for (std::size_t i = start; i < start + length; ++i)
        text += chars[i];
    return text;
}

} // namespace

class ActionMachine::Run final
{
public:
    Run(ActionMachine& machine, MovieClip& clip)
        : m_machine(machine)
        , m_context(machine.m_context)
        , m_version(machine.m_context.version)
        , m_original(clip.self())
        , m_target(m_original)
        , m_stack(machine.m_stack)
        , m_constants(machine.m_constants)
    {
    }

    bool run(std::span<const std::uint8_t> code)
    {
        const auto deadline = std::chrono::steady_clock::now() + maximumTime;
        std::size_t position = 0;
        for (std::size_t count = 0; position < code.size(); ++count) {
            if (count >= maximumActions
                || (count % 1024 == 1023 && std::chrono::steady_clock::now() > deadline))
                return false;
            const std::uint8_t action = code[position++];
            if (action == 0)
                return true;
            std::span<const std::uint8_t> payload;
            if (action >= 0x80) {
                if (code.size() - position < 2)
                    return false;
                const std::size_t length = code[position] | code[position + 1] << 8;
                position += 2;
                if (code.size() - position < length)
                    return false;
                payload = code.subspan(position, length);
                position += length;
            }
            std::optional<std::ptrdiff_t> jump;
            try {
                if (!isSupportedAction(action)
                    || !step(static_cast<ActionCode>(action), payload, jump))
                    return false;
            } catch (const MalformedMovie&) {
                return false; // a payload shorter than its action needs
            }
            if (jump) {
                const auto target = static_cast<std::ptrdiff_t>(position) + *jump;
                if (target < 0 || target > static_cast<std::ptrdiff_t>(code.size()))
                    return false;
                position = static_cast<std::size_t>(target);
            }
            if (m_stack.size() > maximumStack) {
                m_stack.clear();
                return false;
            }
        }
        return true;
    }

private:
    // One action; false stops the script.
    bool step(ActionCode action, std::span<const std::uint8_t> payload,
              std::optional<std::ptrdiff_t>& jump)
    {
        ByteReader reader(payload);
        switch (action) {
        case ActionCode::End:
        case ActionCode::ToggleQuality:
        case ActionCode::StopSounds:
            break;
        case ActionCode::NextFrame:
            if (auto clip = target())
                clip->gotoFrame(clip->currentFrame() + 1, false);
            break;
        case ActionCode::PreviousFrame:
            if (auto clip = target(); clip && clip->currentFrame() > 0)
                clip->gotoFrame(clip->currentFrame() - 1, false);
            break;
        case ActionCode::Play:
            if (auto clip = target())
                clip->play();
            break;
        case ActionCode::Stop:
            if (auto clip = target())
                clip->stop();
            break;
        case ActionCode::Add:
            numeric([](double a, double b) { return a + b; });
            break;
        case ActionCode::Subtract:
            numeric([](double a, double b) { return a - b; });
            break;
        case ActionCode::Multiply:
            numeric([](double a, double b) { return a * b; });
            break;
        case ActionCode::Divide:
            numeric([](double a, double b) { return a / b; });
            break;
        case ActionCode::Modulo:
            numeric([](double a, double b) { return std::fmod(a, b); });
            break;
        case ActionCode::Equals:
            compare([](double a, double b) { return a == b; });
            break;
        case ActionCode::Less:
            compare([](double a, double b) { return a < b; });
            break;
        case ActionCode::And: {
            const bool b = pop().toBoolean(m_version);
            const bool a = pop().toBoolean(m_version);
            pushBoolean(a && b);
            break;
        }
        case ActionCode::Or: {
            const bool b = pop().toBoolean(m_version);
            const bool a = pop().toBoolean(m_version);
            pushBoolean(a || b);
            break;
        }
        case ActionCode::Not:
            pushBoolean(!pop().toBoolean(m_version));
            break;
        case ActionCode::StringEquals: {
            const std::string b = popString();
            pushBoolean(popString() == b);
            break;
        }
        case ActionCode::StringLess: {
            const std::string b = popString();
            pushBoolean(popString() < b);
            break;
        }
        case ActionCode::StringGreater: {
            const std::string b = popString();
            pushBoolean(popString() > b);
            break;
        }
        case ActionCode::StringLength:
            push(static_cast<double>(popString().size()));
            break;
        case ActionCode::MbStringLength:
            push(static_cast<double>(characters(popString()).size()));
            break;
        case ActionCode::StringExtract:
        case ActionCode::MbStringExtract: {
            const double count = popNumber();
            const double index = popNumber();
            const std::string text = popString();
            if (action == ActionCode::MbStringExtract) {
                push(extract(characters(text), index, count));
            } else {
                std::vector<std::string> bytes;
                for (char c : text)
                    bytes.emplace_back(1, c);
                push(extract(bytes, index, count));
            }
            break;
        }
        case ActionCode::StringAdd: {
            const std::string b = popString();
            push(popString() + b);
            break;
        }
        case ActionCode::CharToAscii:
        case ActionCode::MbCharToAscii: {
            const auto chars = characters(popString());
            push(chars.empty() ? 0.0 : static_cast<double>(codePoint(chars.front())));
            break;
        }
        case ActionCode::AsciiToChar:
        case ActionCode::MbAsciiToChar:
            push(characterOf(popNumber()));
            break;
        case ActionCode::Pop:
            (void)pop();
            break;
        case ActionCode::ToInteger:
            // A 32-bit integer, wrapped, as int() gives: NaN and the infinities become 0.
            push(static_cast<double>(toInt32(popNumber())));
            break;
        case ActionCode::ToNumber:
            push(popNumber());
            break;
        case ActionCode::ToString:
            push(popString());
            break;
        case ActionCode::TypeOf:
            push(pop().typeOf());
            break;
        case ActionCode::GetVariable:
            push(getVariable(popString()));
            break;
        case ActionCode::SetVariable: {
            Value value = pop();
            setVariable(popString(), std::move(value));
            break;
        }
        case ActionCode::DefineLocal: {
            Value value = pop();
            m_original->setVariable(popString(), std::move(value));
            break;
        }
        case ActionCode::DefineLocal2: {
            const std::string name = popString();
            if (m_original->variable(name).isUndefined())
                m_original->setVariable(name, Value());
            break;
        }
        case ActionCode::SetTarget2: {
            const Value target = pop();
            setTarget(target.clip() ? target.clip()
                                    : asClip(resolve(target.toString(m_version), *m_original)));
            break;
        }
        case ActionCode::SetTarget: {
            const std::string path = reader.string();
            setTarget(path.empty() ? m_original : asClip(resolve(path, *m_original)));
            break;
        }
        case ActionCode::GetProperty: {
            const double index = popNumber();
            const auto object = resolveValue(pop());
            push(object && index >= 0 && index < double(Property::Count)
                     ? property(*object, static_cast<Property>(static_cast<int>(index)))
                     : Value());
            break;
        }
        case ActionCode::SetProperty: {
            Value value = pop();
            const double index = popNumber();
            const auto object = resolveValue(pop());
            if (object && index >= 0 && index < double(Property::Count))
                setProperty(*object, static_cast<Property>(static_cast<int>(index)), value);
            break;
        }
        case ActionCode::GetMember: {
            const std::string name = popString();
            push(member(pop(), name));
            break;
        }
        case ActionCode::SetMember: {
            Value value = pop();
            const std::string name = popString();
            const Value object = pop();
            if (const auto clip = object.clip())
                setClipMember(*clip, name, std::move(value));
            break;
        }
        case ActionCode::Trace: {
            const Value value = pop();
            std::string text = value.isUndefined() ? "undefined" : value.toString(m_version);
            // The reference player's log breaks the line at a carriage return as well.
            std::replace(text.begin(), text.end(), '\r', '\n');
            m_context.host.trace(text);
            break;
        }
        case ActionCode::RandomNumber: {
            const double maximum = popNumber();
            const auto top =
                maximum >= 1 && std::isfinite(maximum) ? static_cast<std::uint64_t>(maximum) : 1;
            push(static_cast<double>(
                std::uniform_int_distribution<std::uint64_t>(0, top - 1)(random())));
            break;
        }
        case ActionCode::GetTime:
            push(static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - m_machine.m_started)
                                         .count()));
            break;
        case ActionCode::TargetPath: {
            const auto clip = pop().clip();
            push(clip ? Value(clip->targetPath()) : Value());
            break;
        }
        case ActionCode::Add2: {
            const Value b = pop();
            const Value a = pop();
            if (a.isString() || b.isString())
                push(a.toString(m_version) + b.toString(m_version));
            else
                push(a.toNumber(m_version) + b.toNumber(m_version));
            break;
        }
        case ActionCode::Less2: {
            const Value b = pop();
            push(lessThan(pop(), b));
            break;
        }
        case ActionCode::Greater: {
            const Value b = pop();
            const Value a = pop();
            push(lessThan(b, a));
            break;
        }
        case ActionCode::Equals2: {
            const Value b = pop();
            push(pop().looselyEquals(b, m_version));
            break;
        }
        case ActionCode::StrictEquals: {
            const Value b = pop();
            push(pop().strictlyEquals(b));
            break;
        }
        case ActionCode::PushDuplicate: {
            const Value top = pop();
            push(top);
            push(top);
            break;
        }
        case ActionCode::StackSwap: {
            Value b = pop();
            Value a = pop();
            push(std::move(b));
            push(std::move(a));
            break;
        }
        case ActionCode::Increment:
            push(popNumber() + 1);
            break;
        case ActionCode::Decrement:
            push(popNumber() - 1);
            break;
        case ActionCode::BitAnd:
            bitwise([](std::int32_t a, std::int32_t b) { return double(a & b); });
            break;
        case ActionCode::BitOr:
            bitwise([](std::int32_t a, std::int32_t b) { return double(a | b); });
            break;
        case ActionCode::BitXor:
            bitwise([](std::int32_t a, std::int32_t b) { return double(a ^ b); });
            break;
        case ActionCode::BitLShift:
            bitwise([](std::int32_t a, std::int32_t b) {
                return double(static_cast<std::int32_t>(static_cast<std::uint32_t>(a) << (b & 31)));
            });
            break;
        case ActionCode::BitRShift:
            bitwise([](std::int32_t a, std::int32_t b) { return double(a >> (b & 31)); });
            break;
        case ActionCode::BitURShift:
            bitwise([](std::int32_t a, std::int32_t b) {
                return double(static_cast<std::uint32_t>(a) >> (b & 31));
            });
            break;
        case ActionCode::GotoFrame:
            if (auto clip = target())
                clip->gotoFrame(reader.u16(), false);
            break;
        case ActionCode::GoToLabel:
            if (auto clip = target())
                clip->gotoLabel(reader.string(), false);
            break;
        case ActionCode::GotoFrame2:
            gotoFrame2(reader);
            break;
        case ActionCode::GetUrl: {
            const std::string url = reader.string();
            getUrl(url, reader.string());
            break;
        }
        case ActionCode::GetUrl2: {
            const std::string target = popString();
            getUrl(popString(), target);
            break;
        }
        case ActionCode::StoreRegister: {
            const std::uint8_t index = reader.u8();
            const Value top = pop();
            if (index < m_registers.size())
                m_registers[index] = top;
            push(top);
            break;
        }
        case ActionCode::ConstantPool: {
            m_constants.clear();
            const std::uint16_t count = reader.u16();
            for (std::uint16_t i = 0; i < count; ++i)
                m_constants.push_back(reader.string());
            break;
        }
        case ActionCode::WaitForFrame:
        case ActionCode::WaitForFrame2:
            // Every frame of a file on disk is loaded: nothing is ever skipped.
            if (action == ActionCode::WaitForFrame2)
                (void)pop();
            break;
        case ActionCode::Push:
            while (!reader.atEnd())
                pushValue(reader);
            break;
        case ActionCode::Jump:
            jump = reader.s16();
            break;
        case ActionCode::If: {
            const std::int16_t offset = reader.s16();
            if (pop().toBoolean(m_version))
                jump = offset;
            break;
        }
        }
        return true;
    }

    // The code wraps to 16 bits, and 0 gives the empty string; a half of a surrogate pair is
    // the replacement character, and before Unicode only the low byte counts.
    std::string characterOf(double number) const
    {
        const auto code = static_cast<std::uint32_t>(toInt32(number)) & 0xffffu;
        if (code == 0)
            return {};
        if (!rulesFor(m_version).unicodeStrings)
            return utf8(code & 0xffu);
        return utf8(code >= 0xd800 && code < 0xe000 ? 0xfffdu : code);
    }

    void pushValue(ByteReader& reader)
    {
        switch (reader.u8()) {
        case 0:
            push(reader.string());
            break;
        case 1:
            push(static_cast<double>(reader.f32()));
            break;
        case 2:
            push(Value(Null{}));
            break;
        case 3:
            push(Value());
            break;
        case 4: {
            const std::uint8_t index = reader.u8();
            push(index < m_registers.size() ? m_registers[index] : Value());
            break;
        }
        case 5:
            push(reader.u8() != 0);
            break;
        case 6:
            push(reader.f64());
            break;
        case 7:
            push(static_cast<double>(static_cast<std::int32_t>(reader.u32())));
            break;
        case 8:
            pushConstant(reader.u8());
            break;
        case 9:
            pushConstant(reader.u16());
            break;
        default:
            throw MalformedMovie("unknown type of pushed value");
        }
    }

    void pushConstant(std::size_t index)
    {
        push(index < m_constants.size() ? Value(m_constants[index]) : Value());
    }

    void push(Value value) { m_stack.push_back(std::move(value)); }
    void pushBoolean(bool value)
    {
        push(rulesFor(m_version).booleansAsNumbers ? Value(value ? 1.0 : 0.0) : Value(value));
    }

    Value pop()
    {
        if (m_stack.empty())
            return Value();
        Value top = std::move(m_stack.back());
        m_stack.pop_back();
        return top;
    }
    double popNumber() { return pop().toNumber(m_version); }
    std::string popString() { return pop().toString(m_version); }

    template <typename Operation>
    void numeric(Operation operation)
    {
        const double b = popNumber();
        push(operation(popNumber(), b));
    }

    template <typename Operation>
    void compare(Operation operation)
    {
        const double b = popNumber();
        pushBoolean(operation(popNumber(), b));
    }

    template <typename Operation>
    void bitwise(Operation operation)
    {
        const std::int32_t b = toInt32(popNumber());
        push(operation(toInt32(popNumber()), b));
    }

    Value lessThan(const Value& a, const Value& b) const
    {
        if (a.isString() && b.isString())
            return Value(a.toString(m_version) < b.toString(m_version));
        const double x = a.toNumber(m_version);
        const double y = b.toNumber(m_version);
        if (std::isnan(x) || std::isnan(y))
            return Value();
        return Value(x < y);
    }

    std::shared_ptr<MovieClip> target() const { return m_target.lock(); }
    void setTarget(const std::shared_ptr<MovieClip>& clip) { m_target = clip; }

    static std::shared_ptr<MovieClip> asClip(const std::shared_ptr<DisplayObject>& object)
    {
        return std::dynamic_pointer_cast<MovieClip>(object);
    }

    // A target path in slash or dot form, from `from`.
    std::shared_ptr<DisplayObject> resolve(std::string_view path, MovieClip& from) const
    {
        std::shared_ptr<DisplayObject> current = from.self();
        if (path.empty())
            return current;
        if (path.front() == '/') {
            current = from.root().self();
            path.remove_prefix(1);
        }
        while (!path.empty() && current) {
            // ".." is a part of its own, not two dots between empty names.
            const std::size_t end =
                path.starts_with("..") ? path.find_first_of("/.", 2) : path.find_first_of("/.");
            std::string_view part = path.substr(0, end);
            path = end == std::string_view::npos ? std::string_view() : path.substr(end + 1);
            if (end != std::string_view::npos && path.empty() && part.empty())
                break;
            const auto clip = asClip(current);
            if (part.empty() || part == "this")
                continue;
            if (part == ".." || part == "_parent")
                current = clip && clip->parent() ? clip->parent()->self() : nullptr;
            else if (part == "_root" || part == "_level0")
                current = from.root().self();
            else
                current = clip ? clip->child(part) : nullptr;
        }
        return current;
    }

    // A value naming a clip: a clip reference or a target path.
    std::shared_ptr<DisplayObject> resolveValue(const Value& value) const
    {
        if (auto clip = value.clip())
            return clip;
        auto base = target() ? target() : m_original;
        return resolve(value.toString(m_version), *base);
    }

    // "path:name", "path.name" or a plain name on the current target.
    std::pair<std::shared_ptr<DisplayObject>, std::string> split(const std::string& name) const
    {
        auto base = target() ? target() : m_original;
        std::size_t cut = name.rfind(':');
        if (cut == std::string::npos)
            cut = name.rfind('.');
        if (cut == std::string::npos)
            return {base, name};
        return {resolve(std::string_view(name).substr(0, cut), *base), name.substr(cut + 1)};
    }

    // The clips a name means from `clip` wherever it stands, as a variable or a member: a clip's
    // own variables cannot hide them. Without case before SWF 7, like every other name.
    std::optional<Value> relative(MovieClip& clip, std::string_view name) const
    {
        const auto is = [&](std::string_view word) {
            return !rulesFor(m_version).namesIgnoreCase
                       ? name == word
                       : name.size() == word.size()
                             && std::equal(name.begin(), name.end(), word.begin(),
                                           [](unsigned char a, unsigned char b) {
                                               return std::tolower(a) == b;
                                           });
        };
        if (is("_root") || is("_level0"))
            return Value(clip.root().self());
        if (is("_parent"))
            return clip.parent() ? Value(clip.parent()->self()) : Value();
        return std::nullopt;
    }

    Value getVariable(const std::string& name) const
    {
        auto base = target() ? target() : m_original;
        if (name == "this")
            return Value(base);
        if (auto related = relative(*base, name))
            return *related;
        if (name.find_first_of("/") != std::string::npos && name.find(':') == std::string::npos) {
            const auto clip = asClip(resolve(name, *base));
            return clip ? Value(clip) : Value();
        }
        const auto [object, variable] = split(name);
        if (!object)
            return Value();
        return member(object, variable);
    }

    void setVariable(const std::string& name, Value value)
    {
        const auto [object, variable] = split(name);
        if (const auto clip = asClip(object))
            setClipMember(*clip, variable, std::move(value));
        else if (object)
            if (const auto property = propertyNamed(variable))
                setProperty(*object, *property, value);
    }

    Value member(const Value& object, const std::string& name) const
    {
        if (auto clip = object.clip())
            return member(clip, name);
        if (object.isString() && name == "length")
            return static_cast<double>(characters(object.toString(m_version)).size());
        return Value();
    }

    Value member(const std::shared_ptr<DisplayObject>& object, const std::string& name) const
    {
        if (const auto property = propertyNamed(name))
            return this->property(*object, *property);
        const auto clip = asClip(object);
        if (!clip)
            return Value();
        if (auto related = relative(*clip, name))
            return *related;
        Value value = clip->variable(name);
        if (value.isUndefined()) {
            if (const auto child = asClip(clip->child(name)))
                return Value(child);
        }
        return value;
    }

    void setClipMember(MovieClip& clip, const std::string& name, Value value)
    {
        if (const auto property = propertyNamed(name))
            setProperty(clip, *property, value);
        else
            clip.setVariable(name, std::move(value));
    }

    Value property(DisplayObject& object, Property property) const
    {
        const Matrix& m = object.matrix;
        const auto* const clip = dynamic_cast<const MovieClip*>(&object);
        switch (property) {
        case Property::X:
            return m.tx / 20;
        case Property::Y:
            return m.ty / 20;
        case Property::XScale:
            return std::hypot(m.a, m.b) * 100;
        case Property::YScale:
            return std::hypot(m.c, m.d) * 100;
        case Property::CurrentFrame:
            return clip ? static_cast<double>(clip->currentFrame() + 1) : 1.0;
        case Property::TotalFrames:
        case Property::FramesLoaded:
            return clip ? static_cast<double>(clip->frameCount()) : 1.0;
        case Property::Alpha:
            return object.colour.alphaMultiply * 100;
        case Property::Visible:
            return rulesFor(m_version).booleansAsNumbers ? Value(object.visible ? 1.0 : 0.0)
                                                         : Value(object.visible);
        case Property::Width:
            return transformedBounds(m, object.bounds()).width() / 20;
        case Property::Height:
            return transformedBounds(m, object.bounds()).height() / 20;
        case Property::Rotation:
            return std::atan2(m.b, m.a) * 180 / std::numbers::pi;
        case Property::Target:
            return clip ? clip->slashPath() : std::string();
        case Property::Name:
            return object.name;
        case Property::HighQuality:
            return 1.0;
        case Property::Quality:
            return "HIGH";
        default:
            return Value();
        }
    }

    void setProperty(DisplayObject& object, Property property, const Value& value)
    {
        const double number = value.toNumber(m_version);
        Matrix& m = object.matrix;
        const auto scale = [](double& a, double& b, double percent) {
            const double current = std::hypot(a, b);
            const double wanted = percent / 100;
            if (current == 0) {
                a = wanted;
                b = 0;
            } else {
                a *= wanted / current;
                b *= wanted / current;
            }
        };
        switch (property) {
        case Property::X:
            if (std::isfinite(number))
                m.tx = number * 20;
            break;
        case Property::Y:
            if (std::isfinite(number))
                m.ty = number * 20;
            break;
        case Property::XScale:
            if (std::isfinite(number))
                scale(m.a, m.b, number);
            break;
        case Property::YScale:
            if (std::isfinite(number))
                scale(m.c, m.d, number);
            break;
        case Property::Alpha:
            if (std::isfinite(number))
                object.colour.alphaMultiply = number / 100;
            break;
        case Property::Visible:
            object.visible = value.toBoolean(m_version);
            break;
        case Property::Rotation:
            if (std::isfinite(number)) {
                const double radians = number * std::numbers::pi / 180;
                const double sx = std::hypot(m.a, m.b);
                const double sy = std::hypot(m.c, m.d);
                m.a = sx * std::cos(radians);
                m.b = sx * std::sin(radians);
                m.c = -sy * std::sin(radians);
                m.d = sy * std::cos(radians);
            }
            break;
        case Property::Name:
            object.name = value.toString(m_version);
            break;
        default:
            return; // read-only, or nothing the engine draws differently
        }
        object.movedByScript = true;
        m_context.dirty = true;
    }

    void gotoFrame2(ByteReader& reader)
    {
        const std::uint8_t flags = reader.u8();
        const double bias = flags & 2 ? reader.u16() : 0;
        const bool play = flags & 1;
        const Value frame = pop();
        auto clip = target();
        if (!clip)
            return;
        if (!frame.isString()) {
            const double number = frame.toNumber(m_version) + bias;
            if (std::isfinite(number) && number >= 1)
                clip->gotoFrame(static_cast<std::size_t>(std::min(number, 65535.0)) - 1, play);
            return;
        }
        // "label", "frame number", or either after "path:".
        std::string text = frame.toString(m_version);
        if (const std::size_t colon = text.rfind(':'); colon != std::string::npos) {
            clip = asClip(resolve(std::string_view(text).substr(0, colon), *clip));
            text = text.substr(colon + 1);
            if (!clip)
                return;
        }
        const double number = parseNumber(text, m_version);
        if (std::isfinite(number) && number >= 1)
            clip->gotoFrame(static_cast<std::size_t>(std::min(number + bias, 65535.0)) - 1, play);
        else
            clip->gotoLabel(text, play);
    }

    void getUrl(const std::string& url, const std::string& target)
    {
        if (startsWithFsCommand(url))
            m_context.host.fsCommand(url.substr(10), target);
        else
            m_context.host.openUrl(url, target);
    }

    static std::mt19937& random()
    {
        static std::mt19937 generator{std::random_device{}()};
        return generator;
    }

    ActionMachine& m_machine;
    PlayerContext& m_context;
    int m_version;
    std::shared_ptr<MovieClip> m_original;
    std::weak_ptr<MovieClip> m_target;
    std::vector<Value>& m_stack;
    std::vector<std::string>& m_constants;
    std::array<Value, 4> m_registers;
};

ActionMachine::ActionMachine(PlayerContext& context)
    : m_context(context)
    , m_started(std::chrono::steady_clock::now())
{
}

bool ActionMachine::run(MovieClip& clip, std::span<const std::uint8_t> code)
{
    return Run(*this, clip).run(code);
}

bool isSupportedAction(std::uint8_t code)
{
    switch (static_cast<ActionCode>(code)) {
    case ActionCode::End:
    case ActionCode::NextFrame:
    case ActionCode::PreviousFrame:
    case ActionCode::Play:
    case ActionCode::Stop:
    case ActionCode::ToggleQuality:
    case ActionCode::StopSounds:
    case ActionCode::Add:
    case ActionCode::Subtract:
    case ActionCode::Multiply:
    case ActionCode::Divide:
    case ActionCode::Equals:
    case ActionCode::Less:
    case ActionCode::And:
    case ActionCode::Or:
    case ActionCode::Not:
    case ActionCode::StringEquals:
    case ActionCode::StringLength:
    case ActionCode::StringExtract:
    case ActionCode::Pop:
    case ActionCode::ToInteger:
    case ActionCode::GetVariable:
    case ActionCode::SetVariable:
    case ActionCode::SetTarget2:
    case ActionCode::StringAdd:
    case ActionCode::GetProperty:
    case ActionCode::SetProperty:
    case ActionCode::Trace:
    case ActionCode::StringLess:
    case ActionCode::RandomNumber:
    case ActionCode::MbStringLength:
    case ActionCode::CharToAscii:
    case ActionCode::AsciiToChar:
    case ActionCode::GetTime:
    case ActionCode::MbStringExtract:
    case ActionCode::MbCharToAscii:
    case ActionCode::MbAsciiToChar:
    case ActionCode::DefineLocal:
    case ActionCode::Modulo:
    case ActionCode::DefineLocal2:
    case ActionCode::TypeOf:
    case ActionCode::TargetPath:
    case ActionCode::Add2:
    case ActionCode::Less2:
    case ActionCode::Equals2:
    case ActionCode::ToNumber:
    case ActionCode::ToString:
    case ActionCode::PushDuplicate:
    case ActionCode::StackSwap:
    case ActionCode::GetMember:
    case ActionCode::SetMember:
    case ActionCode::Increment:
    case ActionCode::Decrement:
    case ActionCode::BitAnd:
    case ActionCode::BitOr:
    case ActionCode::BitXor:
    case ActionCode::BitLShift:
    case ActionCode::BitRShift:
    case ActionCode::BitURShift:
    case ActionCode::StrictEquals:
    case ActionCode::Greater:
    case ActionCode::StringGreater:
    case ActionCode::GotoFrame:
    case ActionCode::GetUrl:
    case ActionCode::StoreRegister:
    case ActionCode::ConstantPool:
    case ActionCode::WaitForFrame:
    case ActionCode::SetTarget:
    case ActionCode::GoToLabel:
    case ActionCode::WaitForFrame2:
    case ActionCode::Push:
    case ActionCode::Jump:
    case ActionCode::GetUrl2:
    case ActionCode::If:
    case ActionCode::GotoFrame2:
        return true;
    }
    return false;
}

} // namespace swf
