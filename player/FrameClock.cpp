#include "FrameClock.h"

#include <QCoreApplication>
#include <QHash>
#include <QPointer>

namespace player
{

FrameClock& FrameClock::every(int interval)
{
    static QHash<int, QPointer<FrameClock>> clocks;
    QPointer<FrameClock>& clock = clocks[interval];
    if (!clock)
        clock = new FrameClock(interval);
    return *clock;
}

FrameClock::FrameClock(int interval)
    : QObject(QCoreApplication::instance())
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(interval);
    connect(&m_timer, &QTimer::timeout, this, &FrameClock::tick);
}

void FrameClock::join()
{
    if (m_members++ == 0)
        m_timer.start();
}

void FrameClock::leave()
{
    if (--m_members == 0)
        m_timer.stop();
}

} // namespace player
