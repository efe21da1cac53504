#include "common/ApplicationSetup.h"
#include "shell/frmSplash.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SetUpApplication();

    // The splash window runs the start-up and hands over to the main window.
    auto *splash = new frmSplash;
    splash->show();
    return QApplication::exec();
}
