#pragma once

#include <QMargins>
#include <QPointF>
#include <QRect>
#include <QSize>

class QWidget;

// Where a window of outer size `window` stands when centred on `screen`: half the difference
// of the sizes, a real division, so a window 200 px wider than the screen lands 100 px to the
// left of it. The toolkit rounds the result to whole pixels when it places the window.
QPointF CenteredPosition(const QRect &screen, const QSize &window);

// The outer size of a window whose inside is `inside` and whose frame (borders and title bar,
// drawn by the window manager) is `frame`.
QSize OuterSize(const QSize &inside, const QMargins &frame);

// Moves the window, frame included, to the middle of the screen it is on: the frame's outer
// size is centred, not just the inside.
//
// Before a window is first shown the window manager has not framed it yet, so its frame is
// not known. The frame of the last window that was framed stands in for it (the program's
// windows share one kind of frame), and the window is centred once more as soon as its own
// frame is known, which moves it only when that guess was wrong (for the first framed window
// of a run). A frameless window is centred on its size alone.
void CenterForm(QWidget *window);
