#include "FormActivation.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <QWindow>

namespace
{

// Message boxes are the platform's, not windows of the program: the focus passing through one
// leaves the program's active window as it was.
bool isMessageBox(const QWindow* window)
{
    const auto widgets = QApplication::topLevelWidgets();
    for (const QWidget* widget : widgets) {
        if (widget->windowHandle() == window)
            return qobject_cast<const QMessageBox*>(widget) != nullptr;
    }
    return false;
}

} // namespace

FormActivation::FormActivation(QWidget* form)
    : QObject(form)
    , m_form(form)
{
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &FormActivation::focusWindowChanged);
}

void FormActivation::focusWindowChanged(QWindow* focusWindow)
{
    if (!focusWindow || isMessageBox(focusWindow))
        return;
    const bool wasActive = m_active;
    m_active = focusWindow == m_form->windowHandle();
    if (m_active && !wasActive)
        emit activated();
}
