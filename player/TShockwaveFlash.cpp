#include "TShockwaveFlash.h"

#include "ContentPath.h"
#include "RuffleEngine.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace
{

// The resolved file when `path` names a file starting with a SWF signature, else nothing.
std::optional<QString> playableMovie(const QString& path)
{
    const QString resolved = resolveContentPath(path);
    if (!QFileInfo(resolved).isFile())
        return std::nullopt;
    QFile file(resolved);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray signature = file.read(3);
    if (signature != "FWS" && signature != "CWS" && signature != "ZWS")
        return std::nullopt;
    return resolved;
}

} // namespace

TShockwaveFlash::TShockwaveFlash(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    // Watched application-wide because, while a movie plays, the player's focus sits in the
    // engine's view, which is not a child of the player.
    connect(qApp, &QApplication::focusChanged, this, &TShockwaveFlash::focusChanged);
}

TShockwaveFlash::~TShockwaveFlash()
{
    // Releasing the engine may move the focus; this player must hear nothing of it any more.
    disconnect(qApp, nullptr, this, nullptr);
    m_engine.reset();
}

void TShockwaveFlash::setMovie(const QString& path)
{
    if (!path.isEmpty() && path == m_movie)
        return;
    const auto file = playableMovie(path);
    if (!file) {
        dropMovie();
        return;
    }
    if (!m_engine) {
        m_engine = std::make_unique<player::RuffleEngine>(
            this, player::EngineEvents{
                      .command = [this](const QString& command,
                                        const QString& args) { emit FSCommand(command, args); },
                      .cannotPlay = [this] { dropMovie(); },
                      .firstFrame = [this] { emit firstFrameShown(); },
                      .entered = [this] { emit OnEnter(); },
                  });
    }
    if (!m_engine->play(*file)) {
        dropMovie();
        return;
    }
    m_movie = path;
}

bool TShockwaveFlash::event(QEvent* event)
{
    // The engine draws in the window the player belonged to when its movie was set; a player
    // moved to another window starts its movie again there.
    if (event->type() == QEvent::ParentChange && m_engine) {
        const QString movie = m_movie;
        dropMovie();
        setMovie(movie);
    }
    return QWidget::event(event);
}

void TShockwaveFlash::focusChanged(const QWidget* old, const QWidget* now)
{
    if (!holds(now) || holds(old))
        return;
    emit OnEnter();
    // Reached by the keyboard: the movie gets the keys, unless the handler sent the focus on.
    if (now == this && m_engine) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_engine && QApplication::focusWidget() == this)
                    m_engine->takeFocus();
            },
            Qt::QueuedConnection);
    }
}

void TShockwaveFlash::dropMovie()
{
    m_movie.clear();
    m_engine.reset();
}

bool TShockwaveFlash::holds(const QWidget* widget) const
{
    return widget
           && (widget == this || isAncestorOf(widget)
               || (m_engine && m_engine->holdsFocus(widget)));
}
