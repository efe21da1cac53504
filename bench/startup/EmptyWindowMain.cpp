// The yardstick: an empty Qt Widgets window of the splash's size. With --stay it keeps
// running (for the idle measurement) instead of ending after its first paint.
#include "FirstPaintReporter.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool stay = argc > 1 && qstrcmp(argv[1], "--stay") == 0;
    FirstPaintReporter *reporter = stay ? nullptr : new FirstPaintReporter(&app);
    Q_UNUSED(reporter);
    QWidget window(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    window.setFixedSize(250, 299);
    window.show();
    return QApplication::exec();
}
