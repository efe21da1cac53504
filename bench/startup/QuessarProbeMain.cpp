// Quessar's own start-up, with a reporter of the splash's first paint. With --handover it
// reports instead how long after the splash reached the screen the main window did (the
// splash's 2.5 s), then ends.
#include "FirstPaintReporter.h"
#include "common/ApplicationSetup.h"
#include "shell/frmPrincipal.h"
#include "shell/frmSplash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWindow>

#include <cstdio>

namespace {

// Notes when the splash's window and then the main window's are first exposed on screen.
class HandoverReporter : public QObject
{
public:
    explicit HandoverReporter(QObject *parent) : QObject(parent) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWindow *>(watched);
        if (event->type() != QEvent::Expose || !window || !window->isExposed())
            return false;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() != window)
                continue;
            if (qobject_cast<frmSplash *>(widget) && !m_splash.isValid()) {
                m_splash.start();
            } else if (qobject_cast<frmPrincipal *>(widget) && m_splash.isValid() && !m_done) {
                m_done = true;
                std::printf("handover_ms %.1f\n", double(m_splash.nsecsElapsed()) / 1e6);
                std::fflush(stdout);
                QApplication::exit(0);
            }
        }
        return false;
    }

private:
    QElapsedTimer m_splash;
    bool m_done = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (QCoreApplication::arguments().contains(QStringLiteral("--handover")))
        new HandoverReporter(&app);
    else
        new FirstPaintReporter(&app);
    SetUpApplication();
    auto *splash = new frmSplash;
    splash->show();
    return QApplication::exec();
}
