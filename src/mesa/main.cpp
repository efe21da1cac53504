#include "common/ApplicationSetup.h"
#include "common/ProgramCommandLine.h"
#include "mesa/MesaCommandLine.h"
#include "mesa/frmMesaDados.h"

#include "QuessarVersion.h"

#include <QApplication>
#include <QFileInfo>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Past the file-size limit a record's write fails with "File too large", which refuses the
    // roll with the bar, instead of the kernel's signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const MesaCommandLine::Request request = MesaCommandLine::read(arguments);
    if (request.action == MesaCommandLine::Action::Error) {
        std::fputs(request.text.toLocal8Bit().constData(), stderr);
        return ProgramCommandLine::ExitBadArguments;
    }
    if (request.action != MesaCommandLine::Action::Run) {
        std::fputs(request.text.toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (!ProgramCommandLine::hasDisplay(arguments)) {
        std::fputs(ProgramCommandLine::noDisplayText(QStringLiteral("quessar-mesa"))
                       .toLocal8Bit()
                       .constData(),
                   stderr);
        return ProgramCommandLine::ExitNoDisplay;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quessar-mesa"));
    QApplication::setApplicationDisplayName(QStringLiteral("Morvane's Quessar: Mesa de Dados"));
    QApplication::setApplicationVersion(QString::fromLatin1(QuessarVersionString));
    QApplication::setDesktopFileName(QStringLiteral("org.example.QuessarMesa"));
    // Unlike Quessar's windows, the dice table follows the desktop's palette, light or dark.
    InstallQtTranslation();
    SetApplicationIcon();

    MesaOptions options;
    if (!request.recordPath.isEmpty())
        options.recordPath = QFileInfo(request.recordPath).absoluteFilePath();
    frmMesaDados window(options);
    window.show();
    return QApplication::exec();
}
