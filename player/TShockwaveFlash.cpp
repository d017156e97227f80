#include "TShockwaveFlash.h"

#include "ContentPath.h"
#include "RuffleEngine.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QResizeEvent>

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
    // Watched application-wide because, while a movie plays, the focus sits in the engine's
    // view inside the player, which never sees a focus event of its own.
    connect(qApp, &QApplication::focusChanged, this, &TShockwaveFlash::focusChanged);
}

TShockwaveFlash::~TShockwaveFlash() = default;

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
                  });
    }
    if (!m_engine->play(*file)) {
        dropMovie();
        return;
    }
    m_movie = path;
}

void TShockwaveFlash::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_engine)
        m_engine->setGeometry(rect());
}

void TShockwaveFlash::focusChanged(const QWidget* old, const QWidget* now)
{
    if (holds(now) && !holds(old))
        emit OnEnter();
}

void TShockwaveFlash::dropMovie()
{
    m_movie.clear();
    m_engine.reset();
}

bool TShockwaveFlash::holds(const QWidget* widget) const
{
    return widget && (widget == this || isAncestorOf(widget));
}
