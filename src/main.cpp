#include "common/ApplicationSetup.h"
#include "common/ProgramCommandLine.h"
#include "shell/frmSplash.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // --help, --version and mistakes are answered before the application object exists: they
    // open no window and need no display.
    if (argc > 1) {
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        const ProgramCommandLine::Request request = ProgramCommandLine::read(arguments);
        if (request.action == ProgramCommandLine::Action::Error) {
            std::fputs(request.text.toLocal8Bit().constData(), stderr);
            return ProgramCommandLine::ExitBadArguments;
        }
        if (request.action != ProgramCommandLine::Action::Run) {
            std::fputs(request.text.toLocal8Bit().constData(), stdout);
            return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
        }
    }

    QApplication app(argc, argv);
    SetUpApplication();

    // The splash window runs the start-up and hands over to the main window.
    auto *splash = new frmSplash;
    splash->show();
    return QApplication::exec();
}
