#include "TShockwaveFlash.h"

#include "ContentPath.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool isPlayableMovie(const QString& path)
{
    const QString resolved = resolveContentPath(path);
    if (!QFileInfo(resolved).isFile())
        return false;
    QFile file(resolved);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray signature = file.read(3);
    return signature == "FWS" || signature == "CWS" || signature == "ZWS";
}

} // namespace

TShockwaveFlash::TShockwaveFlash(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

TShockwaveFlash::~TShockwaveFlash() = default;

void TShockwaveFlash::setMovie(const QString& path)
{
    m_movie = isPlayableMovie(path) ? path : QString();
}

void TShockwaveFlash::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    emit OnEnter();
}
