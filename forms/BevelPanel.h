#pragma once

#include <QWidget>

// A panel: a 1-px raised bevel with a border of the panel's colour inside it. Children are
// placed relative to the panel's outer corner; contentsRect() is what lies inside the border.
class BevelPanel final : public QWidget
{
    Q_OBJECT

public:
    explicit BevelPanel(QWidget* parent = nullptr);

    void setBorderWidth(int width);
    [[nodiscard]] int borderWidth() const { return m_borderWidth; }
    void setBackground(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_borderWidth = 0;
};
