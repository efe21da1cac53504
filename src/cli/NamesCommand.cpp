#include "cli/NamesCommand.h"

#include "cli/CliOutput.h"

#include <QCommandLineParser>

int NamesCommand::run(const QStringList &arguments, CliOutput &out, CliOutput &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(summary());
    if (const auto status = parse(parser, arguments, out, err))
        return *status;
    return badArgument(err, QStringLiteral("ainda não implementado"));
}
