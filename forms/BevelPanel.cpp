#include "BevelPanel.h"

#include <QPainter>

namespace
{

constexpr int bevelWidth = 1;

} // namespace

BevelPanel::BevelPanel(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    setContentsMargins(bevelWidth, bevelWidth, bevelWidth, bevelWidth);
}

void BevelPanel::setBorderWidth(int width)
{
    m_borderWidth = width;
    const int inset = bevelWidth + width;
    setContentsMargins(inset, inset, inset, inset);
}

void BevelPanel::setBackground(const QColor& colour)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colour);
    setPalette(colours);
}

void BevelPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect outer = rect();
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(outer.topLeft(), outer.topRight());
    painter.drawLine(outer.topLeft(), outer.bottomLeft());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(outer.bottomLeft(), outer.bottomRight());
    painter.drawLine(outer.topRight(), outer.bottomRight());
}
