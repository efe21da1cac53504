#pragma once

#include <QPointF>
#include <QRect>
#include <QSize>

class QWidget;

// Where a window of outer size `window` stands when centred on `screen`: half the difference
// of the sizes, a real division, so a window 200 px wider than the screen lands 100 px to the
// left of it. The toolkit rounds the result to whole pixels when it places the window.
QPointF CenteredPosition(const QRect &screen, const QSize &window);

// Moves the window (frame included) to the middle of the screen it is on.
void CenterForm(QWidget *window);
