#include "Movie.h"

#include "Records.h"
#include "TagCode.h"

#include <algorithm>
#include <cctype>

namespace swf
{
namespace
{

// More frame commands than this in one movie is no menu or activity anyone made; refusing them
// keeps a hostile file from growing the timelines without bound.
constexpr std::size_t maximumCommands = 500'000;

std::string lowerCase(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

PlaceCommand readPlaceObject(ByteReader& reader)
{
    PlaceCommand place;
    place.character = reader.u16();
    place.depth = reader.u16();
    place.matrix = readMatrix(reader);
    if (!reader.atEnd())
        place.colour = readColourTransform(reader, false);
    return place;
}

// PlaceObject2 and PlaceObject3; what the engine cannot honour (filters, blend modes, clip
// events) is left to the support scan, which sends such movies elsewhere.
PlaceCommand readPlaceObject2(ByteReader& reader, bool third)
{
    const std::uint8_t flags = reader.u8();
    const std::uint8_t moreFlags = third ? reader.u8() : 0;
    PlaceCommand place;
    place.depth = reader.u16();
    place.move = flags & 0x01;
    if (third && ((moreFlags & 0x08) || ((moreFlags & 0x10) && (flags & 0x02))))
        (void)reader.string(); // class name
    if (flags & 0x02)
        place.character = reader.u16();
    if (flags & 0x04)
        place.matrix = readMatrix(reader);
    if (flags & 0x08)
        place.colour = readColourTransform(reader, true);
    if (flags & 0x10)
        place.ratio = reader.u16();
    if (flags & 0x20)
        place.name = reader.string();
    if (flags & 0x40)
        place.clipDepth = reader.u16();
    return place;
}

} // namespace

std::optional<std::size_t> Timeline::frameOfLabel(std::string_view label) const
{
    const auto found = labels.find(lowerCase(label));
    if (found == labels.end())
        return std::nullopt;
    return found->second;
}

class Movie::Loader final
{
public:
    explicit Loader(Movie& movie)
        : m_movie(movie)
    {
    }

    void load()
    {
        readTimeline(m_movie.m_file.tags(), m_movie.m_timeline, true);
        for (const auto& [id, character] : m_movie.m_characters) {
            if (const auto* font = std::get_if<Font>(&character))
                m_movie.m_fonts.emplace(id, font);
        }
    }

private:
    void readTimeline(std::span<const std::uint8_t> tags, Timeline& timeline, bool main)
    {
        TagStream stream(tags);
        Tag tag;
        std::vector<FrameCommand> frame;
        while (stream.next(tag)) {
            ByteReader reader(tag.body);
            switch (static_cast<TagCode>(tag.code)) {
            case TagCode::ShowFrame:
                timeline.frames.push_back(std::move(frame));
                frame.clear();
                break;
            case TagCode::PlaceObject:
                add(frame, readPlaceObject(reader));
                break;
            case TagCode::PlaceObject2:
            case TagCode::PlaceObject3:
                add(frame, readPlaceObject2(reader, tag.code == 70));
                break;
            case TagCode::RemoveObject:
                (void)reader.u16();
                add(frame, RemoveCommand{reader.u16()});
                break;
            case TagCode::RemoveObject2:
                add(frame, RemoveCommand{reader.u16()});
                break;
            case TagCode::DoAction:
                add(frame, ActionCommand{tag.body});
                break;
            case TagCode::FrameLabel:
                timeline.labels.emplace(lowerCase(reader.string()), timeline.frames.size());
                break;
            default:
                // Definitions belong to the main timeline; inside a sprite they are ignored.
                if (main)
                    define(tag);
            }
        }
        if (!frame.empty() || timeline.frames.empty())
            timeline.frames.push_back(std::move(frame));
    }

    void add(std::vector<FrameCommand>& frame, FrameCommand command)
    {
        if (++m_commands > maximumCommands)
            throw MalformedMovie("the movie has more frame commands than the engine takes");
        frame.push_back(std::move(command));
    }

    void define(const Tag& tag)
    {
        ByteReader reader(tag.body);
        const auto code = static_cast<TagCode>(tag.code);
        switch (code) {
        case TagCode::SetBackgroundColor:
            m_movie.m_background = readRgb(reader);
            return;
        case TagCode::JpegTables:
            m_jpegTables = tag.body;
            return;
        case TagCode::DefineFontInfo:
        case TagCode::DefineFontInfo2:
            if (auto* font = characterOf<Font>(reader.u16()))
                readFontInfo(static_cast<TextTag>(tag.code), reader, *font);
            return;
        case TagCode::DefineButtonCxform:
            if (auto* button = characterOf<Button>(reader.u16())) {
                const ColourTransform colour = readColourTransform(reader, false);
                for (ButtonRecord& record : button->records)
                    record.colour = colour;
            }
            return;
        default:
            break;
        }
        if (tag.body.size() < 2)
            return;
        const std::uint16_t id = reader.u16();
        if (m_movie.m_characters.contains(id))
            return; // a later definition of an id changes nothing
        if (auto character = readCharacter(code, tag, reader))
            m_movie.m_characters.emplace(id, std::move(*character));
    }

    std::optional<Character> readCharacter(TagCode code, const Tag& tag, ByteReader& reader)
    {
        switch (code) {
        case TagCode::DefineShape:
        case TagCode::DefineShape2:
        case TagCode::DefineShape3:
        case TagCode::DefineShape4:
            return readShape(code, reader);
        case TagCode::DefineMorphShape:
        case TagCode::DefineMorphShape2:
            return readMorphShape(reader, code == TagCode::DefineMorphShape2 ? 2 : 1);
        case TagCode::DefineSprite: {
            (void)reader.u16(); // frame count: the ShowFrame tags say it
            Sprite sprite;
            readTimeline(reader.rest(), sprite.timeline, false);
            return sprite;
        }
        case TagCode::DefineButton:
            return readButton(reader, false);
        case TagCode::DefineButton2:
            return readButton(reader, true);
        case TagCode::DefineBits:
        case TagCode::DefineBitsJpeg2:
        case TagCode::DefineBitsJpeg3:
        case TagCode::DefineBitsJpeg4:
        case TagCode::DefineBitsLossless:
        case TagCode::DefineBitsLossless2:
            return readBitmap(static_cast<BitmapTag>(tag.code), reader, m_jpegTables);
        case TagCode::DefineFont:
        case TagCode::DefineFont2:
        case TagCode::DefineFont3:
            return readFont(static_cast<TextTag>(tag.code), reader);
        case TagCode::DefineText:
        case TagCode::DefineText2:
            return readStaticText(static_cast<TextTag>(tag.code), reader);
        case TagCode::DefineEditText:
            return readEditText(reader);
        default:
            return std::nullopt;
        }
    }

    static Shape readShape(TagCode code, ByteReader& reader)
    {
        const ShapeFormat format{code == TagCode::DefineShape    ? 1
                                 : code == TagCode::DefineShape2 ? 2
                                 : code == TagCode::DefineShape3 ? 3
                                                                 : 4};
        const Rect bounds = readRect(reader);
        constexpr std::uint8_t nonZeroWinding = 0x04;
        bool nonZero = false;
        if (format.version == 4) {
            (void)readRect(reader); // edge bounds
            nonZero = reader.u8() & nonZeroWinding;
        }
        ShapeOutline outline;
        outline.styles = readStyles(reader, format);
        outline.records = readShapeRecords(reader, format);
        Shape shape = buildShape(outline, bounds);
        shape.fillRule = nonZero ? FillRule::NonZero : FillRule::EvenOdd;
        return shape;
    }

    static Button readButton(ByteReader& reader, bool second)
    {
        Button button;
        std::size_t actionsAt = 0;
        if (second) {
            button.trackAsMenu = reader.u8() & 1;
            const std::size_t offsetAt = reader.position();
            const std::uint16_t offset = reader.u16();
            actionsAt = offset == 0 ? 0 : offsetAt + offset;
        }
        while (true) {
            const std::uint8_t flags = reader.u8();
            if (flags == 0)
                break;
            ButtonRecord record;
            record.up = flags & 0x01;
            record.over = flags & 0x02;
            record.down = flags & 0x04;
            record.hit = flags & 0x08;
            record.character = reader.u16();
            record.depth = reader.u16();
            record.matrix = readMatrix(reader);
            if (second)
                record.colour = readColourTransform(reader, true);
            button.records.push_back(record);
        }
        if (!second) {
            button.actions.push_back(
                {static_cast<std::uint16_t>(ButtonCondition::OverDownToOverUp), reader.rest()});
            return button;
        }
        if (actionsAt == 0)
            return button;
        if (actionsAt < reader.position())
            throw MalformedMovie("a button's actions start inside its records");
        reader.skip(actionsAt - reader.position());
        while (!reader.atEnd()) {
            const std::uint16_t size = reader.u16();
            const std::uint16_t conditions = reader.u16();
            if (size != 0 && size < 4)
                throw MalformedMovie("a button action is shorter than its header");
            const auto code = size == 0 ? reader.rest() : reader.bytes(size - 4u);
            button.actions.push_back({conditions, code});
            if (size == 0)
                break;
        }
        return button;
    }

    template <typename T>
    T* characterOf(std::uint16_t id)
    {
        const auto found = m_movie.m_characters.find(id);
        return found == m_movie.m_characters.end() ? nullptr : std::get_if<T>(&found->second);
    }

    Movie& m_movie;
    std::span<const std::uint8_t> m_jpegTables;
    std::size_t m_commands = 0;
};

std::shared_ptr<const Movie> Movie::load(std::span<const std::uint8_t> file)
{
    std::shared_ptr<Movie> movie(new Movie());
    movie->m_file = readMovieFile(file);
    Loader(*movie).load();
    return movie;
}

const Character* Movie::character(std::uint16_t id) const
{
    const auto found = m_characters.find(id);
    return found == m_characters.end() ? nullptr : &found->second;
}

} // namespace swf
