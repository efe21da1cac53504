// Quessar's own start-up, with a reporter of the splash's first paint.
#include "FirstPaintReporter.h"
#include "common/ApplicationSetup.h"
#include "shell/frmSplash.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FirstPaintReporter reporter;
    SetUpApplication();
    auto *splash = new frmSplash;
    splash->show();
    return QApplication::exec();
}
