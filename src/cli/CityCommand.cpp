#include "cli/CityCommand.h"

#include "cli/CliOutput.h"

#include <QCommandLineParser>

int CityCommand::run(const QStringList &arguments, CliOutput &out, CliOutput &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(summary());
    if (const auto status = parse(parser, arguments, out, err))
        return *status;
    return badArgument(err, QStringLiteral("ainda não implementado"));
}
