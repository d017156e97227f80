#include "MovieClip.h"

#include "Renderer.h"

#include <algorithm>
#include <cctype>

namespace swf
{
namespace
{

bool sameName(std::string_view a, std::string_view b, bool caseMatters)
{
    if (caseMatters)
        return a == b;
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

// Where a place command changes an object, it changes these; the rest stays.
void applyPlacement(DisplayObject& object, const PlaceCommand& command)
{
    if (command.matrix && !object.movedByScript)
        object.matrix = *command.matrix;
    if (command.colour)
        object.colour = *command.colour;
    if (command.name)
        object.name = *command.name;
    if (command.clipDepth)
        object.clipDepth = *command.clipDepth;
    if (command.ratio)
        object.setRatio(*command.ratio);
}

} // namespace

MovieClip::MovieClip(PlayerContext& context, std::uint16_t character, MovieClip* parent,
                     int nesting, const Timeline& timeline)
    : DisplayObject(context, character, parent, nesting)
    , m_timeline(timeline)
{
}

void MovieClip::start()
{
    enterFrame(0, true);
}

std::shared_ptr<MovieClip> MovieClip::self()
{
    return std::static_pointer_cast<MovieClip>(shared_from_this());
}

MovieClip& MovieClip::root()
{
    MovieClip* clip = this;
    while (clip->parent())
        clip = clip->parent();
    return *clip;
}

void MovieClip::render(Renderer& renderer, const Matrix& matrix,
                       const ColourTransform& colour) const
{
    std::vector<std::uint16_t> masks; // the clip depths of the masks in force
    for (const auto& [depth, object] : m_displayList) {
        while (!masks.empty() && depth > masks.back()) {
            renderer.popMask();
            masks.pop_back();
        }
        if (object->clipDepth) {
            renderer.beginMask();
            object->render(renderer, matrix * object->matrix, colour * object->colour);
            renderer.applyMask();
            masks.push_back(*object->clipDepth);
        } else if (object->visible) {
            object->render(renderer, matrix * object->matrix, colour * object->colour);
        }
    }
    for (std::size_t i = 0; i < masks.size(); ++i)
        renderer.popMask();
}

bool MovieClip::hits(Point point) const
{
    return std::any_of(m_displayList.begin(), m_displayList.end(), [point](const auto& entry) {
        const auto& object = entry.second;
        return object->visible && !object->clipDepth
               && object->hits(object->matrix.inverted().map(point));
    });
}

Rect MovieClip::bounds() const
{
    std::optional<Rect> area;
    for (const auto& [depth, object] : m_displayList) {
        const Rect placed = transformedBounds(object->matrix, object->bounds());
        area = area ? unite(*area, placed) : placed;
    }
    return area.value_or(Rect{});
}

std::shared_ptr<ButtonObject> MovieClip::buttonAt(Point point)
{
    for (auto entry = m_displayList.rbegin(); entry != m_displayList.rend(); ++entry) {
        const auto& object = entry->second;
        if (!object->visible || object->clipDepth)
            continue;
        if (auto button = object->buttonAt(object->matrix.inverted().map(point)))
            return button;
    }
    return nullptr;
}

void MovieClip::advance()
{
    // Children step before their parent, so a parent's frame script runs after those of the
    // clips it already held, as in the reference player; clips the parent's new frame places
    // start next tick. Copies, since a child's destruction must wait for its advance.
    std::vector<std::shared_ptr<DisplayObject>> children;
    children.reserve(m_displayList.size());
    for (const auto& [depth, object] : m_displayList)
        children.push_back(object);
    for (const auto& child : children) {
        if (!child->bornThisTick())
            child->advance();
    }
    if (m_playing && frameCount() > 1 && !bornThisTick()) {
        if (m_frame + 1 < frameCount()) {
            enterFrame(m_frame + 1, true);
        } else {
            rewindTo(0);
            enterFrameScripts(0);
        }
    }
}

void MovieClip::gotoFrame(std::size_t frame, bool play)
{
    m_playing = play;
    frame = std::min(frame, frameCount() - 1);
    if (frame == m_frame)
        return;
    if (frame > m_frame) {
        while (m_frame < frame)
            enterFrame(m_frame + 1, m_frame + 1 == frame);
    } else {
        rewindTo(frame);
        enterFrameScripts(frame);
    }
}

bool MovieClip::gotoLabel(std::string_view label, bool play)
{
    const auto frame = m_timeline.frameOfLabel(label);
    if (!frame)
        return false;
    gotoFrame(*frame, play);
    return true;
}

void MovieClip::enterFrame(std::size_t frame, bool runScripts)
{
    m_frame = frame;
    for (const FrameCommand& command : m_timeline.frames[frame]) {
        if (const auto* place = std::get_if<PlaceCommand>(&command))
            this->place(*place);
        else if (const auto* remove = std::get_if<RemoveCommand>(&command))
            m_displayList.erase(remove->depth);
    }
    if (runScripts)
        enterFrameScripts(frame);
    changed();
}

void MovieClip::enterFrameScripts(std::size_t frame)
{
    for (const FrameCommand& command : m_timeline.frames[frame]) {
        if (const auto* action = std::get_if<ActionCommand>(&command))
            m_context.scripts.push_back({self(), action->code});
    }
}

void MovieClip::place(const PlaceCommand& command)
{
    const auto existing = m_displayList.find(command.depth);
    const bool replace = command.character
                         && (existing == m_displayList.end() || !command.move
                             || existing->second->character() != *command.character);
    if (!replace) {
        if (existing != m_displayList.end())
            applyPlacement(*existing->second, command);
        return;
    }
    auto object = createDisplayObject(m_context, *command.character, this, nesting() + 1);
    if (!object)
        return;
    // A moved object replaced by another character keeps where it was and how it looked.
    if (command.move && existing != m_displayList.end()) {
        object->matrix = existing->second->matrix;
        object->colour = existing->second->colour;
        object->name = existing->second->name;
        object->clipDepth = existing->second->clipDepth;
    }
    applyPlacement(*object, command);
    m_displayList[command.depth] = std::move(object);
}

void MovieClip::rewindTo(std::size_t frame)
{
    // The display list as the timeline builds it from its start, merged per depth.
    std::map<std::uint16_t, PlaceCommand> wanted;
    for (std::size_t f = 0; f <= frame; ++f) {
        for (const FrameCommand& command : m_timeline.frames[f]) {
            if (const auto* remove = std::get_if<RemoveCommand>(&command)) {
                wanted.erase(remove->depth);
                continue;
            }
            const auto* place = std::get_if<PlaceCommand>(&command);
            if (!place)
                continue;
            auto found = wanted.find(place->depth);
            if (!place->move || found == wanted.end()) {
                if (place->character)
                    wanted[place->depth] = *place;
                continue;
            }
            PlaceCommand& merged = found->second;
            if (place->character)
                merged.character = place->character;
            if (place->matrix)
                merged.matrix = place->matrix;
            if (place->colour)
                merged.colour = place->colour;
            if (place->ratio)
                merged.ratio = place->ratio;
            if (place->name)
                merged.name = place->name;
            if (place->clipDepth)
                merged.clipDepth = place->clipDepth;
        }
    }
    // Objects that stay keep their state (a sprite goes on playing where it was).
    std::map<std::uint16_t, std::shared_ptr<DisplayObject>> kept;
    for (auto& [depth, command] : wanted) {
        const auto existing = m_displayList.find(depth);
        if (existing != m_displayList.end()
            && existing->second->character() == *command.character) {
            applyPlacement(*existing->second, command);
            kept.emplace(depth, existing->second);
            continue;
        }
        command.move = false;
        m_displayList.erase(depth);
        place(command);
        if (const auto placed = m_displayList.find(depth); placed != m_displayList.end())
            kept.emplace(depth, placed->second);
    }
    m_displayList = std::move(kept);
    m_frame = frame;
    changed();
}

std::shared_ptr<DisplayObject> MovieClip::child(std::string_view name) const
{
    const bool caseMatters = !rulesFor(m_context.version).namesIgnoreCase;
    for (const auto& [depth, object] : m_displayList) {
        if (sameName(object->name, name, caseMatters))
            return object;
    }
    return nullptr;
}

std::string MovieClip::targetPath() const
{
    return parent() ? parent()->targetPath() + "." + name : "_level0";
}

std::string MovieClip::slashPath() const
{
    if (!parent())
        return "/";
    const std::string above = parent()->slashPath();
    return above == "/" ? "/" + name : above + "/" + name;
}

std::string MovieClip::key(std::string_view name) const
{
    std::string key(name);
    if (rulesFor(m_context.version).namesIgnoreCase) {
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    }
    return key;
}

Value MovieClip::variable(std::string_view name) const
{
    const auto found = m_variables.find(key(name));
    return found == m_variables.end() ? Value() : found->second;
}

void MovieClip::setVariable(std::string_view name, Value value)
{
    m_variables[key(name)] = std::move(value);
    changed(); // text fields may show it
}

} // namespace swf
