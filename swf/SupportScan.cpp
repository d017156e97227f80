#include "SupportScan.h"

#include "ByteReader.h"
#include "Morph.h"
#include "MovieFile.h"
#include "Records.h"
#include "Shape.h"
#include "TagCode.h"
#include "script/ActionScan.h"

#include <algorithm>
#include <optional>
#include <set>

namespace swf
{
namespace
{

std::string tagName(std::uint16_t code)
{
    switch (static_cast<TagCode>(code)) {
    case TagCode::DefineSound:
        return "sound (DefineSound)";
    case TagCode::StartSound:
    case TagCode::StartSound2:
        return "sound (StartSound)";
    case TagCode::DefineButtonSound:
        return "button sound (DefineButtonSound)";
    case TagCode::SoundStreamHead:
    case TagCode::SoundStreamHead2:
    case TagCode::SoundStreamBlock:
        return "streaming sound";
    case TagCode::DoAbc:
    case TagCode::SymbolClass:
        return "ActionScript 3";
    case TagCode::DoInitAction:
        return "initialisation actions (DoInitAction)";
    case TagCode::ImportAssets:
    case TagCode::ImportAssets2:
        return "imported assets";
    case TagCode::DefineVideoStream:
    case TagCode::VideoFrame:
        return "video";
    case TagCode::DefineScalingGrid:
        return "scaling grid";
    case TagCode::DefineFont4:
        return "DefineFont4";
    case TagCode::DefineBinaryData:
        return "binary data";
    default:
        return "tag " + std::to_string(code);
    }
}

// Gradients are drawn only as far as the reference player's drawing is known to be matched: the
// colours mixed in the stored values between stops that strictly increase, around a centre.
std::optional<std::string> gradientProblem(const FillStyle& fill)
{
    switch (fill.kind) {
    case FillStyle::Kind::Solid:
    case FillStyle::Kind::Bitmap:
        return std::nullopt;
    case FillStyle::Kind::FocalGradient:
        return "focal gradients";
    case FillStyle::Kind::LinearGradient:
    case FillStyle::Kind::RadialGradient:
        break;
    }
    if (fill.gradient.interpolation == Gradient::Interpolation::Linear)
        return "linear-RGB gradients";
    const auto& stops = fill.gradient.stops;
    const auto unordered = std::adjacent_find(
        stops.begin(), stops.end(), [](auto& a, auto& b) { return b.position <= a.position; });
    if (unordered != stops.end())
        return "gradient ratios that do not increase";
    return std::nullopt;
}

std::optional<std::string> stylesProblem(const Styles& styles)
{
    for (const FillStyle& fill : styles.fills) {
        if (auto problem = gradientProblem(fill))
            return problem;
    }
    for (const LineStyle& line : styles.lines) {
        if (auto problem = line.fill ? gradientProblem(*line.fill) : std::nullopt)
            return problem;
    }
    return std::nullopt;
}

std::optional<std::string> outlineProblem(const Styles& styles,
                                          const std::vector<ShapeRecord>& records)
{
    if (auto problem = stylesProblem(styles))
        return problem;
    for (const ShapeRecord& record : records) {
        const auto* change = std::get_if<StyleChange>(&record);
        if (auto problem =
                change && change->newStyles ? stylesProblem(*change->newStyles) : std::nullopt)
            return problem;
    }
    return std::nullopt;
}

std::optional<std::string> shapeProblem(ByteReader& reader, int version)
{
    const ShapeFormat format{version};
    (void)reader.u16();
    (void)readRect(reader);
    // The engine fills these by non-zero winding, but Ruffle's canvas renderer, the oracle
    // the drawing is checked against, fills them even-odd: nothing confirms either picture.
    constexpr std::uint8_t nonZeroWinding = 0x04;
    if (version == 4) {
        (void)readRect(reader);
        if (reader.u8() & nonZeroWinding)
            return "non-zero winding fills";
    }
    const Styles styles = readStyles(reader, format);
    return outlineProblem(styles, readShapeRecords(reader, format));
}

std::optional<std::string> morphProblem(ByteReader& reader, int version)
{
    (void)reader.u16();
    const MorphShape morph = readMorphShape(reader, version);
    if (auto problem = outlineProblem(morph.start.styles, morph.start.records))
        return problem;
    return stylesProblem(morph.endStyles);
}

// The seven bits of a button condition that name a key.
constexpr std::uint16_t keyPressConditions = 0xfe00;

class Scanner final
{
public:
    explicit Scanner(int version)
        : m_version(version)
    {
    }

    // The first unsupported feature in a tag stream, if any.
    std::optional<std::string> tags(std::span<const std::uint8_t> bytes, bool main)
    {
        TagStream stream(bytes);
        Tag tag;
        while (stream.next(tag)) {
            if (auto problem = this->tag(tag, main))
                return problem;
        }
        if (main && m_unnamedSprite && m_namesClips)
            return "automatic instance names";
        return std::nullopt;
    }

private:
    std::optional<std::string> tag(const Tag& tag, bool main)
    {
        ByteReader reader(tag.body);
        switch (static_cast<TagCode>(tag.code)) {
        case TagCode::PlaceObject:
            noteUnnamed(reader.u16());
            return std::nullopt;
        case TagCode::ShowFrame:
            m_frameShown = m_frameShown || main;
            return std::nullopt;
        case TagCode::SetBackgroundColor:
            // Players differ on a later colour: the first one, the last one, or each in turn.
            if (!main || m_frameShown || m_backgroundSet)
                return "a background colour set again or after the first frame";
            m_backgroundSet = true;
            return std::nullopt;
        case TagCode::DefineShape:
            return shapeProblem(reader, 1);
        case TagCode::DefineShape2:
            return shapeProblem(reader, 2);
        case TagCode::DefineShape3:
            return shapeProblem(reader, 3);
        case TagCode::DefineShape4:
            return shapeProblem(reader, 4);
        case TagCode::DefineMorphShape:
            return morphProblem(reader, 1);
        case TagCode::DefineMorphShape2:
            return morphProblem(reader, 2);
        case TagCode::RemoveObject:
        case TagCode::RemoveObject2:
        case TagCode::FrameLabel:
        case TagCode::DefineBits:
        case TagCode::JpegTables:
        case TagCode::DefineBitsJpeg2:
        case TagCode::DefineBitsJpeg3:
        case TagCode::DefineBitsJpeg4:
        case TagCode::DefineBitsLossless:
        case TagCode::DefineBitsLossless2:
        case TagCode::DefineFont:
        case TagCode::DefineFont2:
        case TagCode::DefineFont3:
        case TagCode::DefineFontInfo:
        case TagCode::DefineFontInfo2:
        case TagCode::DefineText:
        case TagCode::DefineText2:
        case TagCode::DefineButtonCxform:
        case TagCode::Protect:
        case TagCode::ExportAssets:
        case TagCode::EnableDebugger:
        case TagCode::EnableDebugger2:
        case TagCode::DebugId:
        case TagCode::ScriptLimits:
        case TagCode::SetTabIndex:
        case TagCode::DefineFontAlignZones:
        case TagCode::CsmTextSettings:
        case TagCode::Metadata:
        case TagCode::DefineFontName:
        case TagCode::DefineSceneAndFrameLabelData:
            return std::nullopt;
        case TagCode::FileAttributes:
            if (!tag.body.empty() && (tag.body[0] & 0x08))
                return "ActionScript 3";
            return std::nullopt;
        case TagCode::PlaceObject2:
            return placeObject(reader, false);
        case TagCode::PlaceObject3:
            return placeObject(reader, true);
        case TagCode::DoAction:
            return actions(tag.body);
        case TagCode::DefineButton:
            return button(reader, false);
        case TagCode::DefineButton2:
            return button(reader, true);
        case TagCode::DefineEditText:
            return editText(reader);
        case TagCode::DefineSprite:
            if (!main)
                return std::nullopt;
            m_sprites.insert(reader.u16());
            (void)reader.u16(); // frame count
            return tags(reader.rest(), false);
        default:
            return tagName(tag.code);
        }
    }

    std::optional<std::string> placeObject(ByteReader& reader, bool third)
    {
        const std::uint8_t flags = reader.u8();
        if (flags & 0x80)
            return "clip events (onClipEvent)";
        const std::uint8_t moreFlags = third ? reader.u8() : 0;
        if (moreFlags & 0x01)
            return "filters";
        (void)reader.u16(); // depth
        if ((moreFlags & 0x08) || ((moreFlags & 0x10) && (flags & 0x02)))
            (void)reader.string(); // class name
        const std::optional<std::uint16_t> character =
            flags & 0x02 ? std::optional(reader.u16()) : std::nullopt;
        if (flags & 0x04)
            (void)readMatrix(reader);
        if (flags & 0x08)
            (void)readColourTransform(reader, true);
        if (flags & 0x10)
            (void)reader.u16();
        const bool named = flags & 0x20;
        if (named)
            (void)reader.string();
        if (character && !named && !(flags & 0x01))
            noteUnnamed(*character);
        if (moreFlags & 0x40)
            return "opaque backgrounds (PlaceObject3)";
        if (!(moreFlags & 0x22))
            return std::nullopt;
        // The blend mode and visibility come after every other field; normal (0 or 1) is fine.
        if (flags & 0x40)
            (void)reader.u16();
        if ((moreFlags & 0x02) && reader.u8() > 1)
            return "blend modes";
        if (moreFlags & 0x04)
            (void)reader.u8(); // cached as a bitmap
        if ((moreFlags & 0x20) && reader.u8() == 0)
            return "hidden placements (PlaceObject3)";
        return std::nullopt;
    }

    // Sprites are defined before they are placed.
    void noteUnnamed(std::uint16_t character)
    {
        m_unnamedSprite = m_unnamedSprite || m_sprites.contains(character);
    }

    std::optional<std::string> button(ByteReader& reader, bool second)
    {
        (void)reader.u16();
        std::size_t actionsAt = 0;
        if (second) {
            (void)reader.u8();
            const std::size_t offsetAt = reader.position();
            const std::uint16_t offset = reader.u16();
            actionsAt = offset == 0 ? 0 : offsetAt + offset;
        }
        while (true) {
            const std::uint8_t flags = reader.u8();
            if (flags == 0)
                break;
            if (flags & 0x10)
                return "filters";
            if (flags & 0x20)
                return "blend modes";
            reader.skip(4);
            (void)readMatrix(reader);
            if (second)
                (void)readColourTransform(reader, true);
        }
        if (!second)
            return actions(reader.rest());
        if (actionsAt == 0)
            return std::nullopt;
        if (actionsAt < reader.position())
            throw MalformedMovie("a button's actions start inside its records");
        reader.skip(actionsAt - reader.position());
        while (!reader.atEnd()) {
            const std::uint16_t size = reader.u16();
            if (reader.u16() & keyPressConditions)
                return "key presses on buttons";
            if (size != 0 && size < 4)
                throw MalformedMovie("a button action is shorter than its header");
            const auto code = size == 0 ? reader.rest() : reader.bytes(size - 4u);
            if (auto problem = actions(code))
                return problem;
            if (size == 0)
                break;
        }
        return std::nullopt;
    }

    // The engine draws text fields but takes no typing into them.
    static std::optional<std::string> editText(ByteReader& reader)
    {
        (void)reader.u16();
        (void)readRect(reader);
        constexpr std::uint8_t readOnly = 0x08;
        if (!(reader.u8() & readOnly))
            return "text input";
        // The engine shows the text of the markup without its styles.
        constexpr std::uint8_t html = 0x02;
        if (reader.u8() & html)
            return "HTML text";
        return std::nullopt;
    }

    std::optional<std::string> actions(std::span<const std::uint8_t> code)
    {
        const ActionScan scan = scanActions(code, m_version);
        m_namesClips = m_namesClips || scan.namesClips;
        return scan.problem;
    }

    // The player names unnamed sprite instances itself ("instance1"), which the engine does
    // not: a movie with both an unnamed one and scripts that may read names goes elsewhere.
    int m_version;
    std::set<std::uint16_t> m_sprites;
    bool m_unnamedSprite = false;
    bool m_namesClips = false;
    bool m_frameShown = false;
    bool m_backgroundSet = false;
};

} // namespace

MovieSummary scanMovie(std::span<const std::uint8_t> file)
{
    MovieSummary summary;
    MovieFile movie;
    try {
        movie = readMovieFile(file);
    } catch (const MalformedMovie& error) {
        summary.firstUnsupported = error.what();
        return summary;
    }
    summary.readable = true;
    summary.version = movie.version;
    summary.stage = movie.stage;
    summary.frameRate = movie.frameRate;
    summary.frameCount = movie.frameCount;
    try {
        const auto problem = Scanner(movie.version).tags(movie.tags(), true);
        summary.supported = !problem;
        summary.firstUnsupported = problem.value_or("");
    } catch (const MalformedMovie& error) {
        summary.firstUnsupported = std::string("damaged data: ") + error.what();
    }
    return summary;
}

} // namespace swf
