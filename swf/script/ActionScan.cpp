#include "ActionScan.h"

#include "ActionCode.h"
#include "ByteReader.h"
#include "Value.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <string_view>
#include <vector>

namespace swf
{
namespace
{

// Names a script can only mean the player's built-in objects, functions or properties by, none
// of which the engine has: it would read them as undefined. Compared without case, since movies
// before SWF 7 ignore it.
constexpr std::array<std::string_view, 64> builtInNames = {
    "_global",
    "Math",
    "Number",
    "Object",
    "String",
    "Boolean",
    "Array",
    "Date",
    "Function",
    "Stage",
    "System",
    "Key",
    "Mouse",
    "MovieClip",
    "Button",
    "TextField",
    "TextFormat",
    "TextSnapshot",
    "Sound",
    "Color",
    "Selection",
    "XML",
    "XMLNode",
    "XMLSocket",
    "LoadVars",
    "LocalConnection",
    "SharedObject",
    "Camera",
    "Microphone",
    "NetConnection",
    "NetStream",
    "Video",
    "ContextMenu",
    "ContextMenuItem",
    "Error",
    "AsBroadcaster",
    "ASSetPropFlags",
    "ASnative",
    "super",
    "arguments",
    "prototype",
    "__proto__",
    "constructor",
    "NaN",
    "Infinity",
    "parseInt",
    "parseFloat",
    "isNaN",
    "isFinite",
    "escape",
    "unescape",
    "setInterval",
    "clearInterval",
    "updateAfterEvent",
    "MovieClipLoader",
    "PrintJob",
    "_url",
    "_droptarget",
    "_focusrect",
    "_soundbuftime",
    "_xmouse",
    "_ymouse",
    "_lockroot",
    "text",
};

// What GetProperty and SetProperty may name by number: the engine keeps every property up to
// _name (13), and quality; the others (drop target, URL, focus rectangle, sound buffer, mouse
// position) it does not.
constexpr bool isKeptProperty(double index)
{
    return (index >= 0 && index <= 13) || index == 16 || index == 19;
}

bool sameWithoutCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

bool startsWithWithoutCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && sameWithoutCase(text.substr(0, prefix.size()), prefix);
}

// Whether `text` has `prefix` followed by a number at `at` (the number itself returned).
std::optional<std::string_view> numberAfter(std::string_view text, std::size_t at,
                                            std::string_view prefix)
{
    if (!startsWithWithoutCase(text.substr(at), prefix))
        return std::nullopt;
    const std::size_t start = at + prefix.size();
    std::size_t end = start;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
        ++end;
    if (end == start)
        return std::nullopt;
    return text.substr(start, end - start);
}

// Why a string in a script names something the engine lacks, if it does.
std::optional<std::string> unknownName(std::string_view text)
{
    for (const std::string_view name : builtInNames) {
        if (sameWithoutCase(text, name))
            return "the built-in name " + std::string(name);
    }
    // Levels other than the movie's own come only from loading, which the engine does not do.
    for (std::size_t at = text.find('_'); at != std::string_view::npos;
         at = text.find('_', at + 1)) {
        if (const auto level = numberAfter(text, at, "_level");
            level && level->find_first_not_of('0') != std::string_view::npos)
            return "other levels (" + std::string(text.substr(at, 6 + level->size())) + ")";
    }
    // The player names unnamed instances itself, and the engine does not.
    if (numberAfter(text, 0, "instance"))
        return "automatic instance names";
    return std::nullopt;
}

std::string hex(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02x", value);
    return text;
}

bool namesClip(std::string_view text)
{
    constexpr std::array<std::string_view, 4> names = {"this", "_parent", "_name", "_target"};
    return std::any_of(names.begin(), names.end(),
                       [text](std::string_view name) { return sameWithoutCase(text, name); })
           || text.starts_with("..");
}

// The actions that touch no value: where the value rules are not pinned, a script can still
// stop, play and go to frames.
bool controlsTimeline(ActionCode action)
{
    switch (action) {
    case ActionCode::NextFrame:
    case ActionCode::PreviousFrame:
    case ActionCode::Play:
    case ActionCode::Stop:
    case ActionCode::ToggleQuality:
    case ActionCode::StopSounds:
    case ActionCode::GotoFrame:
    case ActionCode::GetUrl:
    case ActionCode::SetTarget:
    case ActionCode::GoToLabel:
        return true;
    default:
        return false;
    }
}

bool isFsCommand(std::string_view url)
{
    return startsWithWithoutCase(url, "FSCommand:");
}

class BlockScan final
{
public:
    BlockScan(std::span<const std::uint8_t> code, int version)
        : m_code(code)
        , m_valuesPinned(rulesFor(version).valuesPinned)
        , m_unicodeStrings(rulesFor(version).unicodeStrings)
    {
    }

    [[nodiscard]] bool namesClips() const { return m_namesClips; }

    std::optional<std::string> run()
    {
        ByteReader reader(m_code);
        while (!reader.atEnd()) {
            const std::uint8_t action = reader.u8();
            if (action == 0)
                break;
            if (!isSupportedAction(action))
                return "action " + hex(action);
            if (!m_valuesPinned && !controlsTimeline(static_cast<ActionCode>(action)))
                return "action " + hex(action) + " on values, by rules not pinned in this version";
            std::span<const std::uint8_t> payload;
            if (action >= 0x80)
                payload = reader.bytes(reader.u16());
            ByteReader fields(payload);
            if (auto problem = check(static_cast<ActionCode>(action), fields, reader.position()))
                return problem;
            m_literalIndex = action == static_cast<std::uint8_t>(ActionCode::Push)
                                 ? m_lastPushedNumber
                                 : std::nullopt;
        }
        return std::nullopt;
    }

private:
    std::optional<std::string> check(ActionCode action, ByteReader& fields, std::size_t next)
    {
        switch (action) {
        case ActionCode::Push:
            return push(fields);
        case ActionCode::ConstantPool:
            for (std::uint16_t count = fields.u16(); count > 0; --count) {
                if (auto problem = name(fields.string()))
                    return problem;
            }
            return std::nullopt;
        case ActionCode::SetTarget:
        case ActionCode::GoToLabel:
            return name(fields.string());
        case ActionCode::TargetPath:
            m_namesClips = true;
            return std::nullopt;
        case ActionCode::MbAsciiToChar:
            // Ruffle reads such a character back as a byte of its encoding; no reference
            // output says what the player does.
            if (!m_unicodeStrings)
                return "multibyte characters from codes before Unicode strings";
            return std::nullopt;
        case ActionCode::Jump:
        case ActionCode::If: {
            // The reference player runs a branch out of its block on the file's bytes around it.
            const auto target = static_cast<std::ptrdiff_t>(next) + fields.s16();
            if (target < 0 || target > static_cast<std::ptrdiff_t>(m_code.size()))
                return "a branch out of its action block";
            return std::nullopt;
        }
        case ActionCode::GetUrl: {
            const std::string url = fields.string();
            if (isFsCommand(url))
                return std::nullopt;
            return "getURL, loadMovie or loadVariables";
        }
        case ActionCode::GetUrl2:
            return "getURL, loadMovie or loadVariables to a computed address";
        case ActionCode::GetProperty:
            // Compilers push the index last, as a literal; one computed at run time may be any.
            if (!m_literalIndex || !isKeptProperty(*m_literalIndex))
                return "a property the engine does not keep";
            m_namesClips = m_namesClips || *m_literalIndex == 11 || *m_literalIndex == 13;
            return std::nullopt;
        default:
            return std::nullopt;
        }
    }

    std::optional<std::string> push(ByteReader& fields)
    {
        std::vector<std::optional<double>> numbers;
        while (!fields.atEnd()) {
            std::optional<double> number;
            switch (fields.u8()) {
            case 0:
                if (auto problem = name(fields.string()))
                    return problem;
                break;
            case 1:
                number = fields.f32();
                break;
            case 4:
            case 5:
            case 8:
                fields.skip(1);
                break;
            case 6:
                number = fields.f64();
                break;
            case 7:
                number = static_cast<std::int32_t>(fields.u32());
                break;
            case 9:
                fields.skip(2);
                break;
            default:
                break;
            }
            numbers.push_back(number);
        }
        m_lastPushedNumber = numbers.empty() ? std::nullopt : numbers.back();
        return std::nullopt;
    }

    std::optional<std::string> name(std::string_view text)
    {
        m_namesClips = m_namesClips || namesClip(text);
        return unknownName(text);
    }

    std::span<const std::uint8_t> m_code;
    bool m_valuesPinned;
    bool m_unicodeStrings;
    bool m_namesClips = false;
    std::optional<double> m_lastPushedNumber;
    std::optional<double> m_literalIndex; // the number on top after the previous action
};

} // namespace

ActionScan scanActions(std::span<const std::uint8_t> code, int version)
{
    BlockScan scan(code, version);
    ActionScan result;
    result.problem = scan.run();
    result.namesClips = scan.namesClips();
    return result;
}

} // namespace swf
