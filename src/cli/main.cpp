// quessar-cli: Quessar's names, cities and dice from the command line.

#include "cli/CityCommand.h"
#include "cli/CliOutput.h"
#include "cli/DiceCommand.h"
#include "cli/NamesCommand.h"

#include "QuessarVersion.h"

#include <QStringList>

#include <array>
#include <memory>

namespace {

QString programHelp(const std::array<std::unique_ptr<CliCommand>, 3> &commands)
{
    QString help = QStringLiteral("Uso: quessar-cli SUBCOMANDO [opções] [argumentos]\n"
                                  "\n"
                                  "Nomes, cidades e dados do Quessar na linha de comando.\n"
                                  "\n"
                                  "Subcomandos:\n");
    for (const auto &command : commands)
        help += QStringLiteral("  %1  %2\n").arg(command->name(), -8).arg(command->summary());
    help += QStringLiteral(
        "\n"
        "Opções:\n"
        "  -h, --help     Mostra esta ajuda e sai.\n"
        "  -v, --version  Mostra a versão e sai.\n"
        "\n"
        "\"quessar-cli SUBCOMANDO --help\" mostra as opções de cada subcomando.\n"
        "Saída: 0 sucesso, 1 a saída não pôde ser escrita, 2 argumentos inválidos.\n");
    return help;
}

} // namespace

// No QCoreApplication: no command needs an event loop, and start-up stays at its floor.
int main(int argc, char *argv[])
{
    const std::array<std::unique_ptr<CliCommand>, 3> commands{std::make_unique<NamesCommand>(),
                                                              std::make_unique<CityCommand>(),
                                                              std::make_unique<DiceCommand>()};

    CliOutput out(stdout);
    CliOutput err(stderr);

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    int status = ExitSuccess;
    const QString first = arguments.value(0);
    if (first.isEmpty()) {
        err.write(QStringLiteral("quessar-cli: falta o subcomando (nomes, cidade ou dados); "
                                 "veja \"quessar-cli --help\"\n"));
        status = ExitBadArguments;
    } else if (first == u"-h" || first == u"--help") {
        out.write(programHelp(commands));
    } else if (first == u"-v" || first == u"--version") {
        out.write(QStringLiteral("quessar-cli %1\n").arg(QLatin1String(QuessarVersionString)));
    } else {
        status = -1;
        for (const auto &command : commands) {
            if (command->name() == first) {
                arguments[0] = QStringLiteral("quessar-cli ") + first;
                status = command->run(arguments, out, err);
                break;
            }
        }
        if (status == -1) {
            err.write(QStringLiteral("quessar-cli: subcomando desconhecido: %1; "
                                     "veja \"quessar-cli --help\"\n")
                          .arg(first));
            status = ExitBadArguments;
        }
    }

    if (!out.finish()) {
        err.write(QStringLiteral("quessar-cli: não foi possível escrever a saída: %1\n")
                      .arg(out.errorString()));
        status = ExitOutputFailed;
    }
    err.finish();
    return status;
}
