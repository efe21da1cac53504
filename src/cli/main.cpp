// quessar-cli: Quessar's names, cities and dice from the command line.

#include "cli/AuditCommand.h"
#include "cli/ChancesCommand.h"
#include "cli/CityCommand.h"
#include "cli/CliArguments.h"
#include "cli/CliOutput.h"
#include "cli/DiceCommand.h"
#include "cli/NamesCommand.h"
#include "cli/SessionCommand.h"
#include "cli/VerifyCommand.h"

#include "QuessarVersion.h"

#include <QStringList>

#include <array>
#include <clocale>
#include <csignal>
#include <memory>

#include <langinfo.h>

namespace {

QString programHelp(const std::array<std::unique_ptr<CliCommand>, 7> &commands)
{
    QString help = QStringLiteral("Uso: quessar-cli SUBCOMANDO [opções] [argumentos]\n"
                                  "\n"
                                  "Nomes, cidades e dados do Quessar na linha de comando.\n"
                                  "\n"
                                  "Subcomandos:\n");
    for (const auto &command : commands)
        help += QStringLiteral("  %1  %2\n").arg(command->name(), -9).arg(command->summary());
    help += QStringLiteral(
        "\n"
        "Opções:\n"
        "  -h, --help     Mostra esta ajuda e sai.\n"
        "  -v, --version  Mostra a versão e sai.\n"
        "\n"
        "\"quessar-cli SUBCOMANDO --help\" mostra as opções de cada subcomando.\n"
        "Saída: 0 sucesso, 1 a saída não pôde ser escrita, 2 argumentos inválidos,\n"
        "3 o registro não confere (verificar).\n");
    return help;
}

// The arguments as text; nothing, after saying which one, when one is not valid UTF-8.
std::optional<QStringList> decodeArguments(int argc, char *argv[], CliOutput &err)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView bytes(argv[i]);
        const std::optional<QString> argument = DecodeArgument(bytes);
        if (!argument) {
            err.write(QStringLiteral("quessar-cli: o argumento %1 não é UTF-8: \"%2\"\n")
                          .arg(QString::number(i), ShowBytes(bytes)));
            return std::nullopt;
        }
        arguments << *argument;
    }
    return arguments;
}

// What is wrong with a first argument that names no subcommand.
QString unknownSubcommand(const QString &first,
                          const std::array<std::unique_ptr<CliCommand>, 7> &commands)
{
    if (first.startsWith(u'-'))
        return QStringLiteral("opção desconhecida: ") + first;
    QStringList names;
    for (const auto &command : commands)
        names << command->name();
    const QString nearest = NearestWord(first, names);
    return QStringLiteral("subcomando desconhecido: ") + first
           + (nearest.isEmpty() ? QString() : QStringLiteral(" (seria \"%1\"?)").arg(nearest));
}

} // namespace

// No QCoreApplication: no command needs an event loop, and start-up stays at its floor.
int main(int argc, char *argv[])
{
    // Past the file-size limit (ulimit -f) a write then fails with "File too large" and ends
    // in exit status 1 with that reason, instead of the kernel's signal killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // The system's reasons ("Não há mais espaço no dispositivo") in the user's language and in
    // UTF-8, as everything written: only the two categories that need (loading every category
    // of the locale would cost the start-up a few dozen file look-ups). Numbers are read and
    // written by the program itself, the same in every locale.
    std::setlocale(LC_CTYPE, "");
    if (QByteArrayView(nl_langinfo(CODESET)) != "UTF-8")
        std::setlocale(LC_CTYPE, "C.UTF-8");
    std::setlocale(LC_MESSAGES, "");

    const std::array<std::unique_ptr<CliCommand>, 7> commands{std::make_unique<NamesCommand>(),
                                                              std::make_unique<CityCommand>(),
                                                              std::make_unique<DiceCommand>(),
                                                              std::make_unique<ChancesCommand>(),
                                                              std::make_unique<SessionCommand>(),
                                                              std::make_unique<VerifyCommand>(),
                                                              std::make_unique<AuditCommand>()};

    CliOutput out(stdout);
    CliOutput err(stderr);

    const std::optional<QStringList> decoded = decodeArguments(argc, argv, err);
    QStringList arguments = decoded.value_or(QStringList());

    int status = ExitSuccess;
    const QString first = arguments.value(0);
    if (!decoded) {
        status = ExitBadArguments;
    } else if (first.isEmpty()) {
        err.write(QStringLiteral("quessar-cli: falta o subcomando (nomes, cidade, dados, "
                                 "chances, sessao, verificar ou auditar); veja "
                                 "\"quessar-cli --help\"\n"));
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
            err.write(QStringLiteral("quessar-cli: ") + unknownSubcommand(first, commands)
                      + QStringLiteral("; veja \"quessar-cli --help\"\n"));
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
