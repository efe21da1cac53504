#include "cli/DiceCommand.h"

#include "cli/CliOutput.h"

#include <QCommandLineParser>

int DiceCommand::run(const QStringList &arguments, CliOutput &out, CliOutput &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(summary());
    if (const auto status = parse(parser, arguments, out, err))
        return *status;
    return badArgument(err, QStringLiteral("ainda não implementado"));
}
