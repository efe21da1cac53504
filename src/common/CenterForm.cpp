#include "common/CenterForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QPointF CenteredPosition(const QRect &screen, const QSize &window)
{
    return {screen.x() + (screen.width() - window.width()) / 2.0,
            screen.y() + (screen.height() - window.height()) / 2.0};
}

void CenterForm(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Before the window is first shown its frame is not known yet; its size is then the best
    // measure there is.
    const QSize outer = window->isVisible() ? window->frameGeometry().size() : window->size();
    window->move(CenteredPosition(screen->geometry(), outer).toPoint());
}
