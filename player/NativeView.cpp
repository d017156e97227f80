#include "NativeView.h"

#include "FrameClock.h"
#include "Player.h"
#include "SwfPainter.h"

#include <QEvent>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace player
{
namespace
{

Q_LOGGING_CATEGORY(movieTrace, "quorvane.player.trace", QtWarningMsg)

// Frame rates outside this range are damaged headers rather than intentions.
constexpr double slowestFrameRate = 1;
constexpr double fastestFrameRate = 120;

} // namespace

NativeView::NativeView(QWidget* player, EngineEvents events)
    : QWidget(player)
    , m_events(std::move(events))
{
    // Clicks pass the focus on to the player underneath, as they would on the player itself.
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    player->installEventFilter(this);
    followPlayer();
    show();
}

NativeView::~NativeView()
{
    stopFrames();
}

void NativeView::play(std::shared_ptr<const swf::Movie> movie)
{
    const double rate = std::clamp(movie->frameRate(), slowestFrameRate, fastestFrameRate);
    m_cache = {};
    swf::PlayerHost& host = *this;
    m_movie = std::make_unique<swf::Player>(std::move(movie), host);
    m_firstFrameShown = false;
    stopFrames();
    m_clock = &FrameClock::every(static_cast<int>(1000 / rate));
    if (parentWidget()->isVisible())
        startFrames();
    update();
    afterInput();
}

void NativeView::retire()
{
    stopFrames();
    m_movie.reset();
    parentWidget()->removeEventFilter(this);
    hide();
    deleteLater();
}

bool NativeView::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
        followPlayer();
        break;
    // A hidden player's movie waits, costing nothing, until it is shown again.
    case QEvent::Show:
        startFrames();
        break;
    case QEvent::Hide:
        stopFrames();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void NativeView::followPlayer()
{
    setGeometry(parentWidget()->rect());
}

void NativeView::startFrames()
{
    if (!m_clock || m_ticks)
        return;
    m_ticks = connect(m_clock, &FrameClock::tick, this, &NativeView::step);
    m_clock->join();
}

void NativeView::stopFrames()
{
    if (!m_ticks)
        return;
    disconnect(m_ticks);
    m_ticks = {};
    m_clock->leave();
}

void NativeView::step()
{
    if (!m_movie)
        return;
    m_movie->advance();
    afterInput();
}

void NativeView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_movie) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    SwfPainter renderer(painter, rect(), m_cache);
    m_movie->render(renderer);
    if (!m_firstFrameShown) {
        m_firstFrameShown = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_movie)
                    m_events.firstFrame();
            },
            Qt::QueuedConnection);
    }
}

void NativeView::mouseAt(const QPointF& position)
{
    const QTransform toStage =
        SwfPainter::stageTransform(m_movie->movie().stage(), rect()).inverted();
    const QPointF stage = toStage.map(position);
    m_movie->mouseMove({stage.x(), stage.y()});
}

void NativeView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_movie)
        return;
    mouseAt(event->position());
    afterInput();
}

void NativeView::mousePressEvent(QMouseEvent* event)
{
    if (!m_movie || event->button() != Qt::LeftButton)
        return;
    mouseAt(event->position());
    m_movie->mouseDown();
    afterInput();
}

void NativeView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_movie || event->button() != Qt::LeftButton)
        return;
    mouseAt(event->position());
    m_movie->mouseUp();
    afterInput();
}

void NativeView::leaveEvent(QEvent*)
{
    if (!m_movie)
        return;
    m_movie->mouseLeave();
    afterInput();
}

void NativeView::afterInput()
{
    if (!m_movie)
        return;
    setCursor(m_movie->overButton() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (m_movie->needsRedraw())
        update();
}

void NativeView::fsCommand(const std::string& command, const std::string& args)
{
    // Raised after the movie's own call has returned: a handler may close the whole window.
    QMetaObject::invokeMethod(
        this,
        [this, command = QString::fromStdString(command), args = QString::fromStdString(args)] {
            if (m_movie)
                m_events.command(command, args);
        },
        Qt::QueuedConnection);
}

void NativeView::trace(const std::string& text)
{
    qCInfo(movieTrace).noquote() << QString::fromStdString(text);
}

void NativeView::openUrl(const std::string& url, const std::string& target)
{
    qCInfo(movieTrace).noquote() << "getURL ignored:" << QString::fromStdString(url)
                                 << QString::fromStdString(target);
}

} // namespace player
