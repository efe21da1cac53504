#pragma once

#include "cli/CliCommand.h"

#include <QCommandLineOption>
#include <QList>

// quessar-cli cidade: the city report for a number of blocks, as the window's text, Markdown
// or JSON, to stdout or atomically to a file, in UTF-8 or in the window's Windows-1252.
class CityCommand final : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("cidade"); }
    QString summary() const override { return QStringLiteral("Gera o relatório de uma cidade."); }
    int run(const QStringList &arguments, CliOutput &out, CliOutput &err) override;

    static QString defaultMask() { return QStringLiteral("$!^ $!!@^"); }

    // The arguments with every bare negative number ("-12") that is not the value of one of
    // `options` moved behind a "--", so that it reads as the block count and not as options.
    static QStringList negativeNumbersAsArguments(const QStringList &arguments,
                                                  const QList<QCommandLineOption> &options);
};
