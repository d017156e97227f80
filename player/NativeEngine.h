#pragma once

#include "PlayerEngine.h"

#include <memory>

class QWidget;

namespace player
{

class NativeView;

// One player's movie played by the program's own SWF engine, in a widget over the player.
class NativeEngine final : public PlayerEngine
{
public:
    NativeEngine(QWidget* player, EngineEvents events);
    ~NativeEngine() override;

    [[nodiscard]] bool play(const QString& movieFile) override;
    [[nodiscard]] bool holdsFocus(const QWidget* widget) const override;
    void takeFocus() override {}

private:
    // A child of the player, owned here all the same: the player releases its engine before
    // Qt deletes its children.
    std::unique_ptr<NativeView> m_view;
};

} // namespace player
