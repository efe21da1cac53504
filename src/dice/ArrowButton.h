#pragma once

#include <QPushButton>

// A small push button that shows a solid triangle pointing up or down instead of a text,
// for the steppers beside the dice roller's read-only boxes. The triangle keeps its size
// whatever the font and follows the button's text colour (greyed when disabled).
class ArrowButton : public QPushButton
{
    Q_OBJECT

public:
    enum class Direction { Up, Down };

    explicit ArrowButton(Direction direction, QWidget *parent = nullptr);

    Direction direction() const { return m_direction; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Direction m_direction;
};
