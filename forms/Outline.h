#pragma once

#include <QColor>
#include <QWidget>

// A rectangle outline drawn around a menu tile: a 4-px pen inside the control's bounds and no
// fill. Its pen colour is also the tile's selection state, so it can be read back.
class Outline final : public QWidget
{
    Q_OBJECT

public:
    explicit Outline(QWidget* parent = nullptr);

    [[nodiscard]] QColor penColor() const { return m_penColor; }
    void setPenColor(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_penColor = Qt::black;
};
