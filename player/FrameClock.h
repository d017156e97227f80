#pragma once

#include <QObject>
#include <QTimer>

namespace player
{

// The frames of every native movie that runs at the same rate come from one timer, so that
// the players of a window step together and the window repaints once per frame, not once per
// player at moments of their own.
class FrameClock final : public QObject
{
    Q_OBJECT

public:
    // The clock ticking every `interval` milliseconds, made on first use; it lives as long as
    // the application.
    [[nodiscard]] static FrameClock& every(int interval);

    // The timer runs while any movie has joined.
    void join();
    void leave();

signals:
    void tick();

private:
    explicit FrameClock(int interval);

    QTimer m_timer;
    int m_members = 0;
};

} // namespace player
