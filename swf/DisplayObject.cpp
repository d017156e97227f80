#include "DisplayObject.h"

#include "MovieClip.h"
#include "Renderer.h"

#include <algorithm>

namespace swf
{
namespace
{

// Text of an HTML text field without its markup: line breaks for <br> and paragraph ends, the
// five named entities decoded. Fonts, colours and links in the markup are not honoured.
std::string plainText(std::string_view html)
{
    std::string text;
    for (std::size_t i = 0; i < html.size();) {
        if (html[i] == '<') {
            const std::size_t close = html.find('>', i);
            if (close == std::string_view::npos)
                break;
            std::string tag(html.substr(i + 1, close - i - 1));
            std::transform(tag.begin(), tag.end(), tag.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (tag.starts_with("br") || tag == "/p")
                text += '\r';
            i = close + 1;
        } else if (html[i] == '&') {
            static constexpr std::pair<std::string_view, char> entities[] = {
                {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
            const auto entity =
                std::find_if(std::begin(entities), std::end(entities),
                             [&](const auto& e) { return html.substr(i).starts_with(e.first); });
            text += entity == std::end(entities) ? '&' : entity->second;
            i += entity == std::end(entities) ? 1 : entity->first.size();
        } else {
            text += html[i++];
        }
    }
    while (!text.empty() && text.back() == '\r')
        text.pop_back();
    return text;
}

} // namespace

DisplayObject::DisplayObject(PlayerContext& context, std::uint16_t character, MovieClip* parent,
                             int nesting)
    : m_context(context)
    , m_character(character)
    , m_parent(parent)
    , m_bornTick(context.tick)
    , m_nesting(nesting)
{
    ++m_context.liveObjects;
}

std::shared_ptr<ButtonObject> DisplayObject::buttonAt(Point)
{
    return nullptr;
}

std::shared_ptr<DisplayObject> createDisplayObject(PlayerContext& context, std::uint16_t id,
                                                   MovieClip* parent, int nesting)
{
    const Character* const character = context.movie.character(id);
    if (!character || context.liveObjects >= PlayerContext::maximumObjects
        || nesting > PlayerContext::maximumNesting)
        return nullptr;
    return std::visit(
        [&](const auto& definition) -> std::shared_ptr<DisplayObject> {
            using T = std::decay_t<decltype(definition)>;
            if constexpr (std::is_same_v<T, Shape>)
                return std::make_shared<ShapeObject>(context, id, parent, nesting, definition);
            else if constexpr (std::is_same_v<T, MorphShape>)
                return std::make_shared<MorphObject>(context, id, parent, nesting, definition);
            else if constexpr (std::is_same_v<T, StaticText>)
                return std::make_shared<TextObject>(context, id, parent, nesting, definition);
            else if constexpr (std::is_same_v<T, EditText>)
                return std::make_shared<EditTextObject>(context, id, parent, nesting, definition);
            else if constexpr (std::is_same_v<T, Button>)
                return std::make_shared<ButtonObject>(context, id, parent, nesting, definition);
            else if constexpr (std::is_same_v<T, Sprite>) {
                auto clip =
                    std::make_shared<MovieClip>(context, id, parent, nesting, definition.timeline);
                clip->start();
                return clip;
            } else
                return nullptr;
        },
        *character);
}

void ShapeObject::render(Renderer& renderer, const Matrix& matrix,
                         const ColourTransform& colour) const
{
    renderer.drawShape(m_shape, matrix, colour);
}

MorphObject::MorphObject(PlayerContext& context, std::uint16_t character, MovieClip* parent,
                         int nesting, const MorphShape& morph)
    : DisplayObject(context, character, parent, nesting)
    , m_morph(morph)
    , m_shape(morph.at(0))
{
}

void MorphObject::render(Renderer& renderer, const Matrix& matrix,
                         const ColourTransform& colour) const
{
    renderer.drawShape(m_shape, matrix, colour);
}

void MorphObject::setRatio(std::uint16_t ratio)
{
    if (ratio == m_ratio)
        return;
    m_ratio = ratio;
    m_shape = m_morph.at(ratio / 65535.0);
    changed();
}

TextObject::TextObject(PlayerContext& context, std::uint16_t character, MovieClip* parent,
                       int nesting, const StaticText& text)
    : DisplayObject(context, character, parent, nesting)
    , m_text(text)
    , m_glyphs(layOutStaticText(text, context.movie.fonts()))
{
}

void TextObject::render(Renderer& renderer, const Matrix& matrix,
                        const ColourTransform& colour) const
{
    for (const PlacedGlyph& glyph : m_glyphs)
        renderer.drawGlyph(*glyph.glyph, matrix * glyph.matrix, colour.apply(glyph.colour));
}

EditTextObject::EditTextObject(PlayerContext& context, std::uint16_t character, MovieClip* parent,
                               int nesting, const EditText& field)
    : DisplayObject(context, character, parent, nesting)
    , m_field(field)
{
    if (!field.border)
        return;
    // The frame's one-pixel line runs half a pixel inside the bounds, so that it covers whole
    // pixels rather than straddling two.
    const Rect r{field.bounds.xMin + 10, field.bounds.xMax - 10, field.bounds.yMin + 10,
                 field.bounds.yMax - 10};
    FillStyle white;
    white.colour = {255, 255, 255, 255};
    LineStyle black;
    black.width = 20; // one pixel
    black.colour = {0, 0, 0, 255};
    ShapeOutline outline{{{white}, {black}}, {}};
    outline.records.emplace_back(StyleChange{Point{r.xMin, r.yMin}, std::nullopt, 1u, 1u, {}});
    for (const Point corner : {Point{r.xMax, r.yMin}, Point{r.xMax, r.yMax}, Point{r.xMin, r.yMax},
                               Point{r.xMin, r.yMin}})
        outline.records.emplace_back(Edge{corner, std::nullopt});
    m_border = buildShape(outline, field.bounds);
}

std::string EditTextObject::text() const
{
    std::string text = m_field.initialText;
    if (!m_field.variableName.empty() && parent()) {
        const Value value = parent()->variable(m_field.variableName);
        if (!value.isUndefined())
            text = value.toString(m_context.version);
    }
    return m_field.html ? plainText(text) : text;
}

void EditTextObject::render(Renderer& renderer, const Matrix& matrix,
                            const ColourTransform& colour) const
{
    if (m_border)
        renderer.drawShape(*m_border, matrix, colour);
    const auto& fonts = m_context.movie.fonts();
    const auto font = m_field.font ? fonts.find(*m_field.font) : fonts.end();
    if (!m_field.useOutlines || font == fonts.end()) {
        const std::string shown = text();
        renderer.drawDeviceText(m_field, m_field.password ? std::string(shown.size(), '*') : shown,
                                matrix, colour);
        return;
    }
    for (const PlacedGlyph& glyph : layOutEditText(m_field, *font->second, text()))
        renderer.drawGlyph(*glyph.glyph, matrix * glyph.matrix, colour.apply(glyph.colour));
}

ButtonObject::ButtonObject(PlayerContext& context, std::uint16_t character, MovieClip* parent,
                           int nesting, const Button& button)
    : DisplayObject(context, character, parent, nesting)
    , m_button(button)
{
    for (const ButtonRecord& record : button.records) {
        if (auto object = createDisplayObject(context, record.character, parent, nesting + 1))
            m_layers.push_back({&record, std::move(object)});
    }
    std::stable_sort(m_layers.begin(), m_layers.end(), [](const Layer& a, const Layer& b) {
        return a.record->depth < b.record->depth;
    });
}

bool ButtonObject::shows(const ButtonRecord& record) const
{
    switch (m_state) {
    case State::Up:
        return record.up;
    case State::Over:
        return record.over;
    case State::Down:
        return record.down;
    }
    return false;
}

void ButtonObject::render(Renderer& renderer, const Matrix& matrix,
                          const ColourTransform& colour) const
{
    for (const Layer& layer : m_layers) {
        if (shows(*layer.record))
            layer.object->render(renderer, matrix * layer.record->matrix,
                                 colour * layer.record->colour);
    }
}

bool ButtonObject::hits(Point point) const
{
    return std::any_of(m_layers.begin(), m_layers.end(), [point](const Layer& layer) {
        return layer.record->hit && layer.object->hits(layer.record->matrix.inverted().map(point));
    });
}

Rect ButtonObject::bounds() const
{
    std::optional<Rect> area;
    for (const Layer& layer : m_layers) {
        if (!layer.record->up)
            continue;
        const Rect placed = transformedBounds(layer.record->matrix, layer.object->bounds());
        area = area ? unite(*area, placed) : placed;
    }
    return area.value_or(Rect{});
}

void ButtonObject::advance()
{
    for (const Layer& layer : m_layers)
        layer.object->advance();
}

std::shared_ptr<ButtonObject> ButtonObject::buttonAt(Point point)
{
    if (!hits(point))
        return nullptr;
    return std::static_pointer_cast<ButtonObject>(shared_from_this());
}

void ButtonObject::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    changed();
}

void ButtonObject::queueActions(ButtonCondition condition)
{
    MovieClip* const clip = parent();
    if (!clip)
        return;
    for (const ButtonAction& action : m_button.actions) {
        if (action.conditions & static_cast<std::uint16_t>(condition))
            m_context.scripts.push_back({clip->self(), action.code});
    }
}

} // namespace swf
