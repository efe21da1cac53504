// The yardstick: an empty Qt Widgets window of the splash's size. With --label it shows one
// line of text, as the splash does, so the cost of loading fonts shows apart; with --stay it
// keeps running (for the idle measurement) instead of ending after its first paint.
#include "FirstPaintReporter.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const bool stay = arguments.contains(QStringLiteral("--stay"));
    FirstPaintReporter *reporter = stay ? nullptr : new FirstPaintReporter(&app);
    Q_UNUSED(reporter);
    QWidget window(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    window.setFixedSize(250, 299);
    if (arguments.contains(QStringLiteral("--label"))) {
        auto *label = new QLabel(QStringLiteral("Versão 1.00"), &window);
        label->setGeometry(0, 248, 251, 29);
    }
    window.show();
    return QApplication::exec();
}
