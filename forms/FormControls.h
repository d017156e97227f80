#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

// Helpers the window units share to build their documented controls.

// A font of the given family and character height in pixels; the family is mapped to an
// installed one by the substitutions the program installs at start.
[[nodiscard]] QFont pixelFont(const QString& family, int pixelSize, bool bold = false);

// Names a control after its documented name and puts it at its place in its parent.
template <typename Widget>
Widget* placed(Widget* widget, const QString& name, const QRect& geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

// The same for a control that sizes itself (a label): only its position is given.
template <typename Widget>
Widget* placed(Widget* widget, const QString& name, const QPoint& position)
{
    widget->setObjectName(name);
    widget->move(position);
    return widget;
}
