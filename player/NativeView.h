#pragma once

#include "PlayerContext.h"
#include "PlayerEngine.h"
#include "SwfPainter.h"

#include <QWidget>

#include <memory>

namespace swf
{
class Movie;
class Player;
} // namespace swf

namespace player
{

class FrameClock;

// Plays a native movie over its player: steps it at the movie's frame rate while shown, paints
// it when it changed, and turns mouse events into the movie's button events.
class NativeView final : public QWidget, private swf::PlayerHost
{
    Q_OBJECT

public:
    NativeView(QWidget* player, EngineEvents events);
    ~NativeView() override;

    void play(std::shared_ptr<const swf::Movie> movie);

    // Stops the movie and reports nothing more; the view goes when the event loop gets back to
    // where it was, never at once: the player may be dropping its movie from inside a mouse
    // event that Qt is still delivering to this very view.
    void retire();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void fsCommand(const std::string& command, const std::string& args) override;
    void trace(const std::string& text) override;
    void openUrl(const std::string& url, const std::string& target) override;

    void step();
    void startFrames();
    void stopFrames();
    void mouseAt(const QPointF& position);
    void afterInput();
    void followPlayer();

    EngineEvents m_events;
    std::unique_ptr<swf::Player> m_movie;
    PaintCache m_cache;
    FrameClock* m_clock = nullptr;   // set while a movie is held
    QMetaObject::Connection m_ticks; // connected while the movie steps
    bool m_firstFrameShown = false;
};

} // namespace player
