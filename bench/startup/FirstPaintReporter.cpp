#include "FirstPaintReporter.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

} // namespace

FirstPaintReporter::FirstPaintReporter(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool FirstPaintReporter::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_reported && event->type() == QEvent::Paint) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->isWindow()) {
            m_reported = true;
            const char *start = std::getenv("STARTUP_PROBE_T0");
            const long long t0 = start ? std::atoll(start) : 0;
            // The processor time this process has used so far: unlike the wall-clock time, it
            // hardly moves when other programs compete for the processors.
            timespec cpu{};
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
            std::printf("first_paint_us %lld cpu_us %lld\n", (monotonicNanoseconds() - t0) / 1000,
                        (cpu.tv_sec * 1'000'000'000LL + cpu.tv_nsec) / 1000);
            std::fflush(stdout);
            // Let the program settle (the paint itself, the event queue) before ending it.
            QTimer::singleShot(500, qApp, &QCoreApplication::quit);
        }
    }
    return QObject::eventFilter(watched, event);
}
