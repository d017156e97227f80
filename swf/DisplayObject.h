#pragma once

#include "Geometry.h"
#include "Movie.h"
#include "PlayerContext.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace swf
{

class ButtonObject;
class MovieClip;
class Renderer;

// An instance of a character on a display list.
class DisplayObject : public std::enable_shared_from_this<DisplayObject>
{
public:
    // `nesting` counts the objects it lies inside (sprites, buttons).
    DisplayObject(PlayerContext& context, std::uint16_t character, MovieClip* parent, int nesting);
    DisplayObject(const DisplayObject&) = delete;
    DisplayObject& operator=(const DisplayObject&) = delete;
    virtual ~DisplayObject() { --m_context.liveObjects; }

    // Draws with `matrix` and `colour` mapping this object's space and colours to the stage's.
    virtual void render(Renderer& renderer, const Matrix& matrix,
                        const ColourTransform& colour) const = 0;
    // Whether the point, in this object's space, lies on something it draws.
    [[nodiscard]] virtual bool hits(Point point) const = 0;
    // The area it draws on, in its own space.
    [[nodiscard]] virtual Rect bounds() const = 0;
    // One frame passes (sprites step their timelines).
    virtual void advance() {}
    // The topmost button under the point (this object's space), if any.
    [[nodiscard]] virtual std::shared_ptr<ButtonObject> buttonAt(Point point);
    virtual void setRatio(std::uint16_t ratio) { m_ratio = ratio; }

    [[nodiscard]] std::uint16_t character() const { return m_character; }
    [[nodiscard]] MovieClip* parent() const { return m_parent; }
    [[nodiscard]] bool bornThisTick() const { return m_bornTick == m_context.tick; }
    [[nodiscard]] int nesting() const { return m_nesting; }

    Matrix matrix;
    ColourTransform colour;
    std::string name;
    std::optional<std::uint16_t> clipDepth;
    bool visible = true;
    // A script moved it: the timeline's own moves no longer apply to it.
    bool movedByScript = false;

protected:
    void changed() { m_context.dirty = true; }

    PlayerContext& m_context;
    std::uint16_t m_ratio = 0;

private:
    std::uint16_t m_character;
    MovieClip* m_parent;
    std::uint64_t m_bornTick;
    int m_nesting;
};

// Makes the instance of a character, or nothing for ids the movie does not define (or defines
// as something that is not drawn, such as a font), and nothing beyond the player's limits.
[[nodiscard]] std::shared_ptr<DisplayObject> createDisplayObject(PlayerContext& context,
                                                                 std::uint16_t character,
                                                                 MovieClip* parent, int nesting);

class ShapeObject final : public DisplayObject
{
public:
    ShapeObject(PlayerContext& context, std::uint16_t character, MovieClip* parent, int nesting,
                const Shape& shape)
        : DisplayObject(context, character, parent, nesting)
        , m_shape(shape)
    {
    }

    void render(Renderer& renderer, const Matrix& matrix,
                const ColourTransform& colour) const override;
    [[nodiscard]] bool hits(Point point) const override { return m_shape.hits(point); }
    [[nodiscard]] Rect bounds() const override { return m_shape.bounds; }

private:
    const Shape& m_shape;
};

class MorphObject final : public DisplayObject
{
public:
    MorphObject(PlayerContext& context, std::uint16_t character, MovieClip* parent, int nesting,
                const MorphShape& morph);

    void render(Renderer& renderer, const Matrix& matrix,
                const ColourTransform& colour) const override;
    [[nodiscard]] bool hits(Point point) const override { return m_shape.hits(point); }
    [[nodiscard]] Rect bounds() const override { return m_shape.bounds; }
    void setRatio(std::uint16_t ratio) override;

private:
    const MorphShape& m_morph;
    Shape m_shape; // the morph at the current ratio
};

class TextObject final : public DisplayObject
{
public:
    TextObject(PlayerContext& context, std::uint16_t character, MovieClip* parent, int nesting,
               const StaticText& text);

    void render(Renderer& renderer, const Matrix& matrix,
                const ColourTransform& colour) const override;
    [[nodiscard]] bool hits(Point point) const override { return m_text.bounds.contains(point); }
    [[nodiscard]] Rect bounds() const override { return m_text.bounds; }

private:
    const StaticText& m_text;
    std::vector<PlacedGlyph> m_glyphs;
};

// A text field; its text follows the variable it names, when it names one.
class EditTextObject final : public DisplayObject
{
public:
    EditTextObject(PlayerContext& context, std::uint16_t character, MovieClip* parent, int nesting,
                   const EditText& field);

    void render(Renderer& renderer, const Matrix& matrix,
                const ColourTransform& colour) const override;
    [[nodiscard]] bool hits(Point point) const override { return m_field.bounds.contains(point); }
    [[nodiscard]] Rect bounds() const override { return m_field.bounds; }

private:
    [[nodiscard]] std::string text() const;

    const EditText& m_field;
    std::optional<Shape> m_border; // white, framed in black, when the field has a border
};

class ButtonObject final : public DisplayObject
{
public:
    enum class State { Up, Over, Down };

    ButtonObject(PlayerContext& context, std::uint16_t character, MovieClip* parent, int nesting,
                 const Button& button);

    void render(Renderer& renderer, const Matrix& matrix,
                const ColourTransform& colour) const override;
    [[nodiscard]] bool hits(Point point) const override;
    [[nodiscard]] Rect bounds() const override;
    void advance() override;
    [[nodiscard]] std::shared_ptr<ButtonObject> buttonAt(Point point) override;

    [[nodiscard]] State state() const { return m_state; }
    void setState(State state);
    [[nodiscard]] bool trackAsMenu() const { return m_button.trackAsMenu; }
    // Queues the actions whose conditions include `condition`, to run on the parent clip.
    void queueActions(ButtonCondition condition);

private:
    struct Layer {
        const ButtonRecord* record = nullptr;
        std::shared_ptr<DisplayObject> object;
    };
    [[nodiscard]] bool shows(const ButtonRecord& record) const;

    const Button& m_button;
    std::vector<Layer> m_layers; // in depth order
    State m_state = State::Up;
};

} // namespace swf
