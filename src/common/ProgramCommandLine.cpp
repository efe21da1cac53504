#include "common/ProgramCommandLine.h"

#include "common/ParserMessages.h"

#include "QuessarVersion.h"

#include <QCommandLineParser>

namespace {

// The options QGuiApplication and QApplication take out of the command line themselves:
// those followed by a value, then those that stand alone.
constexpr const char *QtOptionsWithValue[] = {
    "platform",
    "platformpluginpath",
    "platformtheme",
    "plugin",
    "qwindowgeometry",
    "geometry",
    "qwindowtitle",
    "title",
    "qwindowicon",
    "icon",
    "display",
    "name",
    "session",
    "style",
    "stylesheet",
    "qmljsdebugger",
    "visual",
    "ncols",
    "cmap",
};
constexpr const char *QtFlags[] = {
    "reverse", "widgetcount", "nograb", "dograb", "sync", "testability",
};

QString helpText()
{
    return QStringLiteral(
        "Uso: quessar [opções]\n"
        "\n"
        "Caixa de ferramentas para mestres de RPG de mesa: gera nomes e cidades e rola "
        "dados.\n"
        "Sem opções, abre a janela do programa.\n"
        "\n"
        "Opções:\n"
        "  -h, --help     Mostra esta ajuda e sai.\n"
        "  -v, --version  Mostra a versão e sai.\n"
        "\n"
        "Também aceita as opções dos programas Qt com janelas, como -style e -platform.\n"
        "Os mesmos nomes, cidades e dados na linha de comando: quessar-cli --help\n");
}

ProgramCommandLine::Request error(const QString &what)
{
    return {ProgramCommandLine::Action::Error,
            QStringLiteral("quessar: %1\nVeja \"quessar --help\".\n").arg(what)};
}

} // namespace

ProgramCommandLine::Request ProgramCommandLine::read(const QStringList &arguments)
{
    if (arguments.size() <= 1)
        return {};

    QCommandLineParser parser;
    // "-style" is one option, as Qt reads it, not "-s -t -y -l -e".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    addQtOptions(parser);

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            // Named as it was typed: "-x", "--bogus", "-bogus=1".
            const QString &name = unknown.constFirst();
            QString typed = QStringLiteral("--") + name;
            for (const QString &argument : arguments.sliced(1)) {
                const QString bare = argument.sliced(argument.startsWith(u"--") ? 2 : 1);
                if (argument.startsWith(u'-') && bare.section(u'=', 0, 0) == name) {
                    typed = argument;
                    break;
                }
            }
            return error(QStringLiteral("opção desconhecida: %1").arg(typed));
        }
        // An option that takes a value came last without one, or one that takes none got one.
        return error(PortugueseOptionValueError(parser.errorText()));
    }
    if (parser.isSet(help))
        return {Action::Help, helpText()};
    if (parser.isSet(version))
        return {Action::Version,
                QStringLiteral("quessar %1\n").arg(QLatin1StringView(QuessarVersionString))};
    if (!parser.positionalArguments().isEmpty())
        return error(QStringLiteral("argumento inesperado: %1")
                         .arg(parser.positionalArguments().constFirst()));
    return {};
}

bool ProgramCommandLine::hasDisplay(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"-platform" || argument == u"--platform"
            || argument.startsWith(u"-platform=") || argument.startsWith(u"--platform="))
            return true;
    }
    for (const char *variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    }
    return false;
}

QString ProgramCommandLine::noDisplayText(const QString &program)
{
    return program
           + QStringLiteral(": nenhuma tela gráfica encontrada (DISPLAY e WAYLAND_DISPLAY "
                            "vazias).\nSem tela, rode-o numa tela virtual: xvfb-run -a ")
           + program + u'\n';
}

void ProgramCommandLine::addQtOptions(QCommandLineParser &parser)
{
    for (const char *name : QtOptionsWithValue)
        parser.addOption(
            QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("valor")));
    for (const char *name : QtFlags)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));
}
