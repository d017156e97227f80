#pragma once

#include <QObject>

class QWidget;

// Makes the background of a window see-through, as a colour key over its background colour
// would: only the window's visible child controls (and the window frame) stay, and clicks on
// the rest go to whatever lies behind. The shape follows the controls as they are shown,
// hidden, moved or resized. Where the window system cannot shape windows, the window stays
// opaque.
class ColourKeyMask final : public QObject
{
    Q_OBJECT

public:
    explicit ColourKeyMask(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QObject* child);
    void reshape();

    QWidget* m_window;
};
