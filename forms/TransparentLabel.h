#pragma once

#include <QLabel>

class QColor;
class QFont;

// A caption drawn straight over its parent (no background of its own), in the given font and
// colour, sized to its text.
class TransparentLabel final : public QLabel
{
    Q_OBJECT

public:
    TransparentLabel(const QString& text, const QFont& font, const QColor& colour, QWidget* parent);
};
