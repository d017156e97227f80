#include "TransparentLabel.h"

#include <QColor>
#include <QFont>

TransparentLabel::TransparentLabel(const QString& text, const QFont& font, const QColor& colour,
                                   QWidget* parent)
    : QLabel(text, parent)
{
    setAutoFillBackground(false);
    setFont(font);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colour);
    setPalette(colours);
    adjustSize();
}
