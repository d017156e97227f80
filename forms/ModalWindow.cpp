#include "ModalWindow.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace
{

// Ends the modal loop when the window is hidden by the program (closed), not when the window
// system hides it (minimised with its owner).
class CloseWatcher final : public QObject
{
public:
    explicit CloseWatcher(QEventLoop& loop)
        : m_loop(loop)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && !event->spontaneous())
            m_loop.quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& m_loop;
};

} // namespace

void showModal(QWidget& window)
{
    // The owner becomes the active window again when this one closes, whatever the window
    // system would pick: the menus' tile selection depends on getting the focus back.
    const QPointer<QWidget> owner =
        window.parentWidget() ? window.parentWidget()->window() : nullptr;
    QEventLoop loop;
    CloseWatcher watcher(loop);
    const QPointer<QWidget> guard(&window);
    window.installEventFilter(&watcher);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    if (guard && !guard->isHidden())
        loop.exec(QEventLoop::DialogExec);
    if (guard)
        guard->removeEventFilter(&watcher);
    if (owner && owner->isVisible())
        owner->activateWindow();
}
