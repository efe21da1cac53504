#include "common/CenterForm.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

// The frame of the last window that was framed and shown.
QMargins &lastFrame()
{
    static QMargins frame;
    return frame;
}

QMargins frameOf(const QWidget *window)
{
    const QRect outer = window->frameGeometry();
    const QRect inside = window->geometry();
    return {inside.left() - outer.left(), inside.top() - outer.top(),
            outer.right() - inside.right(), outer.bottom() - inside.bottom()};
}

bool isFrameless(const QWidget *window)
{
    return window->windowFlags().testFlag(Qt::FramelessWindowHint);
}

void centre(QWidget *window, const QSize &outer)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen)
        window->move(CenteredPosition(screen->geometry(), outer).toPoint());
}

// Centres a window once more when the window manager has framed it, then goes away. It gives
// up a moment after the window first shows: a frame that appears later (or never, without a
// window manager) no longer moves a window the user may have placed.
class FrameWatcher : public QObject
{
public:
    static constexpr const char *Name = "CenterFormFrameWatcher";

    explicit FrameWatcher(QWidget *window) : QObject(window), m_window(window)
    {
        setObjectName(QLatin1StringView(Name));
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window) {
            switch (event->type()) {
            case QEvent::Show:
                if (!m_started) {
                    m_started = true;
                    QTimer::singleShot(GiveUpMilliseconds, this, &QObject::deleteLater);
                }
                check();
                break;
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::UpdateRequest:
                if (m_started)
                    check();
                break;
            default:
                break;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static constexpr int GiveUpMilliseconds = 2000;

    void check()
    {
        const QMargins frame = frameOf(m_window);
        if (frame.isNull())
            return; // not framed yet
        lastFrame() = frame;
        m_window->removeEventFilter(this);
        centre(m_window, m_window->frameGeometry().size()); // no move when the guess was right
        deleteLater();
    }

    QWidget *m_window;
    bool m_started = false;
};

} // namespace

QPointF CenteredPosition(const QRect &screen, const QSize &window)
{
    return {screen.x() + (screen.width() - window.width()) / 2.0,
            screen.y() + (screen.height() - window.height()) / 2.0};
}

QSize OuterSize(const QSize &inside, const QMargins &frame)
{
    return inside.grownBy(frame);
}

void CenterForm(QWidget *window)
{
    if (window->isVisible()) {
        centre(window, window->frameGeometry().size());
        return;
    }
    if (isFrameless(window)) {
        centre(window, window->size());
        return;
    }
    centre(window, OuterSize(window->size(), lastFrame()));
    // Only one watcher per window, however often it is centred before it shows.
    if (!window->findChild<QObject *>(QLatin1StringView(FrameWatcher::Name),
                                      Qt::FindDirectChildrenOnly))
        new FrameWatcher(window);
}
