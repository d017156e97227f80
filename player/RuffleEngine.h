#pragma once

#include "PlayerEngine.h"

#include <QPointer>

class QWidget;

namespace player
{

class RuffleStage;

// One player's movie in its window's Ruffle page.
class RuffleEngine final : public PlayerEngine
{
public:
    RuffleEngine(QWidget* player, EngineEvents events);
    ~RuffleEngine() override;

    [[nodiscard]] bool play(const QString& movieFile) override;
    [[nodiscard]] bool holdsFocus(const QWidget* widget) const override;
    void takeFocus() override;

private:
    // Gone first when the window is destroyed before its players.
    QPointer<RuffleStage> m_stage;
    int m_id;
};

} // namespace player
