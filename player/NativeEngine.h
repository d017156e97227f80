#pragma once

#include "PlayerEngine.h"

#include <QPointer>

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
    // A child of the player: Qt deletes it with the player, and this engine retires it earlier
    // when the player drops its movie.
    QPointer<NativeView> m_view;
};

} // namespace player
