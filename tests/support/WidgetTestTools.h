#pragma once

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

// Delivers a plain mouse move (no button held) to `widget` at `at`, in its own coordinates.
// The offscreen platform tracks no real pointer, so hover has to be sent this way.
inline void SendMouseMove(QWidget *widget, QPoint at = QPoint(5, 5))
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Entry `index` of a window's menu panel.
inline QLabel *MenuEntry(const QWidget &window, int index)
{
    return window.findChild<QLabel *>(QStringLiteral("lblMenu_%1").arg(index));
}
