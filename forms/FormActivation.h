#pragma once

#include <QObject>

class QWidget;
class QWindow;

// Tells a window when the focus comes into it from another window of the program: when it is
// first shown, and when a window of the program above it closes. A message box closing over it
// does not count, nor does the user switching back from another application, because in both
// cases the window was the program's active window all along.
class FormActivation final : public QObject
{
    Q_OBJECT

public:
    explicit FormActivation(QWidget* form);

signals:
    void activated();

private:
    void focusWindowChanged(QWindow* focusWindow);

    QWidget* m_form;
    bool m_active = false;
};
