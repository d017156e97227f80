#include "MovieLookahead.h"

#include "EngineChoice.h"
#include "RuffleStage.h"

#include <QTimer>
#include <QWidget>

namespace player
{

MovieLookahead::MovieLookahead(QWidget* window)
    : QObject(window)
    , m_window(window)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &MovieLookahead::lookAtNext);
}

void MovieLookahead::lookThrough(const QStringList& paths)
{
    m_paths = paths;
    m_next = 0;
    m_timer->start();
}

bool MovieLookahead::done() const
{
    return !m_timer->isActive();
}

void MovieLookahead::lookAtNext()
{
    if (m_next >= m_paths.size()) {
        m_timer->stop();
        RuffleStage::releaseSpare(m_window);
        return;
    }
    const auto file = contentFile(m_paths.at(m_next++));
    if (file && chooseEngine(*file) == EngineKind::Ruffle) {
        m_timer->stop();
        RuffleStage::prepareSpare(m_window);
    }
}

} // namespace player
