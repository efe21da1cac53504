#include "mesa/MesaCommandLine.h"

#include "common/ParserMessages.h"
#include "common/ProgramCommandLine.h"

#include "QuessarVersion.h"

#include <QCommandLineParser>

namespace {

QString helpText()
{
    return QStringLiteral(
        "Uso: quessar-mesa [opções]\n"
        "\n"
        "Mesa de dados: rola qualquer expressão da notação de \"quessar-cli dados\",\n"
        "mostra as chances exatas enquanto se digita e guarda cada rolagem num\n"
        "registro de sessão antes de mostrá-la.\n"
        "\n"
        "Opções:\n"
        "  --registro ARQUIVO  Continua o registro de sessão ARQUIVO (criado se faltar);\n"
        "                      sem ela, cada sessão abre um registro novo na pasta de\n"
        "                      dados do usuário.\n"
        "  -h, --help          Mostra esta ajuda e sai.\n"
        "  -v, --version       Mostra a versão e sai.\n"
        "\n"
        "Também aceita as opções dos programas Qt com janelas, como -style e -platform.\n");
}

MesaCommandLine::Request error(const QString &what)
{
    return {MesaCommandLine::Action::Error,
            QStringLiteral("quessar-mesa: ") + what
                + QStringLiteral("\nVeja \"quessar-mesa --help\".\n"),
            {}};
}

} // namespace

MesaCommandLine::Request MesaCommandLine::read(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption record(QStringLiteral("registro"), QString(),
                                    QStringLiteral("ARQUIVO"));
    parser.addOptions({help, version, record});
    ProgramCommandLine::addQtOptions(parser);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return error(QStringLiteral("opção desconhecida: ")
                         + (unknown.constFirst().size() == 1 ? QStringLiteral("-")
                                                             : QStringLiteral("--"))
                         + unknown.constFirst());
        return error(PortugueseOptionValueError(parser.errorText()));
    }
    if (parser.isSet(help))
        return {Action::Help, helpText(), {}};
    if (parser.isSet(version))
        return {Action::Version,
                QStringLiteral("quessar-mesa %1\n").arg(QLatin1StringView(QuessarVersionString)),
                {}};
    if (!parser.positionalArguments().isEmpty())
        return error(QStringLiteral("argumento inesperado: ")
                     + parser.positionalArguments().constFirst());
    Request request;
    if (parser.isSet(record)) {
        request.recordPath = parser.value(record);
        if (request.recordPath.isEmpty())
            return error(QStringLiteral("--registro: falta o nome do ARQUIVO"));
    }
    return request;
}
