#include "dice/ArrowButton.h"

#include <QPainter>
#include <QPolygon>

ArrowButton::ArrowButton(Direction direction, QWidget *parent)
    : QPushButton(parent), m_direction(direction)
{
}

void ArrowButton::paintEvent(QPaintEvent *event)
{
    // The frame and its pressed and focused looks come from the style.
    QPushButton::paintEvent(event);

    // A triangle 7 px wide and 4 px tall, centred; pressed, it moves one pixel down and
    // right like the button's face.
    constexpr int HalfWidth = 3;
    constexpr int Height = 4;
    const int shift = isDown() ? 1 : 0;
    const int cx = width() / 2 + shift;
    const int top = (height() - Height) / 2 + shift;
    QPolygon triangle;
    if (m_direction == Direction::Up)
        triangle << QPoint(cx, top) << QPoint(cx - HalfWidth, top + Height - 1)
                 << QPoint(cx + HalfWidth, top + Height - 1);
    else
        triangle << QPoint(cx - HalfWidth, top) << QPoint(cx + HalfWidth, top)
                 << QPoint(cx, top + Height - 1);

    QPainter painter(this);
    const QColor colour =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    // Crisp pixels at this size: no antialiasing, outline and fill in the same colour.
    painter.setPen(colour);
    painter.setBrush(colour);
    painter.drawPolygon(triangle);
}
