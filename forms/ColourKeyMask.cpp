#include "ColourKeyMask.h"

#include <QChildEvent>
#include <QGuiApplication>
#include <QRegion>
#include <QWidget>

namespace
{

// X11 (shape extension) and Windows cut a window to its mask. Other window systems may use the
// mask only for input, which would leave a painted-over hole; those keep the window opaque. The
// offscreen platform draws nothing anyone sees and is shaped like X11, so tests see the shape.
bool windowSystemShapesWindows()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform == QLatin1String("windows")
           || platform == QLatin1String("offscreen");
}

} // namespace

ColourKeyMask::ColourKeyMask(QWidget* window)
    : QObject(window)
    , m_window(window)
{
    if (!windowSystemShapesWindows())
        return;
    m_window->installEventFilter(this);
    for (QObject* child : m_window->children())
        watch(child);
    reshape();
}

void ColourKeyMask::watch(QObject* child)
{
    if (child->isWidgetType())
        child->installEventFilter(this);
}

bool ColourKeyMask::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::ChildAdded) {
            watch(static_cast<QChildEvent*>(event)->child());
            reshape();
        } else if (event->type() == QEvent::ChildRemoved) {
            reshape();
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
        reshape();
        break;
    default:
        break;
    }
    return false;
}

void ColourKeyMask::reshape()
{
    QRegion shown;
    const auto controls = m_window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* control : controls) {
        if (control->isWindow() || !control->isVisibleTo(m_window))
            continue;
        // A control that draws only inside its own mask (the players' engine view lies over the
        // whole window) counts only there.
        const QRegion drawn =
            control->mask().isEmpty() ? QRegion(control->rect()) : control->mask();
        shown += drawn.translated(control->pos());
    }
    // An empty mask would mean "no mask" to Qt: the whole window. Keep one pixel instead.
    m_window->setMask(shown.isEmpty() ? QRegion(0, 0, 1, 1) : shown);
}
