#include "common/ApplicationSetup.h"
#include "common/ProgramCommandLine.h"
#include "shell/frmSplash.h"

#include <QApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Past the file-size limit (ulimit -f) a write then fails with "File too large", which the
    // save reports with the old file intact, instead of the kernel's signal ending the program
    // and losing the city.
    std::signal(SIGXFSZ, SIG_IGN);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    // --help, --version and mistakes are answered before the application object exists: they
    // open no window and need no display.
    const ProgramCommandLine::Request request = ProgramCommandLine::read(arguments);
    if (request.action == ProgramCommandLine::Action::Error) {
        std::fputs(request.text.toLocal8Bit().constData(), stderr);
        return ProgramCommandLine::ExitBadArguments;
    }
    if (request.action != ProgramCommandLine::Action::Run) {
        std::fputs(request.text.toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (!ProgramCommandLine::hasDisplay(arguments)) {
        std::fputs(ProgramCommandLine::noDisplayText().toLocal8Bit().constData(), stderr);
        return ProgramCommandLine::ExitNoDisplay;
    }

    QApplication app(argc, argv);
    SetUpApplication();

    // The splash window runs the start-up and hands over to the main window.
    auto *splash = new frmSplash;
    splash->show();
    return QApplication::exec();
}
