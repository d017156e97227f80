#include "RuffleEngine.h"

#include "EngineRuntime.h"
#include "EngineScheme.h"
#include "RuffleStage.h"

#include <QWidget>

namespace player
{

RuffleEngine::RuffleEngine(QWidget* player, EngineEvents events)
    : m_stage(RuffleStage::of(player->window()))
    , m_id(m_stage->add(player, std::move(events)))
{
}

RuffleEngine::~RuffleEngine()
{
    if (m_stage)
        m_stage->remove(m_id);
}

bool RuffleEngine::play(const QString& movieFile)
{
    const auto url = contentUrl(runtime::roots(), movieFile);
    if (!url || !m_stage)
        return false;
    m_stage->play(m_id, *url);
    return true;
}

bool RuffleEngine::holdsFocus(const QWidget* widget) const
{
    return m_stage && m_stage->holdsFocus(m_id, widget);
}

void RuffleEngine::takeFocus()
{
    if (m_stage)
        m_stage->takeFocus(m_id);
}

} // namespace player
