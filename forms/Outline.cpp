#include "Outline.h"

#include <QPainter>

namespace
{

constexpr int penWidth = 4;

} // namespace

Outline::Outline(QWidget* parent)
    : QWidget(parent)
{
}

void Outline::setPenColor(const QColor& colour)
{
    if (colour == m_penColor)
        return;
    m_penColor = colour;
    update();
}

void Outline::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QPen pen(m_penColor, penWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // The pen is centred on the path, so inset by half of it to keep the whole stroke inside.
    const qreal half = penWidth / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
}
