#include "cli/CliCommand.h"

#include "cli/CliArguments.h"
#include "cli/CliOutput.h"
#include "common/ParserMessages.h"

#include <QCommandLineParser>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// QCommandLineParser writes its headings and messages in English; these are the Portuguese
// forms of the few it produces.
QString portugueseHelp(QString help, const QString &program)
{
    // Without a QCoreApplication the parser does not know the program's name.
    help.replace(u"<executable_name>"_s, program);
    help.replace(u"Usage: "_s, u"Uso: "_s);
    help.replace(u"[options]"_s, u"[opções]"_s);
    help.replace(u"\nOptions:\n"_s, u"\nOpções:\n"_s);
    help.replace(u"\nArguments:\n"_s, u"\nArgumentos:\n"_s);
    return help;
}

QString dashed(const QString &option)
{
    return (option.size() == 1 ? QLatin1String("-") : QLatin1String("--")) + option;
}

// "-n/--quantidade": every name of the option, with its dashes.
QString optionNames(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names << dashed(name);
    return names.join(u'/');
}

QString portugueseError(const QCommandLineParser &parser, const QStringList &arguments,
                        const QString &command)
{
    if (parser.unknownOptionNames().isEmpty())
        return PortugueseOptionValueError(parser.errorText());
    const QString option = parser.unknownOptionNames().first();
    QString message = QStringLiteral("opção desconhecida: ") + dashed(option);
    // "-1d4+2" and "-d4" are read as the short options -1, -d and -4: when the argument looks
    // like the start of an expression, say how to give it.
    static const QRegularExpression expressionStart(QStringLiteral("^-(\\d|d[\\d%F(]|\\()"));
    for (const QString &argument : arguments.sliced(1)) {
        if (argument == u"--" || option.size() != 1)
            break;
        if (argument.startsWith(u'-') && !argument.startsWith(u"--")
            && argument.indexOf(option, 1) > 0) {
            if (expressionStart.match(argument).hasMatch())
                message += QStringLiteral(" (em \"") + argument
                           + QStringLiteral("\"); um argumento que começa com \"-\" vem depois "
                                            "de \"--\": quessar-cli ")
                           + command + QStringLiteral(" -- ") + argument;
            break;
        }
    }
    return message;
}

} // namespace

std::optional<int> CliCommand::parse(QCommandLineParser &parser, const QStringList &arguments,
                                     CliOutput &out, CliOutput &err) const
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Mostra esta ajuda e sai."));
    parser.addOption(help);

    if (!parser.parse(arguments))
        return badArgument(err, portugueseError(parser, arguments, name()));
    if (parser.isSet(help)) {
        out.write(portugueseHelp(parser.helpText(), arguments.value(0)));
        return ExitSuccess;
    }
    return std::nullopt;
}

int CliCommand::badArgument(CliOutput &err, const QString &message) const
{
    err.write(QStringLiteral("quessar-cli %1: %2\n").arg(name(), message));
    return ExitBadArguments;
}

QCommandLineOption CliCommand::seedOption(const QString &description)
{
    // Every seed is read the same way, so every command's help says how once, here.
    return QCommandLineOption({QStringLiteral("s"), QStringLiteral("semente")},
                              description
                                  + QStringLiteral(" De -9223372036854775808 a "
                                                   "18446744073709551615; um negativo vale o seu "
                                                   "complemento de dois."),
                              QStringLiteral("S"));
}

std::optional<qint64> CliCommand::readWholeNumber(const QCommandLineParser &parser,
                                                  const QCommandLineOption &option, qint64 fallback,
                                                  qint64 minimum, qint64 maximum,
                                                  CliOutput &err) const
{
    if (!parser.isSet(option))
        return fallback;
    const QString text = parser.value(option);
    if (const auto value = ParseWholeNumber(text, minimum, maximum))
        return value;
    // One multi-argument arg: the user's text is inserted once and never scanned again.
    badArgument(err, QStringLiteral("%1: \"%2\" não é um número inteiro de %3 a %4")
                         .arg(optionNames(option), text, QString::number(minimum),
                              QString::number(maximum)));
    return std::nullopt;
}

bool CliCommand::readSeed(const QCommandLineParser &parser, const QCommandLineOption &option,
                          std::optional<std::uint64_t> &seed, CliOutput &err) const
{
    if (!parser.isSet(option))
        return true;
    const QString text = parser.value(option);
    seed = ParseSeed(text);
    if (!seed)
        badArgument(err, QStringLiteral("%1: \"%2\" não é um número inteiro de 64 bits (de "
                                         "-9223372036854775808 a 18446744073709551615)")
                             .arg(optionNames(option), text));
    return seed.has_value();
}
