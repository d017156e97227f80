#include "Player.h"

#include "MovieClip.h"
#include "Renderer.h"

namespace swf
{
namespace
{

// Scripts may go to frames whose scripts go to frames...: this many rounds per frame at most.
constexpr int maximumScriptRounds = 64;

} // namespace

Player::Player(std::shared_ptr<const Movie> movie, PlayerHost& host)
    : m_movie(std::move(movie))
    , m_context{*m_movie, host, m_movie->version(), 0, true, {}}
    , m_machine(m_context)
    , m_root(std::make_shared<MovieClip>(m_context, 0, nullptr, 0, m_movie->timeline()))
{
    m_root->start();
    runScripts();
}

Player::~Player() = default;

void Player::advance()
{
    ++m_context.tick;
    m_root->advance();
    runScripts();
    // Things move under a mouse that stands still.
    if (m_mouse && m_pressed.expired())
        hover(m_root->buttonAt(*m_mouse));
}

void Player::render(Renderer& renderer) const
{
    renderer.beginFrame(*m_movie);
    m_root->render(renderer, Matrix{}, ColourTransform{});
    m_context.dirty = false;
}

void Player::mouseMove(Point point)
{
    m_mouse = point;
    const auto pressed = m_pressed.lock();
    if (!pressed) {
        hover(m_root->buttonAt(point));
        runScripts();
        return;
    }
    const bool over = m_root->buttonAt(point) == pressed;
    const bool wasOver = pressed->state() == ButtonObject::State::Down;
    if (over == wasOver)
        return;
    pressed->setState(over ? ButtonObject::State::Down : ButtonObject::State::Over);
    pressed->queueActions(over ? ButtonCondition::OutDownToOverDown
                               : ButtonCondition::OverDownToOutDown);
    runScripts();
}

void Player::mouseDown()
{
    const auto button = m_hovered.lock();
    if (!button)
        return;
    m_pressed = button;
    button->setState(ButtonObject::State::Down);
    button->queueActions(ButtonCondition::OverUpToOverDown);
    runScripts();
}

void Player::mouseUp()
{
    const auto pressed = m_pressed.lock();
    m_pressed.reset();
    if (!pressed)
        return;
    const bool over = pressed->state() == ButtonObject::State::Down;
    if (over) {
        pressed->setState(ButtonObject::State::Over);
        pressed->queueActions(ButtonCondition::OverDownToOverUp);
    } else {
        pressed->setState(ButtonObject::State::Up);
        pressed->queueActions(ButtonCondition::OutDownToIdle);
        m_hovered.reset();
    }
    runScripts();
    if (m_mouse)
        hover(m_root->buttonAt(*m_mouse));
}

void Player::mouseLeave()
{
    m_mouse.reset();
    if (m_pressed.expired()) {
        hover(nullptr);
        runScripts();
    }
}

void Player::hover(const std::shared_ptr<ButtonObject>& button)
{
    const auto previous = m_hovered.lock();
    if (previous == button)
        return;
    if (previous) {
        previous->setState(ButtonObject::State::Up);
        previous->queueActions(ButtonCondition::OverUpToIdle);
    }
    m_hovered = button;
    if (button) {
        button->setState(ButtonObject::State::Over);
        button->queueActions(ButtonCondition::IdleToOverUp);
    }
}

void Player::runScripts()
{
    for (int round = 0; round < maximumScriptRounds && !m_context.scripts.empty(); ++round) {
        const auto scripts = std::move(m_context.scripts);
        m_context.scripts.clear();
        for (const PendingScript& script : scripts) {
            if (const auto clip = script.target.lock())
                m_machine.run(*clip, script.code);
        }
    }
    m_context.scripts.clear();
}

} // namespace swf
