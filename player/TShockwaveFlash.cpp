#include "TShockwaveFlash.h"

#include "EngineChoice.h"
#include "MovieLookahead.h"
#include "NativeEngine.h"
#include "RuffleEngine.h"

#include <QApplication>
#include <QEvent>

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
    const auto file = player::contentFile(path);
    if (!file) {
        dropMovie();
        return;
    }
    const auto kind = player::chooseEngine(*file);
    if (!kind || !play(*kind, *file)) {
        dropMovie();
        return;
    }
    m_movie = path;
}

void TShockwaveFlash::expectMovies(QWidget* window, const QStringList& paths)
{
    auto* lookahead =
        window->findChild<player::MovieLookahead*>(QString(), Qt::FindDirectChildrenOnly);
    if (!lookahead)
        lookahead = new player::MovieLookahead(window);
    lookahead->lookThrough(paths);
}

bool TShockwaveFlash::play(player::EngineKind kind, const QString& file)
{
    if (!m_engine || m_engineKind != kind) {
        m_engine.reset();
        m_engine = makeEngine(kind);
        m_engineKind = kind;
    }
    if (m_engine->play(file))
        return true;
    // A movie the scan let through but the native engine could not load may still play in
    // Ruffle, which decides for itself.
    if (kind == player::EngineKind::Native)
        return play(player::EngineKind::Ruffle, file);
    return false;
}

std::unique_ptr<player::PlayerEngine> TShockwaveFlash::makeEngine(player::EngineKind kind)
{
    player::EngineEvents events{
        .command = [this](const QString& command,
                          const QString& args) { emit FSCommand(command, args); },
        .cannotPlay = [this] { dropMovie(); },
        .firstFrame = [this] { emit firstFrameShown(); },
        .entered = [this] { emit OnEnter(); },
    };
    if (kind == player::EngineKind::Native)
        return std::make_unique<player::NativeEngine>(this, std::move(events));
    return std::make_unique<player::RuffleEngine>(this, std::move(events));
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
